// A growable array of TYPE; ARG_TYPE is how elements are passed in (TYPE or const TYPE&).
// Indexes are int. GetAt, SetAt, ElementAt and operator[] throw CInvalidArgException* for an
// index outside 0 .. GetSize()-1; InsertAt accepts 0 .. GetSize() and beyond (the gap is filled
// with default elements). Not copyable: use Copy.
#pragma once

#include <vector>

#include "classlib/CInvalidArgException.h"
#include "classlib/WinTypes.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray {
public:
    CArray() = default;
    CArray(const CArray&) = delete;
    CArray& operator=(const CArray&) = delete;
    virtual ~CArray() = default;

    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_items.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }
    BOOL IsEmpty() const { return m_items.empty(); }

    // growBy is accepted for compatibility; growth is geometric in any case.
    void SetSize(INT_PTR newSize, INT_PTR growBy = -1)
    {
        if (newSize < 0)
            CInvalidArgException::Throw();
        m_items.resize(static_cast<size_t>(newSize));
    }
    void RemoveAll() { m_items.clear(); }
    void FreeExtra() { m_items.shrink_to_fit(); }

    const TYPE& GetAt(INT_PTR index) const { return m_items[Checked(index)]; }
    TYPE& GetAt(INT_PTR index) { return m_items[Checked(index)]; }
    void SetAt(INT_PTR index, ARG_TYPE element) { m_items[Checked(index)] = element; }
    TYPE& ElementAt(INT_PTR index) { return m_items[Checked(index)]; }
    const TYPE& ElementAt(INT_PTR index) const { return m_items[Checked(index)]; }
    const TYPE& operator[](INT_PTR index) const { return GetAt(index); }
    TYPE& operator[](INT_PTR index) { return ElementAt(index); }

    const TYPE* GetData() const { return m_items.empty() ? nullptr : m_items.data(); }
    TYPE* GetData() { return m_items.empty() ? nullptr : m_items.data(); }

    // Returns the new element's index.
    INT_PTR Add(ARG_TYPE element)
    {
        m_items.push_back(element);
        return GetUpperBound();
    }
    // Sets the element at index, growing the array first when index is beyond its end.
    void SetAtGrow(INT_PTR index, ARG_TYPE element)
    {
        if (index < 0)
            CInvalidArgException::Throw();
        if (index >= GetSize()) {
            TYPE copy(element);  // element may refer into the array that is about to grow
            m_items.resize(static_cast<size_t>(index) + 1);
            m_items[static_cast<size_t>(index)] = std::move(copy);
            return;
        }
        m_items[static_cast<size_t>(index)] = element;
    }
    void InsertAt(INT_PTR index, ARG_TYPE element, INT_PTR count = 1)
    {
        if (index < 0 || count < 0)
            CInvalidArgException::Throw();
        TYPE copy(element);  // element may refer into this array
        if (index > GetSize())
            m_items.resize(static_cast<size_t>(index));
        m_items.insert(m_items.begin() + index, static_cast<size_t>(count), copy);
    }
    void RemoveAt(INT_PTR index, INT_PTR count = 1)
    {
        if (index < 0 || count < 0 || count > GetSize() - index)
            CInvalidArgException::Throw();
        m_items.erase(m_items.begin() + index, m_items.begin() + index + count);
    }
    // Returns the index of the first appended element.
    INT_PTR Append(const CArray& src)
    {
        const INT_PTR first = GetSize();
        if (&src == this) {
            std::vector<TYPE> copy(m_items);
            m_items.insert(m_items.end(), copy.begin(), copy.end());
        } else {
            m_items.insert(m_items.end(), src.m_items.begin(), src.m_items.end());
        }
        return first;
    }
    void Copy(const CArray& src)
    {
        if (&src != this)
            m_items = src.m_items;
    }

private:
    size_t Checked(INT_PTR index) const
    {
        if (index < 0 || index >= GetSize())
            CInvalidArgException::Throw();
        return static_cast<size_t>(index);
    }

    std::vector<TYPE> m_items;
};

// An array of DWORD values.
class CDWordArray : public CArray<DWORD, DWORD> {
};
