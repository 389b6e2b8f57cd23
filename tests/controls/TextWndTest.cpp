// The text view in a real window: rows and scroll ranges, painting (rows, highlight, hint,
// frame) read back from the screen, the hit test against the font's own widths, scrolling
// messages, the refresh timer, and SetText from a worker while the window repaints.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "WindowTestUtil.h"
#include "classlib/CSelectGuard.h"
#include "classlib/WindowMessages.h"  // the message that carries a worker's queued call
#include "controls/CTextWnd.h"
#include "testutil.h"

namespace {
const int kViewWidth = 400, kViewHeight = 300;

class TextWndTest : public ::testing::Test {
protected:
    TestParent& parent = SharedParent(500, 400);
    CTextWnd view;

    void SetUp() override
    {
        ASSERT_TRUE(view.Create(&parent, CRect(10, 10, 10 + kViewWidth, 10 + kViewHeight), 1000,
                                WS_CHILD | WS_VISIBLE));
        view.SetFont(CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))), TRUE);
    }

    // Width of text as the view measures it (its font, DrawText with DT_CALCRECT).
    int Measure(const wchar_t* psz, int n = -1)
    {
        CClientDC dc(&view);
        CSelectGuard font(dc.GetSafeHdc(), view.m_font.GetSafeHandle());
        CRect rc(0, 0, 0, 0);
        ::DrawTextW(dc.GetSafeHdc(), psz, n, &rc, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
        return rc.Width();
    }

    void Repaint()
    {
        view.InvalidateRect(NULL, FALSE);
        ::UpdateWindow(view.GetSafeHwnd());
    }

    COLORREF Pixel(int x, int y)
    {
        HDC hdc = ::GetDC(view.GetSafeHwnd());
        const COLORREF c = ::GetPixel(hdc, x, y);
        ::ReleaseDC(view.GetSafeHwnd(), hdc);
        return c;
    }

    // How many pixels of colour clr lie in the rectangle.
    int Count(const CRect& rc, COLORREF clr)
    {
        HDC hdc = ::GetDC(view.GetSafeHwnd());
        int n = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x)
                n += ::GetPixel(hdc, x, y) == clr;
        ::ReleaseDC(view.GetSafeHwnd(), hdc);
        return n;
    }

    SCROLLINFO Bar(int nBar)
    {
        SCROLLINFO si = {};
        si.cbSize = sizeof(si);
        si.fMask = SIF_ALL;
        view.GetScrollInfo(nBar, &si, SIF_ALL);
        return si;
    }
};

std::vector<wchar_t> ManyRows(int nRows, const wchar_t* pszLine)
{
    std::vector<wchar_t> text;
    for (int i = 0; i < nRows; ++i) {
        for (const wchar_t* p = pszLine; *p; ++p)
            text.push_back(*p);
        text.push_back(L'\r');
        text.push_back(L'\n');
    }
    text.push_back(0);
    return text;
}
}  // namespace

TEST_F(TextWndTest, FontMeasuresOneBlankAndSetsTheLineHeight)
{
    CTextWnd unborn;
    unborn.SetFont(CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))), FALSE);
    EXPECT_EQ(10, unborn.m_nCharWidth);  // no window yet: nothing measured
    EXPECT_EQ(10, unborn.m_nCharHeight);

    CClientDC dc(&view);
    CSelectGuard font(dc.GetSafeHdc(), ::GetStockObject(DEFAULT_GUI_FONT));
    CRect blank(0, 0, 0, 0);
    ::DrawTextW(dc.GetSafeHdc(), L" ", 1, &blank, DT_CALCRECT);
    EXPECT_EQ(blank.Width(), view.m_nCharWidth);
    EXPECT_EQ(blank.Height(), view.m_nCharHeight);
    view.SetText(L"x", TRUE);
    EXPECT_EQ(blank.Height() + 2, view.GetLineHeight());
}

