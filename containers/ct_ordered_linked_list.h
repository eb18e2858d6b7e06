// A CT_LinkedList that can search by element identity or by a member-function predicate,
// remove a given element and insert in order. It adds no state and overrides nothing, so its
// searches work the same on a plain list's chain.
//
// T needs `int operator==(const T&) const`, non-zero for the same object. Ownership is the base
// list's: v_Remove frees a node only, v_RemoveAll also deletes the element it removes.
#pragma once

#include "containers/ct_linked_list.h"

template <class T>
class CT_OrderedLinkedList : public CT_LinkedList<T> {
  public:
    using CT_LinkedList<T>::v_Add;

    CT_OrderedLinkedList() = default;

    // Puts the cursor on the first element equal to *pco_Element and returns the non-zero
    // result of the comparison; returns 0 without a match (the cursor then stands on the last
    // node) and for an empty list.
    int b_Find(T* pco_Element);
    // The same, with the test `(list element)->*pf_Test(pco_Element)`.
    int b_Find(int (T::*pf_Test)(T*), T* pco_Element);

    // Unlinks the first element equal to *pco_Element; the element is not deleted.
    void v_Remove(T* pco_Element);
    // Deletes the first element equal to *pco_Element and unlinks it; later equal elements stay.
    void v_RemoveAll(T* pco_Element);

    // Inserts the element before the first list element for which pf_Test answers non-zero, or
    // appends it. With a strict "sorts after" test this keeps the list sorted, and an element
    // equal in key to others goes after them.
    void v_Add(int (T::*pf_Test)(T*), T* pco_Element);
};

template <class T>
int CT_OrderedLinkedList<T>::b_Find(T* pco_Element) {
    if (this->b_IsEmpty()) {
        return 0;
    }
    this->v_GotoFirst();
    do {
        T* pco_current = this->pco_GetCurrent();
        if (pco_current != nullptr) {
            int b_equal = (*pco_current == *pco_Element);
            if (b_equal) {
                return b_equal;
            }
        }
    } while (this->b_Next());
    return 0;
}

template <class T>
int CT_OrderedLinkedList<T>::b_Find(int (T::*pf_Test)(T*), T* pco_Element) {
    if (this->b_IsEmpty()) {
        return 0;
    }
    this->v_GotoFirst();
    do {
        T* pco_current = this->pco_GetCurrent();
        if (pco_current != nullptr) {
            int b_match = (pco_current->*pf_Test)(pco_Element);
            if (b_match) {
                return b_match;
            }
        }
    } while (this->b_Next());
    return 0;
}

template <class T>
void CT_OrderedLinkedList<T>::v_Remove(T* pco_Element) {
    if (b_Find(pco_Element)) {
        this->v_RemoveCurrent();
    }
}

template <class T>
void CT_OrderedLinkedList<T>::v_RemoveAll(T* pco_Element) {
    if (b_Find(pco_Element)) {
        delete this->pco_GetCurrent();
        this->v_RemoveCurrent();
    }
}

template <class T>
void CT_OrderedLinkedList<T>::v_Add(int (T::*pf_Test)(T*), T* pco_Element) {
    if (b_Find(pf_Test, pco_Element)) {
        this->v_Insert(pco_Element);
        return;
    }
    this->b_AddLast(pco_Element);
}
