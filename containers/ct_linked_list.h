// A singly linked list of element pointers with one built-in cursor, the kernel's container for
// text boxes, strings and documents. The list owns its nodes, never its elements, except in the
// operations named below.
//
// Ownership: the destructor, v_Destroy and v_RemoveCurrent free nodes only; the elements live
// on. v_DestroyAll and v_DeleteElement also `delete` the elements. Whoever fills a list states
// which of the two it ends with.
//
// The cursor is shared by every operation: searches and walks move it and nothing restores it,
// so a caller takes its position again after any other call on the same list. Walks read:
//     if (!list.b_IsEmpty()) { list.v_GotoFirst(); do { use(list.pco_GetCurrent()); }
//                              while (list.b_Next()); }
#pragma once

#include <memory>

#include "containers/ct_list_node.h"

template <class T>
class CT_LinkedList {
  public:
    CT_LinkedList() = default;
    // Copies would share one chain of nodes and free it twice, so a list is never copied; a
    // duplicate holding the same elements comes from pco_Duplicate or v_Duplicate.
    CT_LinkedList(const CT_LinkedList&) = delete;
    CT_LinkedList& operator=(const CT_LinkedList&) = delete;

    // Puts the cursor on the first node; null for an empty list.
    void v_GotoFirst() { pco_Current = pco_First; }
    // Moves to the successor and returns 1; returns 0 and stays put on the last node or with no
    // cursor.
    int b_Next();
    // The element under the cursor; null when the cursor is null.
    T* pco_GetCurrent() const {
        return pco_Current == nullptr ? nullptr : pco_Current->pco_Element;
    }
    int b_IsEmpty() const { return pco_First == nullptr; }
    // Leaves the cursor on the last node (untouched for an empty list).
    unsigned n_Count();

    // The element becomes the first; the cursor goes to it.
    virtual void v_Add(T* pco_Element);
    // The element becomes the last. The walk to the end starts at the cursor (at the first node
    // when there is none) and the cursor stays on the node that was last, so a run of appends
    // costs one step each. Always returns 1.
    virtual int b_AddLast(T* pco_Element);
    // The element goes before the current one and the cursor then designates the new element;
    // with no cursor the element becomes the first.
    virtual void v_Insert(T* pco_Element);
    // A new plain list (whatever this list's class) holding the same element pointers in the
    // same order, filled with its own b_AddLast; the caller owns it. This cursor ends on the
    // last node.
    virtual CT_LinkedList* pco_Duplicate();

    // Declared after the four operations above so that they keep the first four slots of the
    // virtual table. Virtual, so that a derived list deleted through this class (as a duplicate
    // handed out by pco_Duplicate is) still frees what it owns.
    virtual ~CT_LinkedList() { v_Destroy(); }

    // Unlinks and frees the current node; the cursor goes to its successor (null after the
    // last). The element is not deleted. Nothing happens with no cursor.
    void v_RemoveCurrent();
    // Frees every node, never an element. The list ends empty with no cursor.
    void v_Destroy();
    // Frees every node and deletes every non-null element.
    void v_DestroyAll();

    // Calls the member function on the elements in order until one returns 0. The result is
    // that of the last call: non-zero exactly when every element was visited and every call
    // returned non-zero; 0 for an empty list. The cursor ends after the failing element.
    int b_Map(int (T::*pf_Call)());

    // Replaces this list's nodes (elements untouched) with the source's element pointers in
    // order, placed by this list's own b_AddLast. The source's cursor ends on its last node.
    void v_Duplicate(CT_LinkedList* pco_Source);

    // Grows with every change of the chain or of an element it holds, so that a derived list can
    // tell whether an index it keeps beside the chain is still true.
    unsigned n_GetChanges() const { return n_Changes; }

  protected:
    // Deletes the current element and leaves its node holding null. b_Map and the ordered
    // list's searches pass over such a node; b_MapList hands its null on.
    void v_DeleteElement();

    CT_ListNode<T>* pco_First = nullptr;
    CT_ListNode<T>* pco_Current = nullptr;  // null or a node of the chain from pco_First
    unsigned n_Changes = 0;
};

// Keeps the object's class out of template argument deduction: it comes from the member
// function alone, and the object pointer converts to it.
template <class C>
struct CT_NonDeduced {
    using Type = C;
};

// Hands every element of the list to a member function of another object, in order, while the
// calls return non-zero; returns the last call's result. Returns 0 for a null list, a null
// object or an empty list. Unlike b_Map the result is tested before the cursor moves.
template <class T, class C>
int b_MapList(CT_LinkedList<T>* pco_List, int (C::*pf_Call)(T*),
              typename CT_NonDeduced<C>::Type* pco_Object) {
    if (pco_List == nullptr || pco_Object == nullptr || pco_List->b_IsEmpty()) {
        return 0;
    }
    pco_List->v_GotoFirst();
    for (;;) {
        int b_result = (pco_Object->*pf_Call)(pco_List->pco_GetCurrent());
        if (!b_result || !pco_List->b_Next()) {
            return b_result;
        }
    }
}