TEST_F(TextWndTest, SetTextRowsRangesAndEmptying)
{
    view.SetText(L"ab\r\ncdef", TRUE);
    const int lh = view.GetLineHeight();
    EXPECT_EQ(2, view.GetRowCount());
    EXPECT_EQ(2 * lh, Bar(SB_VERT).nMax);
    EXPECT_EQ(1, Bar(SB_VERT).nMin);
    EXPECT_EQ(1000, Bar(SB_HORZ).nMax);
    EXPECT_FALSE(view.IsLoading());
    int s = -1, e = -1;
    view.GetSelection(&s, &e);
    EXPECT_EQ(0, s);
    EXPECT_EQ(6, e);

    view.SetSelection(3, 3);
    view.SetText(nullptr, TRUE);
    EXPECT_EQ(0, view.GetRowCount());
    EXPECT_EQ(0, view.GetTextWidth());
    EXPECT_EQ(0, Bar(SB_VERT).nMax);
    EXPECT_EQ(0, Bar(SB_HORZ).nMax);
    view.GetSelection(&s, &e);
    EXPECT_EQ(0, s);
    EXPECT_EQ(6, e);
    view.SetText(L"", TRUE);
    EXPECT_EQ(0, view.GetRowCount());

    // The caller's own text, not copied, split in place.
    static const wchar_t kKept[] = L"one\rtwo\nthree";
    view.SetText(kKept, FALSE);
    EXPECT_EQ(3, view.GetRowCount());
}

TEST_F(TextWndTest, PaintShowsRowsHighlightAndFrame)
{
    view.SetText(L"ab\r\ncdef", TRUE);
    Repaint();
    const int lh = view.GetLineHeight();
    const int wa = Measure(L"a"), wb = Measure(L"b"), wc = Measure(L"c"), wd = Measure(L"d"),
              we = Measure(L"e"), wf = Measure(L"f");
    const COLORREF blue = RGB(0, 0, 200);
    const int top = 2 - view.GetScrollPos(SB_VERT), left = 4 - view.GetScrollPos(SB_HORZ);
    // Offsets 0..6 are highlighted: a, b (row 0) and c, d, e (row 1, offsets 4..6); f is not.
    EXPECT_GT(Count(CRect(left, top, left + wa + wb, top + lh), blue), 0);
    const int row1 = top + lh;
    EXPECT_GT(Count(CRect(left, row1, left + wc + wd + we, row1 + lh), blue), 0);
    const int xf = left + wc + wd + we;
    EXPECT_EQ(0, Count(CRect(xf + 1, row1, xf + wf - 1, row1 + lh), blue));
    EXPECT_EQ(RGB(250, 250, 250), Pixel(kViewWidth - 20, 2 + lh / 2));
    EXPECT_EQ(RGB(250, 250, 250), Pixel(kViewWidth / 2, 2 + 3 * lh));
    EXPECT_EQ(RGB(0, 0, 0), Pixel(0, 0));
    CRect rc;
    view.GetClientRect(&rc);  // narrower and lower than the window: the scroll bars show
    EXPECT_EQ(RGB(0, 0, 0), Pixel(rc.right - 1, rc.bottom - 1));
    EXPECT_EQ(RGB(0, 0, 0), Pixel(rc.right / 2, rc.bottom - 1));
    EXPECT_EQ(RGB(0, 0, 0), Pixel(rc.right - 1, rc.bottom / 2));

    // A click on f moves the highlight there alone.
    view.SetSelection(7, 7);
    Repaint();
    EXPECT_GT(Count(CRect(xf, row1, xf + wf, row1 + lh), blue), 0);
    EXPECT_EQ(0, Count(CRect(left, top, left + wa + wb, top + lh), blue));
}

