#include "app/PageBackground.h"

#include "app/QuillmendDlg.h"
#include "classlib/CSelectGuard.h"

namespace {
const COLORREF kFlatBackground = RGB(220, 220, 228);
}

BOOL PaintBackground(CDC* pDC, const RECT& rcClient, CBitmap* pBitmap)
{
    if (pBitmap == nullptr || pBitmap->GetSafeHandle() == NULL) {
        CBrush brush(kFlatBackground);
        pDC->FillRect(&rcClient, &brush);
        return TRUE;
    }
    CDC memDC;
    if (!memDC.CreateCompatibleDC(NULL)) {
        pDC->FillSolidRect(&rcClient, kFlatBackground);  // no memory DC: the flat fill still erases
        return TRUE;
    }
    CSelectGuard keepBitmap(memDC, pBitmap->GetSafeHandle());
    BITMAP bm = {};
    pBitmap->GetBitmap(&bm);
    const int nOldMode = pDC->SetStretchBltMode(COLORONCOLOR);
    pDC->StretchBlt(0, 0, rcClient.right - rcClient.left, rcClient.bottom - rcClient.top, &memDC, 0, 0,
                    bm.bmWidth, bm.bmHeight, SRCCOPY);
    pDC->SetStretchBltMode(nOldMode);
    keepBitmap.Restore();
    return TRUE;
}

BOOL PageEraseBkgnd(CWnd* pPage, CDC* pDC)
{
    CRect rc;
    pPage->GetClientRect(&rc);
    CQuillmendDlg* pMain = dynamic_cast<CQuillmendDlg*>(pPage->GetParent());
    return PaintBackground(pDC, rc, pMain != nullptr ? &pMain->m_bmpBack : nullptr);
}

HBRUSH HollowBrushOf(CBrush& brush)
{
    if (brush.GetSafeHandle() == NULL) {
        LOGBRUSH lb = {BS_NULL, 0, 0};
        brush.CreateBrushIndirect(&lb);  // a failure leaves NULL: the control's default colours
    }
    return static_cast<HBRUSH>(brush.GetSafeHandle());
}
