#include "classlib/CString.h"

#include <climits>
#include <cstring>
#include <new>
#include <utility>

#include "classlib/AppHandles.h"
#include "classlib/CInvalidArgException.h"

namespace {

// The text of every empty string that has no buffer of its own. Never written: any change first
// gives the string its own buffer.
WCHAR g_emptyText[1] = {0};

const int kMinCapacity = 15;

int TextLength(LPCWSTR psz)
{
    if (!psz)
        return 0;
    LPCWSTR p = psz;
    while (*p)
        ++p;
    return static_cast<int>(p - psz);
}

void CopyChars(LPWSTR dst, LPCWSTR src, int count)
{
    if (count > 0)
        std::memmove(dst, src, static_cast<size_t>(count) * sizeof(WCHAR));
}

WCHAR FoldLower(WCHAR ch)
{
    return (ch >= L'A' && ch <= L'Z') ? static_cast<WCHAR>(ch + (L'a' - L'A')) : ch;
}

bool InSet(WCHAR ch, LPCWSTR set)
{
    for (; set && *set; ++set) {
        if (*set == ch)
            return true;
    }
    return false;
}

const WCHAR kBlanks[] = L" \t\r\n\v\f";

int CompareUnits(LPCWSTR a, LPCWSTR b)
{
    if (!a)
        a = g_emptyText;
    if (!b)
        b = g_emptyText;
    for (;; ++a, ++b) {
        if (*a != *b)
            return *a < *b ? -1 : 1;
        if (*a == 0)
            return 0;
    }
}

}  // namespace

CString::CString() noexcept : m_pData(g_emptyText), m_nLength(0), m_nCapacity(0) {}

CString::CString(const CString& src) : CString()
{
    Assign(src.m_pData, src.m_nLength);
}

CString::CString(CString&& src) noexcept
    : m_pData(src.m_pData), m_nLength(src.m_nLength), m_nCapacity(src.m_nCapacity)
{
    src.m_pData = g_emptyText;
    src.m_nLength = 0;
    src.m_nCapacity = 0;
}

CString::CString(LPCWSTR psz) : CString()
{
    Assign(psz, TextLength(psz));
}

CString::CString(LPCWSTR pch, int length) : CString()
{
    Assign(pch, pch && length > 0 ? length : 0);
}

CString::~CString()
{
    Release();
}

void CString::Release() noexcept
{
    if (m_nCapacity > 0)
        delete[] m_pData;
    m_pData = g_emptyText;
    m_nLength = 0;
    m_nCapacity = 0;
}

CString& CString::operator=(const CString& src)
{
    if (this != &src)
        Assign(src.m_pData, src.m_nLength);
    return *this;
}

CString& CString::operator=(CString&& src) noexcept
{
    if (this != &src) {
        Release();
        m_pData = src.m_pData;
        m_nLength = src.m_nLength;
        m_nCapacity = src.m_nCapacity;
        src.m_pData = g_emptyText;
        src.m_nLength = 0;
        src.m_nCapacity = 0;
    }
    return *this;
}

CString& CString::operator=(LPCWSTR psz)
{
    Assign(psz, TextLength(psz));
    return *this;
}

// Reallocation may free the source when it points into this string's own buffer, so such a
// source is copied first.
void CString::Assign(LPCWSTR pch, int length)
{
    if (length <= 0) {
        SetLength(0);
        return;
    }
    if (m_nCapacity > 0 && pch >= m_pData && pch <= m_pData + m_nCapacity) {
        CString copy(pch, length);
        *this = std::move(copy);
        return;
    }
    if (length > m_nCapacity) {
        Release();
        Reserve(length);
    }
    CopyChars(m_pData, pch, length);
    SetLength(length);
}

void CString::Reserve(int capacity)
{
    if (capacity <= m_nCapacity)
        return;
    if (capacity >= INT_MAX - 1)
        throw std::bad_alloc();
    LPWSTR data = new WCHAR[static_cast<size_t>(capacity) + 1];
    CopyChars(data, m_pData, m_nLength);
    data[m_nLength] = 0;
    if (m_nCapacity > 0)
        delete[] m_pData;
    m_pData = data;
    m_nCapacity = capacity;
}

void CString::SetLength(int length)
{
    m_nLength = length;
    if (m_nCapacity > 0)
        m_pData[length] = 0;
}

void CString::Empty()
{
    Release();
}

WCHAR CString::GetAt(int index) const
{
    if (index < 0 || index > m_nLength)
        CInvalidArgException::Throw();
    return m_pData[index];
}

LPWSTR CString::GetBuffer()
{
    return GetBuffer(0);
}

LPWSTR CString::GetBuffer(int minLength)
{
    Reserve(minLength > m_nLength ? minLength : (m_nLength > 0 ? m_nLength : 1));
    return m_pData;
}

void CString::ReleaseBuffer(int newLength)
{
    if (m_nCapacity == 0)
        return;
    if (newLength < 0) {
        newLength = 0;
        while (newLength < m_nCapacity && m_pData[newLength])
            ++newLength;
    }
    SetLength(newLength > m_nCapacity ? m_nCapacity : newLength);
}

void CString::Preallocate(int length)
{
    Reserve(length);
}

void CString::FreeExtra()
{
    if (m_nCapacity > m_nLength) {
        CString copy(m_pData, m_nLength);
        *this = std::move(copy);
    }
}

void CString::Append(LPCWSTR psz)
{
    Append(psz, TextLength(psz));
}

