// A wide (UTF-16) string with value semantics.
//
// Each CString owns its own buffer; a copy copies the text. So a string can be copied from one
// thread to another, or read by one thread while another thread works on its own copy, without
// any shared count. Moves are cheap. Appending grows the buffer geometrically, so building a long
// text by many appends costs amortised O(1) per character.
//
// Lengths and positions are in UTF-16 code units. MakeLower folds only A-Z. Left, Right and Mid
// clamp counts and positions that fall outside the string; GetAt and operator[] throw
// CInvalidArgException* for a bad index.
//
// Formatting is the library's own (no C library wide-character function takes part) and covers
// what the program formats: %s (a CString or LPCWSTR), %d, %u, %x, %X, with a width and the 0 flag.
// See CStringFormat.cpp for the details.
#pragma once

#include "classlib/FormatArg.h"
#include "classlib/WinTypes.h"

class CString {
public:
    CString() noexcept;
    CString(const CString& src);
    CString(CString&& src) noexcept;
    CString(LPCWSTR psz);
    CString(LPCWSTR pch, int length);
    ~CString();

    CString& operator=(const CString& src);
    CString& operator=(CString&& src) noexcept;
    CString& operator=(LPCWSTR psz);

    int GetLength() const { return m_nLength; }
    BOOL IsEmpty() const { return m_nLength == 0; }
    void Empty();

    // Index 0 .. GetLength(); GetLength() reads the terminating zero.
    WCHAR GetAt(int index) const;
    // Any integer type: an unsigned index must not fall back to the pointer conversion.
    template <typename I, typename std::enable_if<std::is_integral<I>::value, int>::type = 0>
    WCHAR operator[](I index) const
    {
        const long long i = static_cast<long long>(index);
        return GetAt(i < 0 || i > m_nLength ? -1 : static_cast<int>(i));
    }

    operator LPCWSTR() const { return m_pData; }
    LPCWSTR GetString() const { return m_pData; }

    // Direct access: the buffer holds at least minLength characters plus a terminator, and the
    // current text. ReleaseBuffer takes the new length (-1: up to the first zero).
    LPWSTR GetBuffer();
    LPWSTR GetBuffer(int minLength);
    void ReleaseBuffer(int newLength = -1);
    void Preallocate(int length);
    void FreeExtra();

    void Append(LPCWSTR psz);
    void Append(LPCWSTR pch, int length);
    void Append(const CString& str);
    void AppendChar(WCHAR ch);
    CString& operator+=(const CString& str);
    CString& operator+=(LPCWSTR psz);
    CString& operator+=(WCHAR ch);

    // <0, 0, >0 like a comparison of code units.
    int Compare(LPCWSTR psz) const;

    CString Left(int count) const;
    CString Right(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;

    // Positions are 0-based; -1 when not found.
    int Find(WCHAR ch, int start = 0) const;
    int Find(LPCWSTR sub, int start = 0) const;
    int ReverseFind(WCHAR ch) const;

    // Without an argument the blanks removed from the end are space, tab, CR, LF, VT and FF.
    CString& TrimRight();
    CString& TrimRight(WCHAR ch);

    CString& MakeLower();

    // Returns the new length.
    int Delete(int index, int count = 1);

    template <typename... Args>
    void Format(LPCWSTR format, const Args&... args)
    {
        const FormatArg list[] = {FormatArg(args)..., FormatArg()};
        FormatList(format, list, sizeof...(Args));
    }

    // Loads string-table entry id from the given module (or the resource handle). Returns FALSE
    // and leaves the string empty when there is no such entry (always on the host build).
    BOOL LoadString(HINSTANCE instance, UINT id);
    BOOL LoadString(UINT id);

private:
    CString& TrimRight(LPCWSTR charSet);
    void FormatList(LPCWSTR format, const FormatArg* args, int count);
    void Reserve(int capacity);
    void SetLength(int length);
    void Assign(LPCWSTR pch, int length);
    void Release() noexcept;

    LPWSTR m_pData;
    int m_nLength;
    int m_nCapacity;  // characters, terminator excluded; 0 while m_pData is the shared empty text
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, LPCWSTR b);
// A character added to a string would otherwise compile as pointer arithmetic on the conversion
// to LPCWSTR: append it with += or AppendChar.
CString operator+(const CString& a, WCHAR b) = delete;
CString operator+(WCHAR a, const CString& b) = delete;

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, LPCWSTR b);
// No ordering and no inequality: without these deletions the conversion to LPCWSTR would let
// them compile as a comparison of addresses. Write !(a == b).
bool operator!=(const CString& a, const CString& b) = delete;
bool operator<(const CString& a, const CString& b) = delete;
bool operator>(const CString& a, const CString& b) = delete;
bool operator<=(const CString& a, const CString& b) = delete;
bool operator>=(const CString& a, const CString& b) = delete;
