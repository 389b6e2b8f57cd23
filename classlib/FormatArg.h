// One argument of CString::Format, with its type kept: the formatter reads each argument as what
// it is, so a CString, a wide string pointer or any integer may be passed, and a CString is never
// pushed through C varargs (which would hand the formatter the object instead of its text).
// A character, a truth value, a floating-point number or any other pointer does not compile: the
// formatter prints only strings and integers.
#pragma once

#include <type_traits>

#include "classlib/WinTypes.h"

class CString;

class FormatArg {
public:
    enum Kind { kNone, kSigned, kUnsigned, kString };

    FormatArg() : m_kind(kNone), m_bits(0) { m_u.u = 0; }
    FormatArg(const CString& s);
    FormatArg(LPCWSTR s) : m_kind(kString), m_bits(0) { m_u.s = s; }
    FormatArg(wchar_t) = delete;
    FormatArg(bool) = delete;
    FormatArg(double) = delete;

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

    Kind GetKind() const { return m_kind; }
    // Width of the original integer in bits (8 to 64).
    int GetBits() const { return m_bits; }
    long long GetSigned() const { return m_u.i; }
    unsigned long long GetUnsigned() const { return m_u.u; }
    LPCWSTR GetString() const { return m_u.s; }

private:
    Kind m_kind;
    int m_bits;
    union {
        long long i;
        unsigned long long u;
        LPCWSTR s;
    } m_u;
};
