// The program's one loader for its string table.
#pragma once

#include "classlib/CString.h"
#include "classlib/WinTypes.h"

// A new string holding string-table entry id of the application's own module (the instance
// handle the application holds), or an empty string when there is no such entry. Loaded anew at
// every call; safe from any thread. On the host build, which has no resources, always empty.
CString LoadStr(UINT id);
