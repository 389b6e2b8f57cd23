#pragma once
// An edit control.
#include "classlib/CWnd.h"

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
};
