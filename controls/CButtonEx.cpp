#include "controls/CButtonEx.h"

#include "controls/ButtonLogic.h"
#include "controls/PixelRect.h"

namespace {
const UINT kKeepStyleBits = 0xFFF4;  // clears the button-type bits 0x1, 0x2 and 0x8
const int kIconSquare = 32;
const int kIconTextShift = 24;
const COLORREF kFrameColour = RGB(100, 100, 150);
const COLORREF kStripColour = RGB(10, 230, 10);
}  // namespace

BOOL FillGradientRect(HDC hDC, const RECT* pRect, COLORREF clrFirst, COLORREF clrSecond, ULONG nMode)
{
    TRIVERTEX v[2] = {};
    v[0].x = pRect->left;
    v[0].y = pRect->top;
    v[0].Red = static_cast<COLOR16>(GetRValue(clrFirst) << 8);
    v[0].Green = static_cast<COLOR16>(GetGValue(clrFirst) << 8);
    v[0].Blue = static_cast<COLOR16>(GetBValue(clrFirst) << 8);
    v[1].x = pRect->right;
    v[1].y = pRect->bottom;
    v[1].Red = static_cast<COLOR16>(GetRValue(clrSecond) << 8);
    v[1].Green = static_cast<COLOR16>(GetGValue(clrSecond) << 8);
    v[1].Blue = static_cast<COLOR16>(GetBValue(clrSecond) << 8);
    GRADIENT_RECT mesh = {0, 1};
    return ::GradientFill(hDC, v, 2, &mesh, 1, nMode);
}

BEGIN_MESSAGE_MAP(CButtonEx, CButton)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_KILLFOCUS()
    ON_WM_CAPTURECHANGED()
    ON_WM_TIMER()
END_MESSAGE_MAP()

CButtonEx::CButtonEx()
    : m_nState(kButtonNormal), m_hIcon(NULL), m_pnProgressPos(nullptr), m_pnProgressTotal(nullptr)
{
}

CButtonEx::~CButtonEx() {}

void CButtonEx::MakeOwnerDrawn()
{
    const UINT nStyle = static_cast<UINT>(::GetWindowLong(m_hWnd, GWL_STYLE));
    // BM_SETSTYLE changes only the button type; the window styles stay.
    SendMessage(BM_SETSTYLE, (nStyle & kKeepStyleBits) | BS_OWNERDRAW, TRUE);
}

void CButtonEx::PreSubclassWindow()
{
    MakeOwnerDrawn();
    CButton::PreSubclassWindow();
    SetRoundRegion();
}

int CButtonEx::OnCreate(LPCREATESTRUCT)
{
    if (static_cast<int>(Default()) == -1)
        return -1;
    MakeOwnerDrawn();
    SetRoundRegion();
    return 0;
}

void CButtonEx::SetRoundRegion()
{
    CRect rc;
    GetWindowRect(&rc);
    const int c = ButtonRegionCorner(rc.Height());
    HRGN hRgn = ::CreateRoundRectRgn(0, 0, rc.Width(), rc.Height(), c, c);
    if (hRgn == NULL)
        return;  // out of GDI resources: the button keeps its square shape
    if (!SetWindowRgn(hRgn, TRUE))
        ::DeleteObject(hRgn);  // the window took no ownership
}

// The drawing calls' results are not looked at: one that fails leaves that part of the face
// unpainted until the next paint.
void CButtonEx::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    const CRect rcItem(lpDIS->rcItem);
    pDC->SetBkMode(TRANSPARENT);
    CString strCaption;
    GetWindowText(strCaption);
    CRect rcText = rcItem;

    const int k = ButtonClipCorner(rcItem.bottom);
    CRgn clip;
    clip.CreateRoundRectRgn(rcItem.left, rcItem.top, rcItem.right, rcItem.bottom, k, k);
    pDC->SelectClipRgn(&clip, RGN_COPY);

    const bool bDisabled = (lpDIS->itemState & (ODS_DISABLED | ODS_GRAYED)) != 0;
    const bool bFocused = (lpDIS->itemState & ODS_FOCUS) != 0;
    const ButtonFace face = ChooseButtonFace(bDisabled, bFocused, m_nState);
    FillGradientRect(pDC->GetSafeHdc(), &rcItem, face.clrTop, face.clrBottom, GRADIENT_FILL_RECT_V);
    pDC->SetTextColor(face.clrText);
    DrawIcon(pDC, &rcText);
    rcText.OffsetRect(face.nDx, face.nDy);
    DrawCaption(pDC, rcText, strCaption);

    CBrush brFrame(kFrameColour);
    pDC->FrameRgn(&clip, &brFrame, 1, 1);

    PixelRect strip;
    // An empty strip (position 0) is not handed to FillRect, which would fill the mirrored
    // rectangle of an inverted one.
    if (ButtonProgressStrip(ToPixelRect(rcItem), m_pnProgressPos, m_pnProgressTotal, &strip) &&
        strip.right > strip.left) {
        const RECT rcStrip = ToRect(strip);
        CBrush brStrip(kStripColour);
        pDC->FillRect(&rcStrip, &brStrip);
    }
    clip.DeleteObject();  // the DC keeps its own copy
}

