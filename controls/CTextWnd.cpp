#include "controls/CTextWnd.h"

#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "classlib/CSelectGuard.h"
#include "classlib/CWaitCursor.h"
#include "classlib/WindowThreadCall.h"
#include "resources/LoadStr.h"
#include "controls/ScrollLogic.h"
#include "resources/resource.h"

DWORD g_dwUIThreadId = 0;

namespace {
const UINT_PTR kRefreshTimerId = 1;
const UINT kRefreshTimerMs = 100;
const int kInitialTextWidth = 1000;  // horizontal range after SetText; painting widens it
const int kHintIndent = 10;
const int kFirstSelectionEnd = 6;    // a new text shows offsets 0..6 highlighted
const COLORREF kEmptyBack = RGB(240, 240, 240);
const COLORREF kBannerBack = RGB(240, 240, 255);
const COLORREF kBannerText = RGB(255, 0, 0);
const COLORREF kRowsBack = RGB(250, 250, 250);
const COLORREF kSelText = RGB(255, 255, 0);
const COLORREF kSelBack = RGB(0, 0, 200);
const UINT kRowFormat = DT_VCENTER | DT_SINGLELINE;

// The loading banner, loaded once and kept for the rest of the process.
const CString& Banner()
{
    static const CString strBanner = LoadStr(IDS_LOADING);
    return strBanner;
}

// Width of a string as the view measures it: DrawText with DT_CALCRECT from an empty rectangle.
int MeasureText(CDC* pDC, const wchar_t* pch, int n)
{
    CRect rc(0, 0, 0, 0);
    pDC->DrawText(pch, n, &rc, DT_CALCRECT | kRowFormat);
    return rc.Width();
}

class DcCharWidths : public CharWidthSource {
public:
    explicit DcCharWidths(CDC* pDC) : m_pDC(pDC) {}
    int CharWidth(wchar_t ch) override { return MeasureText(m_pDC, &ch, 1); }

private:
    CDC* m_pDC;
};

// The frame along the client edges, in the DC's current pen.
void DrawFrame(CDC* pDC, const CRect& rc)
{
    pDC->MoveTo(rc.left, rc.top);
    pDC->LineTo(rc.right - 1, rc.top);
    pDC->LineTo(rc.right - 1, rc.bottom - 1);
    pDC->LineTo(rc.left, rc.bottom - 1);
    pDC->LineTo(rc.left, rc.top);
}

// Red text on the banner colour, the DC's colour and mode restored afterwards.
void DrawNotice(CDC* pDC, const CRect& rcClient, const CString& str, const CRect& rcText, UINT nFormat)
{
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF clrOld = pDC->SetTextColor(kBannerText);
    pDC->FillSolidRect(&rcClient, kBannerBack);
    CRect rc = rcText;
    pDC->DrawText(str, &rc, nFormat);
    pDC->SetTextColor(clrOld);
    pDC->SetBkMode(nOldMode);
}

[[noreturn]] void ThrowOutOfMemory() { throw std::bad_alloc(); }
}  // namespace

CTextWnd::CTextWnd()
    : m_nSelStart(0), m_nSelEnd(0), m_nRowCount(0), m_nTextWidth(0), m_pRows(nullptr),
      m_bLoading(FALSE), m_pszText(nullptr), m_nLineHeight(18), m_nTimerId(0)
{
}

CTextWnd::~CTextWnd() { Clear(); }

void CTextWnd::RequestRepaint()
{
    if (m_hWnd != NULL)
        InvalidateRect(NULL, FALSE);  // any thread may invalidate
}

void CTextWnd::UpdateScrollBarsOnOwnerThread()
{
    if (m_hWnd == NULL)
        return;
    if (IsWindowOfCallingThread(m_hWnd)) {
        UpdateScrollBars();
        return;
    }
    // Queued, not sent: the caller may hold up the window's thread no longer than a post.
    // A call still queued when the window dies is dropped unrun.
    if (!PostToWindowThread(m_hWnd, [this] { UpdateScrollBars(); }))
        RequestRepaint();  // the window is going away; a repaint request is all that is left
}

void CTextWnd::SetLoading(BOOL bLoading)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_bLoading = bLoading;
}

