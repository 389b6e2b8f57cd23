#include "classlib/CException.h"

#include <new>

// operator new runs before the constructor: it records the block it returns, and the
// constructor compares its own address against it to learn whether it lives on the heap.
// Thread-local, because other threads create exceptions at the same time.
static thread_local void* t_pHeapBlock = nullptr;

void* CException::operator new(std::size_t size)
{
    void* p = ::operator new(size);
    t_pHeapBlock = p;
    return p;
}

// Also reached when a constructor throws: the record of the block must not outlive it.
void CException::operator delete(void* p)
{
    if (t_pHeapBlock == p)
        t_pHeapBlock = nullptr;
    ::operator delete(p);
}

CException::CException()
    : m_bOnHeap(t_pHeapBlock == static_cast<void*>(this))
{
    t_pHeapBlock = nullptr;
}

CException::~CException() = default;

BOOL CException::GetErrorMessage(LPWSTR buf, UINT max, PUINT helpContext) const
{
    if (helpContext)
        *helpContext = 0;
    CopyMessage(L"", buf, max);
    return FALSE;
}

void CException::Delete()
{
    if (m_bOnHeap)
        delete this;
}

BOOL CException::CopyMessage(LPCWSTR text, LPWSTR buf, UINT max)
{
    if (!buf || max == 0)
        return FALSE;
    UINT n = 0;
    for (; text && text[n] && n + 1 < max; ++n)
        buf[n] = text[n];
    buf[n] = 0;
    return TRUE;
}
