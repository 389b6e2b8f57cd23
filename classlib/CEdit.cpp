#include "classlib/CEdit.h"

IMPLEMENT_DYNAMIC(CEdit, CWnd)
