// One argument of CString::Format, with its type kept: the formatter reads each argument as what
// it is, so a CString, a wide string pointer, any integer, a character or a double may be passed,
// and a CString is never pushed through C varargs (which would hand the formatter the object
// instead of its text).
#pragma once

#include <cstddef>
#include <type_traits>

#include "classlib/WinTypes.h"

class CString;

class FormatArg {
public:
    enum Kind { kNone, kSigned, kUnsigned, kChar, kString, kPointer, kDouble };

    FormatArg() : m_kind(kNone), m_bits(0) { m_u.u = 0; }
    FormatArg(const CString& s);
    FormatArg(LPCWSTR s) : m_kind(kString), m_bits(0) { m_u.s = s; }
    FormatArg(LPWSTR s) : m_kind(kString), m_bits(0) { m_u.s = s; }
    FormatArg(std::nullptr_t) : m_kind(kString), m_bits(0) { m_u.s = nullptr; }
    FormatArg(wchar_t c) : m_kind(kChar), m_bits(16) { m_u.u = static_cast<WORD>(c); }
    FormatArg(double d) : m_kind(kDouble), m_bits(64) { m_u.d = d; }
    FormatArg(float d) : m_kind(kDouble), m_bits(64) { m_u.d = d; }
    FormatArg(bool b) : m_kind(kSigned), m_bits(32) { m_u.i = b ? 1 : 0; }

    template <typename T, typename std::enable_if<std::is_integral<T>::value
                                                      && !std::is_same<T, wchar_t>::value
                                                      && !std::is_same<T, bool>::value,
                                                  int>::type = 0>
    FormatArg(T v) : m_kind(std::is_signed<T>::value ? kSigned : kUnsigned), m_bits(sizeof(T) * 8)
    {
        if (std::is_signed<T>::value)
            m_u.i = static_cast<long long>(v);
        else
            m_u.u = static_cast<unsigned long long>(v);
    }

    template <typename T, typename std::enable_if<std::is_enum<T>::value, int>::type = 0>
    FormatArg(T v) : FormatArg(static_cast<typename std::underlying_type<T>::type>(v))
    {
    }

    // Any other pointer prints as %p.
    template <typename T, typename std::enable_if<!std::is_same<typename std::remove_cv<T>::type,
                                                                 wchar_t>::value
                                                      && !std::is_same<typename std::remove_cv<T>::type,
                                                                       char>::value,
                                                  int>::type = 0>
    FormatArg(T* p) : m_kind(kPointer), m_bits(sizeof(void*) * 8)
    {
        m_u.p = static_cast<const void*>(p);
    }

    Kind GetKind() const { return m_kind; }
    // Width of the original integer in bits (8 to 64).
    int GetBits() const { return m_bits; }
    long long GetSigned() const { return m_u.i; }
    unsigned long long GetUnsigned() const { return m_u.u; }
    LPCWSTR GetString() const { return m_u.s; }
    const void* GetPointer() const { return m_u.p; }
    double GetDouble() const { return m_u.d; }

private:
    Kind m_kind;
    int m_bits;
    union {
        long long i;
        unsigned long long u;
        LPCWSTR s;
        const void* p;
        double d;
    } m_u;
};
