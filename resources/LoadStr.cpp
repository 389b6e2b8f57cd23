#include "resources/LoadStr.h"

#include "classlib/AppHandles.h"

// Loads from the instance handle explicitly rather than from the resource handle, so the text
// always comes from the program's own table. An absent entry leaves the string empty, which is
// the result wanted, so LoadString's FALSE needs no handling.
CString LoadStr(UINT id)
{
    CString text;
    text.LoadString(AfxGetInstanceHandle(), id);
    return text;
}
