// Helpers for tests that handle wide strings. GoogleTest is built without the host build's
// 16-bit wchar_t, so wide strings never go to its macros directly: compare and print them as UTF-8.
//     EXPECT_EQ(Utf8(s), "总共 3 个文件");
#pragma once

#include <ostream>
#include <string>

#include "classlib/CString.h"
#include "classlib/Utf8.h"

inline std::string Utf8(const CString& s)
{
    return WideToUtf8(s.GetString(), s.GetLength());
}

inline std::string Utf8(LPCWSTR s)
{
    return WideToUtf8(s);
}

// Lets GoogleTest print a CString in a failure message.
inline void PrintTo(const CString& s, std::ostream* os)
{
    *os << '"' << Utf8(s) << '"';
}
