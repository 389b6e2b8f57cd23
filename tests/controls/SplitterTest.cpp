// The splitter bar in a real parent: drags driven by posted mouse and key messages, the moved
// bar and panes, the posted command, the limits and the bar's paint.
#include <gtest/gtest.h>

#include "WindowTestUtil.h"
#include "controls/CSplitterWndX.h"

namespace {
const UINT kTreeId = 1029;
const UINT kViewId = 1000;
const UINT kBarId = 1030;

class SplitterTest : public ::testing::Test {
protected:
    TestParent& parent = SharedParent(800, 400);
    CSplitterWndX bar;
    HWND hTree = NULL, hView = NULL;

    void SetUp() override
    {
        hTree = Child(kTreeId, CRect(10, 10, 299, 390));
        hView = Child(kViewId, CRect(306, 10, 790, 390));
        ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE, CRect(300, 10, 305, 390), kBarId, &parent));
        bar.AddLeftControl(kTreeId);
        bar.AddRightControl(kViewId);
        bar.SetMinPaneWidths(200, 300);
        ::UpdateWindow(parent.GetSafeHwnd());
        DrainCommands();
    }

    HWND Child(UINT nID, const CRect& rc)
    {
        return ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_SUNKEN, rc.left, rc.top,
                                 rc.Width(), rc.Height(), parent.GetSafeHwnd(),
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), NULL, NULL);
    }

    CRect InParent(HWND h)
    {
        CRect rc;
        ::GetWindowRect(h, &rc);
        parent.ScreenToClient(&rc);
        return rc;
    }

    // Puts the cursor on the bar at client x of the bar, queues the drag's messages and presses.
    void Drag(int grabX, const std::vector<MSG>& queued)
    {
        CPoint pt(grabX, 100);
        bar.ClientToScreen(&pt);
        ::SetCursorPos(pt.x, pt.y);
        for (const MSG& m : queued)
            ::PostMessage(m.hwnd ? m.hwnd : bar.GetSafeHwnd(), m.message, m.wParam, m.lParam);
        bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grabX, 100));
    }

    static MSG Msg(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        MSG m = {};
        m.message = message;
        m.wParam = wParam;
        m.lParam = lParam;
        return m;
    }
    static MSG MoveTo(int x) { return Msg(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(x), 100)); }

    // Number of posted command-1245 messages waiting for the parent (removed).
    int DrainCommands()
    {
        int n = 0;
        MSG msg;
        while (::PeekMessage(&msg, parent.GetSafeHwnd(), WM_COMMAND, WM_COMMAND, PM_REMOVE))
            if (msg.wParam == MAKEWPARAM(kSplitterMovedCommand, 0) && msg.lParam == 0)
                ++n;
        return n;
    }
};
}  // namespace

TEST_F(SplitterTest, DragMovesBarAndPanesAndTellsTheParent)
{
    Drag(2, {MoveTo(-20), MoveTo(-38), Msg(WM_LBUTTONUP)});
    EXPECT_EQ(CRect(260, 10, 265, 390), InParent(bar.GetSafeHwnd()));
    EXPECT_EQ(CRect(10, 10, 259, 390), InParent(hTree));   // one free column left of the bar
    EXPECT_EQ(CRect(266, 10, 790, 390), InParent(hView));  // and one right of it
    EXPECT_EQ(1, DrainCommands());
    EXPECT_EQ(NULL, ::GetCapture());
    RECT clip;
    ::GetClipCursor(&clip);
    EXPECT_GE(clip.right - clip.left, 800);  // the cursor is free again
}

TEST_F(SplitterTest, ClickOrReturnToGrabColumnMovesNothing)
{
    Drag(2, {Msg(WM_LBUTTONUP)});
    EXPECT_EQ(CRect(300, 10, 305, 390), InParent(bar.GetSafeHwnd()));
    EXPECT_EQ(0, DrainCommands());
    Drag(2, {MoveTo(40), MoveTo(2), Msg(WM_LBUTTONUP)});
    EXPECT_EQ(CRect(300, 10, 305, 390), InParent(bar.GetSafeHwnd()));
    EXPECT_EQ(0, DrainCommands());
}

TEST_F(SplitterTest, EscAndRightButtonEndAtTheLastPosition)
{
    Drag(2, {MoveTo(52), Msg(WM_KEYDOWN, 'A'), Msg(WM_KEYDOWN, VK_ESCAPE), MoveTo(90)});
    EXPECT_EQ(CRect(350, 10, 355, 390), InParent(bar.GetSafeHwnd()));
    EXPECT_EQ(1, DrainCommands());
    MSG msg;
    EXPECT_TRUE(::PeekMessage(&msg, bar.GetSafeHwnd(), WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE));  // left queued
    Drag(2, {MoveTo(-8), Msg(WM_RBUTTONDOWN)});
    EXPECT_EQ(CRect(340, 10, 345, 390), InParent(bar.GetSafeHwnd()));
    EXPECT_EQ(1, DrainCommands());
}

TEST_F(SplitterTest, QuitDuringDragEndsItAndStaysQueued)
{
    Drag(2, {MoveTo(-10), Msg(WM_QUIT, 7)});
    EXPECT_EQ(CRect(288, 10, 293, 390), InParent(bar.GetSafeHwnd()));
    EXPECT_EQ(NULL, ::GetCapture());
    MSG msg;
    ASSERT_TRUE(::PeekMessage(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
    EXPECT_EQ(1, DrainCommands());
}

TEST_F(SplitterTest, LimitsFollowTheMinimumWidths)
{
    RECT clip;
    ASSERT_TRUE(bar.GetDragRect(&clip, 2, 50));
    CRect client;
    parent.GetClientRect(&client);
    parent.ClientToScreen(&client);
    // The bar's left edge stays at 210 or more, its right edge at 790 - 300 = 490 or less.
    EXPECT_EQ(client.left + 210 + 2, clip.left);
    EXPECT_EQ(client.left + 490 + 2 - 5 + 1, clip.right);

    bar.SetMinPaneWidths(200, 600);  // lo 210 >= hi min(800 - 600, 790 - 600) = 190: no drag
    EXPECT_FALSE(bar.GetDragRect(&clip, 2, 50));
    Drag(2, {MoveTo(-20), Msg(WM_LBUTTONUP)});
    EXPECT_EQ(CRect(300, 10, 305, 390), InParent(bar.GetSafeHwnd()));
    EXPECT_EQ(NULL, ::GetCapture());
    MSG msg;  // the queued messages were not taken by a drag
    EXPECT_TRUE(::PeekMessage(&msg, bar.GetSafeHwnd(), WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE));
    PumpFor(20);
}

TEST_F(SplitterTest, PaintsFillAndThreeEdgesAndShowsItsCursor)
{
    bar.MoveWindow(300, 10, 8, 380, TRUE);
    ::UpdateWindow(bar.GetSafeHwnd());
    HDC hdc = ::GetDC(bar.GetSafeHwnd());
    EXPECT_EQ(RGB(220, 230, 240), ::GetPixel(hdc, 3, 100));
    EXPECT_EQ(RGB(220, 230, 240), ::GetPixel(hdc, 7, 100));  // right column: no line
    EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(hdc, 0, 100));
    EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(hdc, 3, 0));
    EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(hdc, 3, 379));
    ::ReleaseDC(bar.GetSafeHwnd(), hdc);
    EXPECT_NE(nullptr, bar.m_hCursor);  // resource 136
}
