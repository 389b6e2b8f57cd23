#pragma once
// A button control. An owner-drawn button (BS_OWNERDRAW) paints itself in DrawItem, which the
// parent's WM_DRAWITEM reaches through reflection.
#include "classlib/CWnd.h"

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    // Paints an owner-drawn button; the base does nothing.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