void CTextWnd::Clear()
{
    tagRowInfo* pRows = nullptr;
    wchar_t* pszText = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_nSelStart = 0;
        m_nSelEnd = kFirstSelectionEnd;
        m_nTextWidth = 0;
        m_nRowCount = 0;
        pRows = m_pRows;
        pszText = m_pszText;
        m_pRows = nullptr;
        m_pszText = nullptr;
    }
    // Out from under the lock: no paint can reach them any more.
    delete[] pRows;
    delete[] pszText;
    if (m_hWnd != NULL && ::IsWindow(m_hWnd))
        UpdateScrollBarsOnOwnerThread();
}

void CTextWnd::SetHint(const CString& strHint)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_strHint = strHint;
}

void CTextWnd::StartRefreshTimer()
{
    if (m_hWnd == NULL)
        return;
    auto start = [this] {
        if (m_nTimerId == 0)
            m_nTimerId = SetTimer(kRefreshTimerId, kRefreshTimerMs);
    };
    if (IsWindowOfCallingThread(m_hWnd))
        start();
    else
        PostToWindowThread(m_hWnd, start);  // fails only when the window is gone
}

void CTextWnd::DrawBannerNow()
{
    CClientDC dc(this);
    CSelectGuard font(dc.GetSafeHdc(), m_font.GetSafeHandle());
    CRect rc;
    GetClientRect(&rc);
    DrawNotice(&dc, rc, Banner(), rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void CTextWnd::SetText(const wchar_t* pszText, BOOL bCopy)
{
    Clear();
    const size_t nLength = pszText ? TextLength(pszText) : 0;
    if (nLength == 0)
        return;

    Banner();
    // The banner is drawn at once on the window's own thread, which cannot paint while it
    // splits; another thread leaves drawing to that thread, whose next paint shows the banner
    // because the view is loading and has no rows.
    const bool bOwnThread = m_hWnd != NULL && IsWindowOfCallingThread(m_hWnd);
    SetLoading(TRUE);
    if (bOwnThread)
        DrawBannerNow();
    else
        RequestRepaint();

    std::unique_ptr<CWaitCursor> wait;
    if (::GetCurrentThreadId() == g_dwUIThreadId)
        wait.reset(new CWaitCursor);

    wchar_t* pszCopy = nullptr;
    tagRowInfo* pRows = nullptr;
    size_t nRows = 0;
    try {
        // Offsets are int; a longer text (or a size that overflows) cannot be shown.
        if (nLength >= static_cast<size_t>(INT_MAX))
            ThrowOutOfMemory();
        const wchar_t* pszSplit = pszText;
        if (bCopy) {
            pszCopy = new wchar_t[nLength + 1];
            std::memcpy(pszCopy, pszText, (nLength + 1) * sizeof(wchar_t));
            pszSplit = pszCopy;
        }
        std::vector<TextRowInfo> rows;
        SplitTextRows(pszSplit, static_cast<int>(nLength), &rows);
        nRows = rows.size();
        pRows = new tagRowInfo[nRows];
        std::memcpy(pRows, rows.data(), nRows * sizeof(tagRowInfo));
    } catch (const std::bad_alloc&) {
        delete[] pszCopy;
        delete[] pRows;
        SetLoading(FALSE);
        RequestRepaint();
        wait.reset();
        ThrowOutOfMemory();
    }

    tagRowInfo* pOldRows = nullptr;
    wchar_t* pszOldText = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        // Another thread's SetText may have put its text in meanwhile: this one replaces it.
        pOldRows = m_pRows;
        pszOldText = m_pszText;
        m_pszText = pszCopy;
        m_pRows = pRows;
        m_nRowCount = static_cast<int>(nRows);
        m_nTextWidth = kInitialTextWidth;
        m_nLineHeight = m_nCharHeight + 2;
    }
    delete[] pOldRows;
    delete[] pszOldText;

    UpdateScrollBarsOnOwnerThread();
    RequestRepaint();
    wait.reset();
    SetLoading(FALSE);
}

// The results of the scroll-bar calls are ignored: a failed call keeps the bar's previous
// range, and the next size change or text sets it again.
void CTextWnd::UpdateScrollBars()
{
    CRect rc;
    GetClientRect(&rc);
    int nRows, nLineHeight, nTextWidth;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        nRows = m_nRowCount;
        nLineHeight = m_nLineHeight;
        nTextWidth = m_nTextWidth;
    }
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE;
    si.nMin = 1;
    si.nMax = nRows * nLineHeight;
    si.nPage = ScrollPageFor(rc.Height(), nLineHeight, si.nMax);
    SetScrollInfo(SB_VERT, &si, TRUE);
    si.nMax = nTextWidth;
    si.nPage = ScrollPageFor(rc.Width(), nLineHeight, nTextWidth);
    SetScrollInfo(SB_HORZ, &si, TRUE);
    RequestRepaint();
}

