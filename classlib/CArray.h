// A growable array of TYPE; ARG_TYPE is how elements are passed in (TYPE or const TYPE&).
// operator[] throws CInvalidArgException* for an index outside 0 .. GetSize()-1, and RemoveAt
// for a range that does not lie inside it. Not copyable.
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
    void RemoveAll() { m_items.clear(); }

    const TYPE& operator[](INT_PTR index) const { return m_items[Checked(index)]; }
    TYPE& operator[](INT_PTR index) { return m_items[Checked(index)]; }

    // Returns the new element's index.
    INT_PTR Add(ARG_TYPE element)
    {
        m_items.push_back(element);
        return GetSize() - 1;
    }
    void RemoveAt(INT_PTR index, INT_PTR count = 1)
    {
        if (index < 0 || count < 0 || count > GetSize() - index)
            CInvalidArgException::Throw();
        m_items.erase(m_items.begin() + index, m_items.begin() + index + count);
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
