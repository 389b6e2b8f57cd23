// The scrollable window base: creation and its hook, page amounts, the scroll hook's calls at
// the range's ends, the wheel's one line, and the window's own cursor.
#include <gtest/gtest.h>

#include "WindowTestUtil.h"
#include "controls/CWndEx.h"

namespace {
class CountingWnd : public CWndEx {
public:
    int nCreated = 0, nScrolled = 0, nBarUpdates = 0;
    void OnCreateHook() override { ++nCreated; }
    void OnScrollHook() override { ++nScrolled; }
    void UpdateScrollBars() override
    {
        ++nBarUpdates;
        SCROLLINFO si = {sizeof(si), SIF_RANGE | SIF_PAGE, 1, 1000, 100, 0, 0};
        SetScrollInfo(SB_VERT, &si, TRUE);
        SetScrollInfo(SB_HORZ, &si, TRUE);
    }
};

class WndExTest : public ::testing::Test {
protected:
    TestParent& parent = SharedParent(500, 400);
};
}  // namespace

TEST_F(WndExTest, CreateCallsTheHookOnlyForAWindow)
{
    CountingWnd orphan;
    EXPECT_FALSE(orphan.Create(nullptr, CRect(0, 0, 10, 10), 1, WS_CHILD));  // a child needs a parent
    EXPECT_EQ(0, orphan.nCreated);

    CountingWnd wnd;
    ASSERT_TRUE(wnd.Create(&parent, CRect(10, 10, 310, 210), 1000, WS_CHILD | WS_VISIBLE));
    EXPECT_EQ(1, wnd.nCreated);
    EXPECT_GE(wnd.nBarUpdates, 1);  // the WM_SIZE of creation
    EXPECT_NE(nullptr, wnd.m_memDC.GetSafeHdc());
    EXPECT_EQ(wnd.m_font.GetSafeHandle(), ::GetCurrentObject(wnd.m_memDC.GetSafeHdc(), OBJ_FONT));
}

TEST_F(WndExTest, ScrollCodesPagesAndHookCalls)
{
    CountingWnd wnd;
    ASSERT_TRUE(wnd.Create(&parent, CRect(10, 10, 310, 210), 1000, WS_CHILD | WS_VISIBLE));
    wnd.nScrolled = 0;
    wnd.SendMessage(WM_VSCROLL, SB_LINEUP, 0);  // at the minimum: stays, hook still called
    EXPECT_EQ(1, wnd.GetScrollPos(SB_VERT));
    EXPECT_EQ(1, wnd.nScrolled);
    wnd.SendMessage(WM_VSCROLL, SB_ENDSCROLL, 0);
    EXPECT_EQ(1, wnd.nScrolled);  // no hook

    CRect rc;
    wnd.GetClientRect(&rc);
    wnd.SetScrollPos(SB_HORZ, 300);
    wnd.SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(305, wnd.GetScrollPos(SB_HORZ));
    wnd.SendMessage(WM_HSCROLL, SB_PAGELEFT, 0);
    EXPECT_EQ(std::max(1, 305 - rc.Width()), wnd.GetScrollPos(SB_HORZ));

    wnd.m_nVPage = 50;  // a fixed page whatever the size
    wnd.SetScrollPos(SB_VERT, 100);
    wnd.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(150, wnd.GetScrollPos(SB_VERT));
    wnd.SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(1000 - 100 + 1, wnd.GetScrollPos(SB_VERT));  // the start of the last page

    wnd.SetScrollPos(SB_VERT, 500);
    wnd.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 3 * WHEEL_DELTA), 0);
    PumpFor(30);
    EXPECT_EQ(480, wnd.GetScrollPos(SB_VERT));  // one line whatever the delta
    wnd.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 0), 0);
    PumpFor(30);
    EXPECT_EQ(500, wnd.GetScrollPos(SB_VERT));  // a delta of 0 scrolls down
}

TEST_F(WndExTest, OwnCursorOnlyWhenAsked)
{
    CountingWnd wnd;
    ASSERT_TRUE(wnd.Create(&parent, CRect(10, 10, 310, 210), 1000, WS_CHILD | WS_VISIBLE));
    HCURSOR hCross = ::LoadCursor(NULL, IDC_CROSS);
    wnd.m_bOwnCursor = TRUE;
    wnd.m_hOwnCursor = hCross;
    EXPECT_TRUE(wnd.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd.GetSafeHwnd()),
                                MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(hCross, ::GetCursor());
}