void CTextWnd::UpdateHScrollBar()
{
    if (m_hWnd == NULL)
        return;
    CRect rc;
    GetClientRect(&rc);
    int nLineHeight, nTextWidth;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        nLineHeight = m_nLineHeight;
        nTextWidth = m_nTextWidth;
    }
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE;
    si.nMin = 1;
    si.nMax = nTextWidth;
    si.nPage = ScrollPageFor(rc.Width(), nLineHeight, nTextWidth);
    SetScrollInfo(SB_HORZ, &si, TRUE);
}

void CTextWnd::OnTimerHook(UINT_PTR)
{
    // One-shot: whichever timer fired, the pending refresh is over. A failed KillTimer (no such
    // timer) leaves nothing to stop.
    KillTimer(m_nTimerId);
    m_nTimerId = 0;
    RequestRepaint();
}

void CTextWnd::OnScrollHook() { RequestRepaint(); }

void CTextWnd::OnScrollHook2() { RequestRepaint(); }

// ---------------------------------------------------------------- painting
// The results of the drawing calls are not looked at: a call that fails leaves that part of the
// view unpainted until the next paint, and there is nothing better to do inside a paint.

void CTextWnd::Draw(CDC* pDC, const RECT* pClipBox)
{
    CRect rc;
    GetClientRect(&rc);
    bool bRows;
    BOOL bLoading = FALSE;
    CString strHint;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        bRows = m_nRowCount > 0;
        if (!bRows) {
            bLoading = m_bLoading;
            strHint = m_strHint;  // a copy: the hint may change once the lock is gone
        }
    }
    if (bRows) {
        // The row count is read again under the lock to bound the rows drawn.
        DrawRows(rc, pClipBox);
        return;
    }
    DrawEmpty(pDC, rc, bLoading, strHint);
}

void CTextWnd::DrawEmpty(CDC* pDC, const CRect& rcClient, BOOL bLoading, const CString& strHint)
{
    pDC->FillSolidRect(&rcClient, kEmptyBack);
    if (bLoading || !strHint.IsEmpty()) {
        CSelectGuard font(pDC->GetSafeHdc(), m_font.GetSafeHandle());
        if (bLoading) {
            DrawNotice(pDC, rcClient, Banner(), rcClient, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        } else {
            CRect rcText = rcClient;
            rcText.left += kHintIndent;
            DrawNotice(pDC, rcClient, strHint, rcText, DT_VCENTER | DT_SINGLELINE);
        }
    }
    DrawFrame(pDC, rcClient);
}

void CTextWnd::DrawRows(const CRect& rcClient, const RECT* pClipBox)
{
    const int nVPos = GetScrollPos(SB_VERT);
    const int nHPos = GetScrollPos(SB_HORZ);
    CClientDC dcClient(this);
    CDC dcMem;
    CBitmap bitmap;
    if (!dcMem.CreateCompatibleDC(NULL) ||
        !bitmap.CreateCompatibleBitmap(&dcClient, rcClient.Width(), rcClient.Height()))
        return;  // out of GDI resources: this paint shows nothing new
    CSelectGuard bmp(dcMem.GetSafeHdc(), bitmap.GetSafeHandle());
    CSelectGuard font(dcMem.GetSafeHdc(), m_font.GetSafeHandle());
    dcMem.SetBkMode(TRANSPARENT);
    dcMem.FillSolidRect(&rcClient, kRowsBack);

    bool bWider = false;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        int nFirst = 0, nEnd = 0;
        VisibleRowRange(nVPos, m_nLineHeight, rcClient.Height(), m_nRowCount, &nFirst, &nEnd);
        const int nRunning = DrawRowRange(&dcMem, rcClient, nFirst, nEnd, nVPos, nHPos);
        // Under the same lock as the rows it was measured on: a text that another thread puts in
        // once the lock is gone keeps its own width.
        if (nRunning > m_nTextWidth) {
            m_nTextWidth = nRunning;
            bWider = true;
        }
    }
    DrawFrame(&dcMem, rcClient);
    const CRect clip(pClipBox);
    dcClient.BitBlt(clip.left, clip.top, clip.Width(), clip.Height(), &dcMem, clip.left, clip.top,
                    SRCCOPY);
    font.Restore();
    bmp.Restore();
    if (bWider)
        UpdateHScrollBar();
}