TEST_F(TextWndTest, EmptyViewShowsHintOrPlainArea)
{
    Repaint();
    EXPECT_EQ(RGB(240, 240, 240), Pixel(20, 20));
    EXPECT_EQ(RGB(0, 0, 0), Pixel(0, 0));
    view.SetHint(L"listing C:\\docs");
    Repaint();
    EXPECT_EQ(RGB(240, 240, 255), Pixel(5, 20));
    EXPECT_EQ(RGB(0, 0, 0), Pixel(0, 20));  // the frame stays on the client edge
    // The hint's text starts 10 pixels in, centred vertically.
    EXPECT_EQ(0, Count(CRect(1, 1, 10, kViewHeight - 1), RGB(255, 0, 0)));
    EXPECT_GT(Count(CRect(10, kViewHeight / 2 - 8, 60, kViewHeight / 2 + 8), RGB(255, 0, 0)), 0);
    EXPECT_EQ(Utf8(L"listing C:\\docs"), Utf8(view.GetHint()));
}

TEST_F(TextWndTest, CharFromPointUsesTheFontsWidths)
{
    view.SetText(L"ab\r\n\r\ncdef", TRUE);
    const int lh = view.GetLineHeight();
    const int wa = Measure(L"a"), wb = Measure(L"b"), wc = Measure(L"c");
    // Rows start at 2 - vpos and characters at 4 - hpos; both bars start at their minimum, 1.
    const int top = 2 - view.GetScrollPos(SB_VERT), left = 4 - view.GetScrollPos(SB_HORZ);
    const int y0 = top + lh / 2, y1 = top + lh + lh / 2, y2 = top + 2 * lh + lh / 2;
    EXPECT_EQ(0, view.CharFromPoint(left, y0));
    EXPECT_EQ(0, view.CharFromPoint(left + wa, y0));  // the boundary belongs to the left one
    EXPECT_EQ(1, view.CharFromPoint(left + wa + 1, y0));
    EXPECT_EQ(-1, view.CharFromPoint(left + wa + wb + 1, y0));  // right of the line
    EXPECT_EQ(-1, view.CharFromPoint(left - 1, y0));
    EXPECT_EQ(-1, view.CharFromPoint(10, y1));  // empty line
    EXPECT_EQ(7, view.CharFromPoint(left + wc + 1, y2));  // "d": offsets count the breaks
    EXPECT_EQ(-1, view.CharFromPoint(10, top + 3 * lh));  // below the last row
    EXPECT_EQ(-1, view.CharFromPoint(10, top - 1));

    // A click takes the cursor's position: it highlights that character and takes the focus.
    CPoint pt(left + wc + 1, y2);
    view.ClientToScreen(&pt);
    ::SetCursorPos(pt.x, pt.y);
    view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, 0);
    int s = -1, e = -1;
    view.GetSelection(&s, &e);
    EXPECT_EQ(7, s);
    EXPECT_EQ(7, e);
    EXPECT_EQ(view.GetSafeHwnd(), ::GetFocus());
    // A click on nothing keeps it.
    pt = CPoint(10, y1);
    view.ClientToScreen(&pt);
    ::SetCursorPos(pt.x, pt.y);
    view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, 0);
    view.GetSelection(&s, &e);
    EXPECT_EQ(7, s);
}

TEST_F(TextWndTest, ScrollMessagesAndWheel)
{
    const std::vector<wchar_t> text = ManyRows(100, L"row text");
    view.SetText(text.data(), TRUE);
    const int lh = view.GetLineHeight();
    const SCROLLINFO si = Bar(SB_VERT);
    EXPECT_EQ(100 * lh, si.nMax);
    CRect rc;
    view.GetClientRect(&rc);
    EXPECT_EQ(static_cast<UINT>(rc.Height() - lh), si.nPage);

    EXPECT_EQ(1, view.GetScrollPos(SB_VERT));
    view.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(21, view.GetScrollPos(SB_VERT));
    view.SendMessage(WM_VSCROLL, SB_ENDSCROLL, 0);
    EXPECT_EQ(21, view.GetScrollPos(SB_VERT));
    view.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(21 + rc.Height(), view.GetScrollPos(SB_VERT));
    view.SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(si.nMax - static_cast<int>(si.nPage) + 1, view.GetScrollPos(SB_VERT));
    view.SendMessage(WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(1, view.GetScrollPos(SB_VERT));
    view.SendMessage(WM_VSCROLL, SB_LINEUP, 0);  // below the minimum: the bar keeps it there
    EXPECT_EQ(1, view.GetScrollPos(SB_VERT));

    view.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-360)), 0);
    PumpFor(30);  // the wheel posts its one line step
    EXPECT_EQ(21, view.GetScrollPos(SB_VERT));
    view.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    PumpFor(30);
    EXPECT_EQ(1, view.GetScrollPos(SB_VERT));

    view.SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(6, view.GetScrollPos(SB_HORZ));

    // Scrolled by one row and 3 pixels, the top of the client area shows row 1 (offset 10).
    view.SetScrollPos(SB_VERT, lh + 3);
    view.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);  // no drag: tracks itself
    EXPECT_EQ(lh + 3, view.GetScrollPos(SB_VERT));
    EXPECT_EQ(10, view.CharFromPoint(4 - view.GetScrollPos(SB_HORZ), 0));
    Repaint();
}

