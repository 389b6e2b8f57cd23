// Word's Selection through automation (see WordApplication.h).
#pragma once
#include "classlib/COleDispatchDriver.h"

class WordSelection : public COleDispatchDriver {
public:
    WordSelection() {}
    explicit WordSelection(LPDISPATCH lpDispatch) : COleDispatchDriver(lpDispatch) {}

    // Enters the whole text at the selection in one call.
    void InsertText(LPCWSTR Text);
};
