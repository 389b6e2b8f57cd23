#include "classlib/CStatic.h"

IMPLEMENT_DYNAMIC(CStatic, CWnd)