TEST_F(TextWndTest, PaintWidensTheHorizontalRange)
{
    std::vector<wchar_t> line(3000, L'W');
    line.push_back(0);
    view.SetText(line.data(), TRUE);
    Repaint();
    std::vector<wchar_t> shown(2499, L'W');
    const int w = Measure(shown.data(), 2499);
    EXPECT_EQ(w + 20, view.GetTextWidth());  // measured on the 2499 characters drawn
    EXPECT_EQ(w + 20, Bar(SB_HORZ).nMax);
}

namespace {
// A timer of the test's own on the view, slower than the refresh timer's 100 ms: a refresh
// timer still running ticks before this one does.
const UINT_PTR kMarkerTimerId = 0x7E57;
const UINT kMarkerTimerMs = 300;

// Counts the refresh timer's ticks apart from the marker's.
class TimerCounter : public CTextWnd {
public:
    int nFired = 0;
    int nMarkerTicks = 0;

protected:
    void OnTimerHook(UINT_PTR nIDEvent) override
    {
        if (nIDEvent == kMarkerTimerId) {
            KillTimer(kMarkerTimerId);
            ++nMarkerTicks;
            return;
        }
        ++nFired;
        CTextWnd::OnTimerHook(nIDEvent);
    }
};

// Runs the calls that other threads queued for wnd and nothing else: no timer ticks meanwhile.
void RunQueuedCalls(CWnd& wnd)
{
    MSG msg;
    while (::PeekMessageW(&msg, wnd.GetSafeHwnd(), QM_WM_POSTEDCALL, QM_WM_POSTEDCALL, PM_REMOVE))
        ::DispatchMessageW(&msg);
}
}  // namespace

TEST_F(TextWndTest, RefreshTimerStartedFromAWorkerRunsOnce)
{
    TimerCounter counter;
    ASSERT_TRUE(counter.Create(&parent, CRect(10, 10, 110, 110), 1002, WS_CHILD | WS_VISIBLE));
    // The worker only queues calls, so it is joined without pumping: both starts are queued
    // before the first one runs, and the timer cannot fire between them.
    std::thread worker([&counter] {
        counter.SetHint(L"scanning");
        counter.StartRefreshTimer();
        counter.StartRefreshTimer();  // carried over in order: the second finds one pending
    });
    worker.join();
    RunQueuedCalls(counter);
    ASSERT_NE(0u, counter.GetRefreshTimerId());
    EXPECT_TRUE(PumpUntil([&counter] { return counter.GetRefreshTimerId() == 0; }));
    counter.SetTimer(kMarkerTimerId, kMarkerTimerMs);
    ASSERT_TRUE(PumpUntil([&counter] { return counter.nMarkerTicks == 1; }));
    EXPECT_EQ(1, counter.nFired) << "the refresh timer fires once";

    // Once it has fired, the next hint change starts a new one.
    counter.StartRefreshTimer();
    EXPECT_NE(0u, counter.GetRefreshTimerId());
    EXPECT_TRUE(PumpUntil([&counter] { return counter.GetRefreshTimerId() == 0; }));
    EXPECT_EQ(2, counter.nFired);
}

