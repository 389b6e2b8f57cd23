// The layouts of the wizard and its pages run from WM_SIZE messages that may carry 0 for either
// side (the ones they post to themselves after creation, the splitter's command): such a side
// is the window's current client size.
#pragma once
#include "classlib/CRect.h"
#include "classlib/CWnd.h"

inline void ReplaceZeroSize(const CWnd* pWnd, int& cx, int& cy)
{
    CRect rcClient;
    pWnd->GetClientRect(&rcClient);
    if (cx == 0)
        cx = rcClient.Width();
    if (cy == 0)
        cy = rcClient.Height();
}
