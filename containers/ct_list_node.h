// One link of a CT_LinkedList: the element pointer and the next link. The node never owns its
// element; the list decides whether an element is deleted.
#pragma once

template <class T>
struct CT_ListNode {
    T* pco_Element;         // null after the list deleted the element in place
    CT_ListNode* pco_Next;  // null on the last node
};
