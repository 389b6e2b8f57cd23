#include "classlib/CInvalidArgException.h"

BOOL CInvalidArgException::GetErrorMessage(LPWSTR buf, UINT max, PUINT helpContext) const
{
    if (helpContext)
        *helpContext = 0;
    return CopyMessage(L"Invalid argument.", buf, max);
}

void CInvalidArgException::Throw()
{
    throw new CInvalidArgException();
}