int CTextWnd::DrawRowRange(CDC* pDC, const CRect& rcClient, int nFirst, int nEnd, int nVPos,
                           int nHPos)
{
    const int lh = m_nLineHeight;
    CRect rcRow(rcClient.left + kRowLeftMargin - nHPos, FirstRowTop(rcClient.top, nVPos, lh),
                rcClient.right, 0);
    rcRow.bottom = rcRow.top + lh;
    wchar_t buffer[kRowBufferSize];
    int nRunning = 0;
    for (int i = nFirst; i < nEnd; ++i, rcRow.OffsetRect(0, lh)) {
        if (m_pRows == nullptr)
            break;
        const tagRowInfo& row = m_pRows[i];
        if (row.pszLine == nullptr)
            continue;
        const int n = CopyRowChars(row.pszLine, buffer);
        nRunning = NextRunningWidth(nRunning, MeasureText(pDC, buffer, n));
        if (!RowTouchesSelection(row.nOffset, n, m_nSelStart, m_nSelEnd)) {
            CRect rc = rcRow;
            pDC->DrawText(buffer, n, &rc, kRowFormat);
            continue;
        }
        int x = rcRow.left;
        for (int k = 0; k < n; ++k) {
            CRect rc(x, rcRow.top, rcRow.right, rcRow.bottom);
            const int nOffset = row.nOffset + k;
            if (nOffset >= m_nSelStart && nOffset <= m_nSelEnd) {
                const int nOldMode = pDC->SetBkMode(OPAQUE);
                const COLORREF clrOldText = pDC->SetTextColor(kSelText);
                const COLORREF clrOldBack = pDC->SetBkColor(kSelBack);
                pDC->DrawText(&buffer[k], 1, &rc, kRowFormat);
                pDC->SetBkColor(clrOldBack);
                pDC->SetTextColor(clrOldText);
                pDC->SetBkMode(nOldMode);
            } else {
                pDC->DrawText(&buffer[k], 1, &rc, kRowFormat);
            }
            x += MeasureText(pDC, &buffer[k], 1);
            if (x > rcClient.right)
                break;
        }
    }
    return nRunning;
}

// ---------------------------------------------------------------- hit test and highlight

int CTextWnd::CharFromPoint(int x, int y)
{
    const int nVPos = GetScrollPos(SB_VERT);
    const int nHPos = GetScrollPos(SB_HORZ);
    CClientDC dc(this);
    CSelectGuard font(dc.GetSafeHdc(), m_font.GetSafeHandle());
    DcCharWidths widths(&dc);
    std::lock_guard<std::mutex> lock(m_lock);
    const int i = RowIndexAt(y, nVPos, m_nLineHeight, m_nRowCount);
    if (i < 0 || m_pRows == nullptr)
        return -1;
    return CharInRowAt(m_pRows[i], x, nHPos, &widths);
}

void CTextWnd::OnButtonDownHook()
{
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    CRect rc;
    GetClientRect(&rc);
    if (!rc.PtInRect(pt))
        return;
    const int k = CharFromPoint(pt.x, pt.y);
    if (k >= 0)
        SetSelection(k, k);
    SetFocus();
}

void CTextWnd::SetSelection(int nStart, int nEnd)
{
    int nRows;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        const bool bSame = nStart == m_nSelStart && nEnd == m_nSelEnd;
        m_nSelStart = nStart;
        m_nSelEnd = nEnd;
        if (bSame)
            return;
        nRows = m_nRowCount;
    }
    if (m_hWnd == NULL || nRows == 0)
        return;
    RequestRepaint();
}

// ---------------------------------------------------------------- accessors

int CTextWnd::GetRowCount() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_nRowCount;
}

int CTextWnd::GetTextWidth() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_nTextWidth;
}

int CTextWnd::GetLineHeight() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_nLineHeight;
}

void CTextWnd::GetSelection(int* pnStart, int* pnEnd) const
{
    std::lock_guard<std::mutex> lock(m_lock);
    *pnStart = m_nSelStart;
    *pnEnd = m_nSelEnd;
}

BOOL CTextWnd::IsLoading() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_bLoading;
}

CString CTextWnd::GetHint() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_strHint;
}
