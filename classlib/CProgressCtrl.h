#pragma once
// A progress bar control.
#include "classlib/CWnd.h"

class CProgressCtrl : public CWnd {
    DECLARE_DYNAMIC(CProgressCtrl)
};
