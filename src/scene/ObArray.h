// An owning, ordered list of records: the program's figure list and text box
// list. Order is meaningful (for figures it is the stacking order).
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

template <class T>
class CObArray {
public:
    int GetSize() const { return static_cast<int>(m_items.size()); }
    bool IsValidIndex(int i) const { return i >= 0 && i < GetSize(); }
    T* GetAt(int i) const { return IsValidIndex(i) ? m_items[static_cast<std::size_t>(i)].get() : nullptr; }

    // Appends at the end; returns the new index.
    int Add(std::unique_ptr<T> item)
    {
        m_items.push_back(std::move(item));
        return GetSize() - 1;
    }
    // Replaces the entry at i (the old record is released); nothing when i is out of range.
    void SetAt(int i, std::unique_ptr<T> item)
    {
        if (IsValidIndex(i))
            m_items[static_cast<std::size_t>(i)] = std::move(item);
    }
    // Removes the entry at i, later entries moving down one; nothing when out of range.
    void RemoveAt(int i)
    {
        if (IsValidIndex(i)) {
            m_items.erase(m_items.begin() + i);
            m_items.shrink_to_fit();
        }
    }
    // Moves the entry at i to the end, the ones after it moving down one.
    void MoveToEnd(int i)
    {
        if (IsValidIndex(i))
            std::rotate(m_items.begin() + i, m_items.begin() + i + 1, m_items.end());
    }
    // Moves the entry at i to index 0, the ones before it moving up one.
    void MoveToFront(int i)
    {
        if (IsValidIndex(i))
            std::rotate(m_items.begin(), m_items.begin() + i, m_items.begin() + i + 1);
    }
    void RemoveAll() { m_items.clear(); }

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    std::vector<std::unique_ptr<T>> m_items;
};