void CButtonEx::DrawIcon(CDC* pDC, RECT* pText)
{
    if (m_hIcon == NULL)
        return;
    ICONINFO ii = {};
    if (!::GetIconInfo(m_hIcon, &ii))
        return;
    // GetIconInfo made copies of the icon's bitmaps: they are ours to delete.
    COwnedHandle<HGDIOBJ, QmDeleteGdiObject> colour, mask;
    colour.Own(ii.hbmColor);
    mask.Own(ii.hbmMask);
    if (ii.hbmColor == NULL)
        return;  // a monochrome icon: nothing to draw
    BITMAP bm = {};
    if (!::GetObject(ii.hbmColor, sizeof(bm), &bm))
        return;
    const int w = bm.bmWidth, h = bm.bmHeight;

    int x = 0, y = 0;
    ButtonIconOrigin(m_nState, pText->top, pText->bottom, &x, &y);
    CDC dcMem;
    CBitmap bitmap;
    if (dcMem.CreateCompatibleDC(pDC) && bitmap.CreateCompatibleBitmap(pDC, w, h)) {
        CBitmap* pOld = dcMem.SelectObject(&bitmap);
        // The face already painted under the icon shows through its transparent parts.
        dcMem.BitBlt(0, 0, w, h, pDC, x, y, SRCCOPY);
        dcMem.DrawState(CPoint(0, 0), CSize(w, h), m_hIcon, IsWindowEnabled() ? DSS_NORMAL : DSS_DISABLED);
        pDC->StretchBlt(x, y, kIconSquare, kIconSquare, &dcMem, 0, 0, w, h, SRCCOPY);
        dcMem.SelectObject(pOld);
    }
    pText->left += kIconTextShift;
}

void CButtonEx::DrawCaption(CDC* pDC, RECT rcText, CString strCaption)
{
    if (!strCaption.IsEmpty() && strCaption.Find(L'\n') >= 0) {
        CRect rcBlock(0, 0, 0, 0);
        pDC->DrawText(strCaption, &rcBlock, DT_CALCRECT);
        PixelRect t = ToPixelRect(rcText);
        CentreBlockIn(&t, rcBlock.Width(), rcBlock.Height());
        RECT rc = ToRect(t);
        pDC->DrawText(strCaption, &rc, DT_CENTER | DT_VCENTER);
    } else {
        pDC->DrawText(strCaption, &rcText, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

void CButtonEx::OnSize(UINT, int, int)
{
    Default();
    SetRoundRegion();
}

void CButtonEx::OnLButtonDown(UINT, CPoint)
{
    Default();
    const int nOld = m_nState;
    m_nState = kButtonPressed;
    if (nOld != kButtonPressed)
        InvalidateRect(NULL, TRUE);
}

void CButtonEx::OnMouseMove(UINT, CPoint point)
{
    Default();
    CRect rc;
    GetClientRect(&rc);
    const ButtonHoverStep step = ButtonMouseMove(m_nState, rc.PtInRect(point) != FALSE,
                                                 ::GetCapture() == m_hWnd,
                                                 (::GetKeyState(VK_LBUTTON) & 0x8000) != 0);
    // The state changes first: the WM_CAPTURECHANGED of a release then finds it already 0.
    m_nState = step.nState;
    if (step.bTakeCapture)
        SetCapture();
    if (step.bReleaseCapture)
        ReleaseCapture();
    if (step.bRepaint)
        InvalidateRect(NULL, TRUE);
}

void CButtonEx::OnLButtonUp(UINT, CPoint) { Default(); }

void CButtonEx::ReturnToNormal()
{
    if (m_nState == kButtonNormal)
        return;
    m_nState = kButtonNormal;
    InvalidateRect(NULL, TRUE);
}

void CButtonEx::OnKillFocus(CWnd*)
{
    Default();
    ReturnToNormal();
}

void CButtonEx::OnCaptureChanged(CWnd*)
{
    Default();
    ReturnToNormal();
}

void CButtonEx::OnTimer(UINT_PTR)
{
    Default();
    InvalidateRect(NULL, FALSE);
}
