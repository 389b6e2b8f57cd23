#include "controls/CSplitterEx.h"

#include "classlib/CDC.h"

namespace {
const int kDefaultMinWidth = 10;
const COLORREF kBarColour = RGB(220, 230, 240);
}  // namespace

BEGIN_MESSAGE_MAP(CSplitterEx, CWnd)
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CSplitterEx::CSplitterEx()
    : m_pParent(nullptr), m_nMinLeft(kDefaultMinWidth), m_nMinRight(kDefaultMinWidth), m_hCursor(NULL)
{
}

CSplitterEx::~CSplitterEx() {}

BOOL CSplitterEx::Create(DWORD dwStyle, const RECT& rect, UINT nID, CWnd* pParent)
{
    LPCTSTR pszClass = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(NULL, IDC_ARROW), NULL, NULL);
    m_pParent = pParent;
    m_nMinLeft = kDefaultMinWidth;
    m_nMinRight = kDefaultMinWidth;
    return CWnd::Create(pszClass, L"", dwStyle, rect, pParent, nID);
}

BOOL CSplitterEx::AddLeftControl(UINT nID)
{
    m_arrLeftIds.Add(nID);
    return TRUE;
}

BOOL CSplitterEx::AddRightControl(UINT nID)
{
    m_arrRightIds.Add(nID);
    return TRUE;
}

void CSplitterEx::SetMinPaneWidths(int nLeft, int nRight)
{
    m_nMinLeft = nLeft;
    m_nMinRight = nRight;
}

void CSplitterEx::LayoutPanes() {}

BOOL CSplitterEx::GetDragRect(RECT*, int, int) { return TRUE; }

void CSplitterEx::TrackDrag() {}

BOOL CSplitterEx::OnSetCursor(CWnd*, UINT, UINT)
{
    ::SetCursor(m_hCursor);
    return TRUE;
}

void CSplitterEx::OnLButtonDown(UINT, CPoint) { TrackDrag(); }

void CSplitterEx::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    dc.FillSolidRect(&rc, kBarColour);
    // Top and bottom rows and the left column in the default black pen; the right column keeps
    // the fill colour.
    dc.MoveTo(rc.left, rc.top);
    dc.LineTo(rc.right, rc.top);
    dc.MoveTo(rc.left, rc.bottom - 1);
    dc.LineTo(rc.right, rc.bottom - 1);
    dc.MoveTo(rc.left, rc.top);
    dc.LineTo(rc.left, rc.bottom);
}
