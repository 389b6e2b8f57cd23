#include "controls/CWndEx.h"

#include "classlib/CSelectGuard.h"
#include "controls/ScrollLogic.h"

static_assert(SB_LINEUP == kScrollLineUp && SB_LINEDOWN == kScrollLineDown &&
                  SB_PAGEUP == kScrollPageUp && SB_PAGEDOWN == kScrollPageDown &&
                  SB_THUMBPOSITION == kScrollThumbPosition && SB_THUMBTRACK == kScrollThumbTrack &&
                  SB_TOP == kScrollTop && SB_BOTTOM == kScrollBottom && SB_ENDSCROLL == kScrollEnd,
              "scroll codes");
static_assert(SB_LINELEFT == SB_LINEUP && SB_PAGERIGHT == SB_PAGEDOWN && SB_LEFT == SB_TOP &&
                  SB_RIGHT == SB_BOTTOM,
              "horizontal codes share the vertical values");

IMPLEMENT_DYNAMIC(CWndEx, CWnd)

BEGIN_MESSAGE_MAP(CWndEx, CWnd)
    ON_WM_PAINT()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDOWN()
    ON_WM_VSCROLL()
    ON_WM_HSCROLL()
    ON_WM_SIZE()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEWHEEL()
    ON_WM_NCPAINT()
    ON_WM_TIMER()
END_MESSAGE_MAP()

CWndEx::CWndEx()
    : m_nHPage(0), m_nVPage(0), m_bOwnCursor(FALSE), m_hOwnCursor(NULL), m_nCharWidth(10),
      m_nCharHeight(10)
{
    // Without the font the view draws in the DC's system font; nothing else depends on it.
    m_font.CreateFont(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, FF_SWISS,
                      L"Arial");
}

CWndEx::~CWndEx()
{
    m_memDC.DeleteDC();
    m_font.DeleteObject();
}

BOOL CWndEx::Create(CWnd* pParent, const RECT& rect, UINT nID, DWORD dwStyle)
{
    LPCTSTR pszClass = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW), NULL, NULL);
    if (!CWnd::Create(pszClass, L"", dwStyle, rect, pParent, nID))
        return FALSE;
    OnCreateHook();
    return TRUE;
}

void CWndEx::SetFont(CFont* pFont, BOOL bRedraw)
{
    LOGFONT lf;
    if (pFont == NULL || !pFont->GetLogFont(&lf))
        return;
    CFont fontNew;
    if (!fontNew.CreateFontIndirect(&lf))
        return;
    HGDIOBJ hOld = m_font.Detach();
    m_font.Attach(fontNew.Detach());
    if (m_memDC.GetSafeHdc() != NULL)
        m_memDC.SelectObject(&m_font);
    if (hOld != NULL)
        ::DeleteObject(hOld);  // no longer selected anywhere: m_memDC now holds the new font

    if (m_hWnd == NULL)
        return;
    {
        CClientDC dc(this);
        CSelectGuard font(dc.GetSafeHdc(), m_font.GetSafeHandle());
        CRect rc(0, 0, 0, 0);
        dc.DrawText(L" ", 1, &rc, DT_CALCRECT);
        m_nCharWidth = rc.Width();
        m_nCharHeight = rc.Height();
    }
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pFont->GetSafeHandle()), bRedraw);
}

void CWndEx::OnCreateHook() {}
void CWndEx::Draw(CDC*, const RECT*) {}
void CWndEx::OnMouseMoveHook() {}
void CWndEx::OnButtonUpHook() {}
void CWndEx::OnButtonDownHook() {}
void CWndEx::OnScrollHook() {}
void CWndEx::OnScrollHook2() {}
void CWndEx::UpdateScrollBars() {}
void CWndEx::OnTimerHook(UINT_PTR) {}

void CWndEx::PreSubclassWindow() { CWnd::PreSubclassWindow(); }

BOOL CWndEx::PreTranslateMessage(MSG* pMsg) { return CWnd::PreTranslateMessage(pMsg); }

void CWndEx::OnPaint()
{
    CPaintDC dc(this);
    CRect clip(0, 0, 0, 0);
    dc.GetClipBox(&clip);
    Draw(&dc, &clip);
}

void CWndEx::OnMouseMove(UINT, CPoint)
{
    Default();
    OnMouseMoveHook();
}

void CWndEx::OnLButtonUp(UINT, CPoint)
{
    Default();
    OnButtonUpHook();
}

void CWndEx::OnLButtonDown(UINT, CPoint)
{
    Default();
    OnButtonDownHook();
}

void CWndEx::OnVScroll(UINT nSBCode, UINT, CScrollBar*)
{
    Default();
    CRect rc;
    GetClientRect(&rc);
    ScrollBar(SB_VERT, nSBCode, kVertLineStep, m_nVPage > 0 ? m_nVPage : rc.Height());
}

void CWndEx::OnHScroll(UINT nSBCode, UINT, CScrollBar*)
{
    Default();
    CRect rc;
    GetClientRect(&rc);
    ScrollBar(SB_HORZ, nSBCode, kHorzLineStep, m_nHPage > 0 ? m_nHPage : rc.Width());
}

void CWndEx::ScrollBar(int nBar, UINT nSBCode, int nLineStep, int nPage)
{
    int nMin = 0, nMax = 0;
    GetScrollRange(nBar, &nMin, &nMax);
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_TRACKPOS;
    if (!GetScrollInfo(nBar, &si, SIF_TRACKPOS))
        si.nTrackPos = 0;  // a window without that bar: thumb codes go to 0
    const ScrollRequest req = {static_cast<int>(nSBCode), GetScrollPos(nBar), si.nTrackPos,
                               nPage, nMax, nLineStep};
    int nPos = 0;
    if (!ComputeScrollPos(req, &nPos))
        return;
    SetScrollPos(nBar, nPos, TRUE);
    OnScrollHook();
}

void CWndEx::OnSize(UINT, int, int)
{
    Default();
    if (m_memDC.GetSafeHdc() == NULL)
        m_memDC.CreateCompatibleDC(NULL);  // without it only m_memDC's users lose the font
    if (m_memDC.GetSafeHdc() != NULL)
        m_memDC.SelectObject(&m_font);
    UpdateScrollBars();
}

BOOL CWndEx::OnSetCursor(CWnd*, UINT, UINT)
{
    if (m_bOwnCursor) {
        ::SetCursor(m_hOwnCursor);
        return TRUE;
    }
    return static_cast<BOOL>(Default());
}

BOOL CWndEx::OnMouseWheel(UINT, short zDelta, CPoint)
{
    const BOOL bResult = static_cast<BOOL>(Default());
    // Posted, so the parent's share of the wheel (the default processing) comes first.
    PostMessage(WM_VSCROLL, MAKEWPARAM(WheelScrollCode(zDelta), 0), 0);
    return bResult;
}

void CWndEx::OnNcPaint() { Default(); }

void CWndEx::OnTimer(UINT_PTR nIDEvent)
{
    Default();
    OnTimerHook(nIDEvent);
}
