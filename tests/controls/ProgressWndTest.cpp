// The busy bar in a real window: the moving block's place and shade, the text colours, the
// shared step, and text and animation switched from a worker thread.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "WindowTestUtil.h"
#include "controls/BusyBarLogic.h"
#include "controls/CProgressWnd.h"
#include "testutil.h"

namespace {
// A timer of the tests' own on the bar, slower than the animation's 300 ms: while the
// animation's timer runs, it ticks before this one does.
const UINT_PTR kMarkerTimerId = 0x7E57;
const UINT kMarkerTimerMs = 600;

// A busy bar that counts its animation timer's ticks apart from the marker's.
class CTickCountingBar : public CProgressWnd {
public:
    int nAnimationTicks = 0;
    int nMarkerTicks = 0;

protected:
    void OnTimer(UINT_PTR nIDEvent)
    {
        if (nIDEvent == kMarkerTimerId) {
            KillTimer(kMarkerTimerId);
            ++nMarkerTicks;
            return;
        }
        ++nAnimationTicks;
        CProgressWnd::OnTimer(nIDEvent);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTickCountingBar, CProgressWnd)
    ON_WM_TIMER()
END_MESSAGE_MAP()

class ProgressWndTest : public ::testing::Test {
protected:
    TestParent& parent = SharedParent(500, 200);
    CTickCountingBar bar;

    void SetUp() override
    {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_PROGRESS_CLASS};
        ::InitCommonControlsEx(&icc);
        ASSERT_TRUE(CreateBoundControl(bar, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | PBS_SMOOTH,
                                       CRect(10, 10, 410, 40), &parent, 1004));
        bar.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        ::UpdateWindow(bar.GetSafeHwnd());
    }

    void Repaint()
    {
        bar.InvalidateRect(NULL, FALSE);
        ::UpdateWindow(bar.GetSafeHwnd());
    }

    COLORREF Pixel(int x, int y)
    {
        HDC hdc = ::GetDC(bar.GetSafeHwnd());
        const COLORREF c = ::GetPixel(hdc, x, y);
        ::ReleaseDC(bar.GetSafeHwnd(), hdc);
        return c;
    }

    int Count(COLORREF clr)
    {
        CRect rc;
        bar.GetClientRect(&rc);
        HDC hdc = ::GetDC(bar.GetSafeHwnd());
        int n = 0;
        for (int y = 0; y < rc.bottom; ++y)
            for (int x = 0; x < rc.right; ++x)
                n += ::GetPixel(hdc, x, y) == clr;
        ::ReleaseDC(bar.GetSafeHwnd(), hdc);
        return n;
    }
};
}  // namespace

TEST_F(ProgressWndTest, AnimatedPaintDrawsTheBlockAndAdvancesTheStep)
{
    bar.SetAnimate(TRUE);
    const int n = CProgressWnd::GetBlockStep();
    Repaint();
    EXPECT_EQ(n + 1, CProgressWnd::GetBlockStep());
    CRect rc;
    bar.GetClientRect(&rc);
    const int x = BusyBlockLeft(n, rc.Width());
    const COLORREF shade = BusyBlockColour(n);
    EXPECT_EQ(shade, Pixel(x, rc.Height() / 2));  // the block's left column, cut off or not
    EXPECT_NE(shade, Pixel((x + 60) % rc.Width(), 2));  // 5 pixels clear of the top

    bar.SetText(L"WWWW");
    Repaint();
    EXPECT_GT(Count(RGB(10, 10, 50)), 0);
    bar.SetAnimate(FALSE);
    const int nStill = CProgressWnd::GetBlockStep();
    Repaint();
    EXPECT_EQ(nStill, CProgressWnd::GetBlockStep());  // still: no step
    EXPECT_GT(Count(RGB(255, 0, 255)), 0);
    EXPECT_EQ(0, Count(RGB(100, 100, 250)) + Count(RGB(110, 110, 250)) + Count(RGB(115, 115, 250)));
    bar.SetText(L"");
    Repaint();
    EXPECT_EQ(0, Count(RGB(255, 0, 255)));
}

TEST_F(ProgressWndTest, WorkerSwitchesTextAndAnimation)
{
    RunWorkerPumping([this] {
        bar.SetText(L"");
        bar.SetAnimate(TRUE);  // the timer is started on the window's thread
        bar.SetText(L"repairing");
    });
    const int n = CProgressWnd::GetBlockStep();
    EXPECT_TRUE(PumpUntil([n] { return CProgressWnd::GetBlockStep() >= n + 2; }));  // ticks
    EXPECT_EQ("repairing", Utf8(bar.GetText()));

    RunWorkerPumping([this] {
        bar.SetText(L"");
        bar.SetAnimate(FALSE);
    });
    const int nStopped = CProgressWnd::GetBlockStep();
    const int nTicks = bar.nAnimationTicks;
    bar.SetTimer(kMarkerTimerId, kMarkerTimerMs);
    ASSERT_TRUE(PumpUntil([this] { return bar.nMarkerTicks == 1; }));
    EXPECT_EQ(nTicks, bar.nAnimationTicks) << "the animation's timer ticks no more";
    EXPECT_EQ(nStopped, CProgressWnd::GetBlockStep());
    EXPECT_FALSE(bar.IsAnimating());
}

TEST_F(ProgressWndTest, ZeroWidthDrawsNoBlock)
{
    bar.MoveWindow(10, 10, 2, 30);  // the border leaves no client width
    bar.SetAnimate(TRUE);
    const int n = CProgressWnd::GetBlockStep();
    Repaint();
    EXPECT_EQ(n, CProgressWnd::GetBlockStep());
    bar.SetAnimate(FALSE);
}
