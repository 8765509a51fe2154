// The doubly linked list the engine's registries and the scene keep: entries
// in insertion order, each owning its item. Removing an entry deletes the item
// (through its own destructor) and the node, both tracked.
#ifndef QN_OWNED_LIST_H
#define QN_OWNED_LIST_H

#include <cstdint>

#include "QNMemory.h"

template <class T>
class CQNOwnedList {
public:
    struct Node {
        T* item;
        Node* prev;
        Node* next;
    };

    CQNOwnedList() : m_head(nullptr), m_tail(nullptr), m_count(0) {}
    ~CQNOwnedList() { clear(); }
    CQNOwnedList(const CQNOwnedList&) = delete;
    CQNOwnedList& operator=(const CQNOwnedList&) = delete;

    // Appends item (which must not be null); the list owns it from now on.
    void append(T* item) {
        setOwner(__FILE__, __LINE__, "??");
        Node* node = new Node{item, m_tail, nullptr};
        if (m_tail)
            m_tail->next = node;
        else
            m_head = node;
        m_tail = node;
        ++m_count;
    }

    // Deletes the node's item and the node; returns the node that followed.
    Node* remove(Node* node) {
        Node* next = node->next;
        if (node->prev)
            node->prev->next = next;
        else
            m_head = next;
        if (next)
            next->prev = node->prev;
        else
            m_tail = node->prev;
        setOwner(__FILE__, __LINE__, "??");
        delete node->item;
        setOwner(__FILE__, __LINE__, "??");
        delete node;
        --m_count;
        return next;
    }

    // Deletes every entry from the first.
    void clear() {
        for (Node* node = m_head; node;) node = remove(node);
    }

    Node* head() const { return m_head; }
    uint32_t count() const { return m_count; }

private:
    Node* m_head;
    Node* m_tail;
    uint32_t m_count;
};

#endif