// Grows by half again at least, so that a text built by many appends is copied O(1) times per
// character on average.
void CString::Append(LPCWSTR pch, int length)
{
    if (!pch || length <= 0)
        return;
    // Checked before the sum is formed: a text near 2^31 units would overflow it.
    if (length > INT_MAX - 2 - m_nLength)
        throw std::bad_alloc();
    const int needed = m_nLength + length;
    if (needed > m_nCapacity) {
        const bool inside = m_nCapacity > 0 && pch >= m_pData && pch <= m_pData + m_nCapacity;
        const ptrdiff_t offset = pch - m_pData;
        long long grown = static_cast<long long>(m_nCapacity) + m_nCapacity / 2;
        if (grown < kMinCapacity)
            grown = kMinCapacity;
        if (grown > INT_MAX - 2)
            grown = INT_MAX - 2;
        Reserve(needed > grown ? needed : static_cast<int>(grown));
        if (inside)
            pch = m_pData + offset;
    }
    CopyChars(m_pData + m_nLength, pch, length);
    SetLength(needed);
}

void CString::Append(const CString& str)
{
    Append(str.m_pData, str.m_nLength);
}

void CString::AppendChar(WCHAR ch)
{
    Append(&ch, 1);
}

CString& CString::operator+=(const CString& str)
{
    Append(str);
    return *this;
}

CString& CString::operator+=(LPCWSTR psz)
{
    Append(psz);
    return *this;
}

CString& CString::operator+=(WCHAR ch)
{
    AppendChar(ch);
    return *this;
}

int CString::Compare(LPCWSTR psz) const
{
    return CompareUnits(m_pData, psz);
}

CString CString::Left(int count) const
{
    if (count < 0)
        count = 0;
    return CString(m_pData, count < m_nLength ? count : m_nLength);
}

CString CString::Right(int count) const
{
    if (count < 0)
        count = 0;
    if (count > m_nLength)
        count = m_nLength;
    return CString(m_pData + m_nLength - count, count);
}

CString CString::Mid(int first) const
{
    return Mid(first, m_nLength);
}

CString CString::Mid(int first, int count) const
{
    if (first < 0)
        first = 0;
    if (first > m_nLength)
        first = m_nLength;
    if (count < 0)
        count = 0;
    if (count > m_nLength - first)
        count = m_nLength - first;
    return CString(m_pData + first, count);
}

int CString::Find(WCHAR ch, int start) const
{
    for (int i = start < 0 ? 0 : start; i < m_nLength; ++i) {
        if (m_pData[i] == ch)
            return i;
    }
    return -1;
}

int CString::Find(LPCWSTR sub, int start) const
{
    if (start < 0)
        start = 0;
    const int subLength = TextLength(sub);
    if (start > m_nLength)
        return -1;
    for (int i = start; i + subLength <= m_nLength; ++i) {
        int k = 0;
        while (k < subLength && m_pData[i + k] == sub[k])
            ++k;
        if (k == subLength)
            return i;
    }
    return -1;
}

int CString::ReverseFind(WCHAR ch) const
{
    for (int i = m_nLength - 1; i >= 0; --i) {
        if (m_pData[i] == ch)
            return i;
    }
    return -1;
}

CString& CString::TrimRight()
{
    return TrimRight(kBlanks);
}

CString& CString::TrimRight(WCHAR ch)
{
    const WCHAR set[2] = {ch, 0};
    return ch ? TrimRight(set) : *this;
}

CString& CString::TrimRight(LPCWSTR charSet)
{
    int length = m_nLength;
    while (length > 0 && InSet(m_pData[length - 1], charSet))
        --length;
    if (length != m_nLength)
        SetLength(length);
    return *this;
}

CString& CString::MakeLower()
{
    for (int i = 0; i < m_nLength; ++i)
        m_pData[i] = FoldLower(m_pData[i]);
    return *this;
}

int CString::Delete(int index, int count)
{
    if (index < 0)
        index = 0;
    if (count > 0 && index < m_nLength) {
        if (count > m_nLength - index)
            count = m_nLength - index;
        CopyChars(m_pData + index, m_pData + index + count, m_nLength - index - count);
        SetLength(m_nLength - count);
    }
    return m_nLength;
}

BOOL CString::LoadString(UINT id)
{
    return LoadString(AfxGetResourceHandle(), id);
}

#ifdef _WIN32
// With a zero buffer size LoadStringW hands back a read-only pointer into the resource and the
// entry's length, so an entry of any length is copied whole without a guessed buffer size. An
// entry that is absent or empty gives 0.
BOOL CString::LoadString(HINSTANCE instance, UINT id)
{
    LPCWSTR resource = nullptr;
    const int length = ::LoadStringW(instance, id, reinterpret_cast<LPWSTR>(&resource), 0);
    if (length <= 0 || !resource) {
        Empty();
        return FALSE;
    }
    Assign(resource, length);
    return TRUE;
}
#else
// The host build has no resources.
BOOL CString::LoadString(HINSTANCE, UINT)
{
    Empty();
    return FALSE;
}
#endif

CString operator+(const CString& a, const CString& b)
{
    CString r;
    r.Preallocate(a.GetLength() + b.GetLength());
    r.Append(a);
    r.Append(b);
    return r;
}

CString operator+(const CString& a, LPCWSTR b)
{
    CString r(a);
    r.Append(b);
    return r;
}

bool operator==(const CString& a, const CString& b)
{
    return a.GetLength() == b.GetLength() && a.Compare(b) == 0;
}
bool operator==(const CString& a, LPCWSTR b) { return a.Compare(b) == 0; }