TEST_F(TextWndTest, WorkerSetTextWhileTheWindowRepaints)
{
    const std::vector<wchar_t> a = ManyRows(3000, L"first text, a line");
    const std::vector<wchar_t> b = ManyRows(50, L"second");
    const std::vector<wchar_t> last = ManyRows(777, L"the final text");
    std::atomic<bool> done(false);
    // Held until the window has begun repainting: a worker that finished before the loop below
    // started would leave nothing to overlap.
    HANDLE hRepainting = ::CreateEventW(NULL, TRUE, FALSE, NULL);
    ASSERT_NE(HANDLE(NULL), hRepainting);
    std::thread worker([&] {
        ::WaitForSingleObject(hRepainting, INFINITE);
        for (int i = 0; i < 100; ++i) {
            view.SetText((i % 2 ? a : b).data(), TRUE);
            view.SetHint(i % 3 ? L"hint" : L"");
            if (i % 5 == 0)
                view.SetText(nullptr, TRUE);
        }
        view.SetText(last.data(), TRUE);
        done = true;
    });
    int nPaints = 0;
    while (!done) {
        Repaint();
        ::SetEvent(hRepainting);
        view.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
        view.CharFromPoint(20, 20);
        PumpFor(1);
        ++nPaints;
    }
    worker.join();
    ::CloseHandle(hRepainting);
    PumpFor(50);
    EXPECT_GT(nPaints, 0);
    EXPECT_EQ(777, view.GetRowCount());
    EXPECT_EQ(777 * view.GetLineHeight(), Bar(SB_VERT).nMax);
    EXPECT_FALSE(view.IsLoading());
    view.SendMessage(WM_VSCROLL, SB_TOP, 0);
    Repaint();
    EXPECT_EQ(RGB(250, 250, 250), Pixel(kViewWidth - 20, 5));
}

namespace {
// Looks at the screen at the moment SetText updates the scroll bars: after the text is split,
// before any repaint.
class BannerProbe : public CTextWnd {
public:
    COLORREF clrSeen = CLR_INVALID;
    BOOL bLoadingSeen = FALSE;
    int nWaitCursorShown = -1;  // 1 or 0 once looked at

protected:
    void UpdateScrollBars() override
    {
        if (GetRowCount() > 0 && clrSeen == CLR_INVALID) {
            HDC hdc = ::GetDC(GetSafeHwnd());
            clrSeen = ::GetPixel(hdc, 5, 5);
            ::ReleaseDC(GetSafeHwnd(), hdc);
            bLoadingSeen = IsLoading();
            nWaitCursorShown = ::GetCursor() == ::LoadCursorW(NULL, IDC_WAIT) ? 1 : 0;
        }
        CTextWnd::UpdateScrollBars();
    }
};
}  // namespace

TEST_F(TextWndTest, BannerShowsWhileTheWindowsOwnThreadSplits)
{
    BannerProbe probe;
    ASSERT_TRUE(probe.Create(&parent, CRect(10, 10, 410, 310), 1001, WS_CHILD | WS_VISIBLE));
    ::UpdateWindow(probe.GetSafeHwnd());
    probe.SetText(L"some text", TRUE);
    EXPECT_EQ(RGB(240, 240, 255), probe.clrSeen);  // drawn at once, not through a repaint
    EXPECT_TRUE(probe.bLoadingSeen);
    EXPECT_FALSE(probe.IsLoading());
    EXPECT_EQ(0, probe.nWaitCursorShown);  // not the user-interface thread: no wait cursor

    const DWORD dwSaved = g_dwUIThreadId;
    g_dwUIThreadId = ::GetCurrentThreadId();
    probe.SetText(nullptr, TRUE);
    probe.clrSeen = CLR_INVALID;
    probe.SetText(L"more text", TRUE);
    g_dwUIThreadId = dwSaved;
    EXPECT_EQ(1, probe.nWaitCursorShown);  // shown while the text is split ...
    EXPECT_NE(::GetCursor(), ::LoadCursorW(NULL, IDC_WAIT));  // ... and ended with it
}
