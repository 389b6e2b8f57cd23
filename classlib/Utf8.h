// UTF-16 <-> UTF-8 conversion without the C library's wide functions (the host build's wchar_t
// is 16-bit, the C library's 32-bit). Used for host file names and terminal output, and by tests
// to compare and print strings. An unpaired surrogate or invalid byte becomes U+FFFD.
#pragma once

#include <string>

#include "classlib/CString.h"
#include "classlib/WinTypes.h"

std::string WideToUtf8(LPCWSTR text, int length = -1);
CString Utf8ToWide(const std::string& text);
