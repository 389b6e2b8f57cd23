#include "repair/RepairLog.h"

CString FormatLogLine(int nLine, BOOL bFirst, const CString& message)
{
    CString line;
    line.Format(bFirst ? L" %d.  " : L"\r\n %d.  ", nLine);
    line += message;
    return line;
}