template <class T>
int CT_LinkedList<T>::b_Next() {
    if (pco_Current == nullptr || pco_Current->pco_Next == nullptr) {
        return 0;
    }
    pco_Current = pco_Current->pco_Next;
    return 1;
}

template <class T>
unsigned CT_LinkedList<T>::n_Count() {
    if (b_IsEmpty()) {
        return 0;
    }
    unsigned n_count = 1;
    v_GotoFirst();
    while (b_Next()) {
        ++n_count;
    }
    return n_count;
}

template <class T>
void CT_LinkedList<T>::v_Add(T* pco_Element) {
    ++n_Changes;
    pco_First = new CT_ListNode<T>{pco_Element, pco_First};
    pco_Current = pco_First;
}

template <class T>
int CT_LinkedList<T>::b_AddLast(T* pco_Element) {
    if (b_IsEmpty()) {
        CT_LinkedList::v_Add(pco_Element);
        return 1;
    }
    if (pco_Current == nullptr) {
        v_GotoFirst();
    }
    while (b_Next()) {
    }
    ++n_Changes;
    pco_Current->pco_Next = new CT_ListNode<T>{pco_Element, nullptr};
    return 1;
}

template <class T>
void CT_LinkedList<T>::v_Insert(T* pco_Element) {
    if (pco_Current == nullptr) {
        CT_LinkedList::v_Add(pco_Element);
        return;
    }
    ++n_Changes;
    // The current node keeps its place and takes the new element; its old element moves into a
    // new node right after it.
    pco_Current->pco_Next = new CT_ListNode<T>{pco_Current->pco_Element, pco_Current->pco_Next};
    pco_Current->pco_Element = pco_Element;
}

template <class T>
void CT_LinkedList<T>::v_RemoveCurrent() {
    CT_ListNode<T>* pco_node = pco_Current;
    if (pco_node == nullptr) {
        return;
    }
    ++n_Changes;
    if (pco_node == pco_First) {
        pco_First = pco_node->pco_Next;
    } else {
        v_GotoFirst();
        while (pco_Current->pco_Next != pco_node) {
            pco_Current = pco_Current->pco_Next;
        }
        pco_Current->pco_Next = pco_node->pco_Next;
    }
    pco_Current = pco_node->pco_Next;
    delete pco_node;
}

template <class T>
void CT_LinkedList<T>::v_Destroy() {
    v_GotoFirst();
    while (!b_IsEmpty()) {
        v_RemoveCurrent();
    }
}

template <class T>
void CT_LinkedList<T>::v_DestroyAll() {
    ++n_Changes;
    while (pco_First != nullptr) {
        CT_ListNode<T>* pco_node = pco_First;
        pco_First = pco_node->pco_Next;
        delete pco_node->pco_Element;
        delete pco_node;
    }
    pco_Current = nullptr;
}

template <class T>
void CT_LinkedList<T>::v_DeleteElement() {
    if (pco_Current == nullptr || pco_Current->pco_Element == nullptr) {
        return;
    }
    ++n_Changes;
    delete pco_Current->pco_Element;
    pco_Current->pco_Element = nullptr;
}

template <class T>
int CT_LinkedList<T>::b_Map(int (T::*pf_Call)()) {
    v_GotoFirst();
    if (b_IsEmpty()) {
        return 0;
    }
    for (;;) {
        T* pco_element = pco_GetCurrent();
        int b_result = pco_element == nullptr ? 1 : (pco_element->*pf_Call)();
        // The cursor moves on before the result is looked at, also after the last call.
        int b_moved = b_Next();
        if (!b_result || !b_moved) {
            return b_result;
        }
    }
}

template <class T>
CT_LinkedList<T>* CT_LinkedList<T>::pco_Duplicate() {
    std::unique_ptr<CT_LinkedList<T>> pco_copy(new CT_LinkedList<T>);
    pco_copy->v_Duplicate(this);
    return pco_copy.release();
}

template <class T>
void CT_LinkedList<T>::v_Duplicate(CT_LinkedList* pco_Source) {
    // Filling a list from itself would read the chain it is emptying.
    if (pco_Source == this) {
        return;
    }
    v_Destroy();
    if (pco_Source == nullptr || pco_Source->b_IsEmpty()) {
        return;
    }
    pco_Source->v_GotoFirst();
    do {
        b_AddLast(pco_Source->pco_GetCurrent());
    } while (pco_Source->b_Next());
}
