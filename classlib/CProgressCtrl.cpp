#include "classlib/CProgressCtrl.h"

IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
