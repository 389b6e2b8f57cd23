#pragma once
// A static control.
#include "classlib/CWnd.h"

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
};
