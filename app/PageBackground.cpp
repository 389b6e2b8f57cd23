// Stand-in until the wizard's background picture lands: the flat fill only.
#include "app/PageBackground.h"

namespace {
const COLORREF kPageFill = RGB(220, 220, 228);
}

BOOL PageEraseBkgnd(CWnd* pPage, CDC* pDC)
{
    CRect rc;
    pPage->GetClientRect(&rc);
    HBRUSH hBrush = ::CreateSolidBrush(kPageFill);
    if (hBrush == NULL)
        return TRUE;  // out of GDI objects: the page keeps what was there
    ::FillRect(pDC->GetSafeHdc(), &rc, hBrush);
    ::DeleteObject(hBrush);
    return TRUE;
}
