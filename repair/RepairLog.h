// The repair log's line format.
#pragma once
#include "classlib/CString.h"
#include "classlib/WinTypes.h"

// One numbered log line: " n.  " and the message, with CR LF in front unless it is the first
// line of the log. The message is taken as it is, never as a format.
CString FormatLogLine(int nLine, BOOL bFirst, const CString& message);
