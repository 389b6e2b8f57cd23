// The gradient button in real windows: owner-draw style and round region, its face, frame,
// caption and strip painted into a memory DC, and its states driven by mouse messages.
#include <gtest/gtest.h>

#include "WindowTestUtil.h"
#include "controls/ButtonLogic.h"
#include "controls/CButtonEx.h"

namespace {
const COLORREF kMarker = RGB(1, 2, 3);

class ButtonExTest : public ::testing::Test {
protected:
    TestParent& parent = SharedParent(400, 300);

    // Paints the button as its parent's WM_DRAWITEM would, into a canvas of the item's size.
    void Paint(CButtonEx& btn, MemoryCanvas& canvas, int cx, int cy, UINT itemState)
    {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_BUTTON;
        dis.hwndItem = btn.GetSafeHwnd();
        dis.hDC = canvas.dc();
        dis.rcItem = {0, 0, cx, cy};
        dis.itemState = itemState;
        btn.DrawItem(&dis);
    }
};

// Bounding box of the pixels that are clearly the pressed caption's green.
CRect InkBox(const MemoryCanvas& canvas, int cx, int cy)
{
    CRect box(cx, cy, -1, -1);
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x) {
            const COLORREF c = canvas.Pixel(x, y);
            if (GetGValue(c) > GetRValue(c) + 40 && GetGValue(c) > GetBValue(c) + 40) {
                box.left = std::min<int>(box.left, x);
                box.top = std::min<int>(box.top, y);
                box.right = std::max<int>(box.right, x + 1);
                box.bottom = std::max<int>(box.bottom, y + 1);
            }
        }
    return box;
}
}  // namespace

TEST_F(ButtonExTest, CreatedAndSubclassedButtonsBecomeOwnerDrawnAndRound)
{
    CButtonEx created;
    ASSERT_TRUE(created.CreateEx(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, CRect(10, 10, 110, 75),
                                 &parent, 1004));
    EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), created.GetStyle() & BS_TYPEMASK);

    HWND hRaw = ::CreateWindowExW(0, L"BUTTON", L"Back", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 120, 10,
                                  100, 25, parent.GetSafeHwnd(), reinterpret_cast<HMENU>(1005), NULL, NULL);
    ASSERT_NE(nullptr, hRaw);
    CButtonEx attached;
    ASSERT_TRUE(attached.SubclassDlgItem(1005, &parent));
    EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), attached.GetStyle() & BS_TYPEMASK);
    EXPECT_TRUE(attached.GetStyle() & WS_VISIBLE);  // only the button type changed

    for (CButtonEx* pBtn : {&created, &attached}) {
        HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(ERROR, ::GetWindowRgn(pBtn->GetSafeHwnd(), hRgn));
        CRect rc;
        pBtn->GetWindowRect(&rc);
        EXPECT_FALSE(::PtInRegion(hRgn, 0, 0));  // the corner is cut
        EXPECT_TRUE(::PtInRegion(hRgn, rc.Width() / 2, rc.Height() / 2));
        EXPECT_TRUE(::PtInRegion(hRgn, rc.Width() / 2, 0));
        ::DeleteObject(hRgn);
    }
    // Resizing gives the region the new size.
    created.MoveWindow(10, 10, 200, 90);
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, ::GetWindowRgn(created.GetSafeHwnd(), hRgn));
    CRect box, expected;
    ::GetRgnBox(hRgn, &box);
    HRGN hExpected = ::CreateRoundRectRgn(0, 0, 200, 90, 5, 5);  // corner 90 / 10, at most 5
    ::GetRgnBox(hExpected, &expected);
    EXPECT_EQ(expected, box);
    ::DeleteObject(hExpected);
    ::DeleteObject(hRgn);
}

TEST_F(ButtonExTest, FaceFrameClipAndProgressStrip)
{
    const int cx = 120, cy = 40;
    CButtonEx btn;
    ASSERT_TRUE(CreateBoundControl(btn, L"BUTTON", L"", WS_CHILD | WS_VISIBLE, CRect(10, 10, 10 + cx, 10 + cy), &parent, 1004));
    // The clip's own outline: the frame runs along it (a round region ends one pixel inside the
    // rectangle's right and bottom edges).
    HRGN hClip = ::CreateRoundRectRgn(0, 0, cx, cy, 4, 4);
    CRect outline;
    ::GetRgnBox(hClip, &outline);
    ::DeleteObject(hClip);
    const int bottom = outline.bottom - 1;
    int pos = 7, total = 7;
    btn.m_pnProgressPos = &pos;
    btn.m_pnProgressTotal = &total;
    {
        MemoryCanvas canvas(cx, cy, kMarker);
        Paint(btn, canvas, cx, cy, 0);
        EXPECT_EQ(kMarker, canvas.Pixel(0, 0));  // outside the round clip
        EXPECT_TRUE(ColourNear(RGB(100, 100, 150), canvas.Pixel(cx / 2, 0), 0));  // frame
        EXPECT_TRUE(ColourNear(RGB(100, 100, 150), canvas.Pixel(cx / 2, bottom), 0));
        EXPECT_TRUE(ColourNear(RGB(250, 250, 250), canvas.Pixel(cx / 2, 1), 2));  // gradient top
        // The strip covers x 1 .. R.right - 2 and y bottom - 6 .. bottom - 3.
        EXPECT_EQ(RGB(10, 230, 10), canvas.Pixel(1, cy - 6));
        EXPECT_EQ(RGB(10, 230, 10), canvas.Pixel(cx - 2, cy - 3));
        EXPECT_NE(RGB(10, 230, 10), canvas.Pixel(cx - 1, cy - 4));  // the last column stays
        EXPECT_NE(RGB(10, 230, 10), canvas.Pixel(cx / 2, cy - 7));
        EXPECT_NE(RGB(10, 230, 10), canvas.Pixel(cx / 2, cy - 2));
    }
    pos = 0;  // an empty strip
    {
        MemoryCanvas canvas(cx, cy, kMarker);
        Paint(btn, canvas, cx, cy, 0);
        EXPECT_NE(RGB(10, 230, 10), canvas.Pixel(1, cy - 4));
        EXPECT_TRUE(ColourNear(RGB(235, 235, 235), canvas.Pixel(cx / 2, bottom - 1), 2));  // bottom
    }
    total = 0;  // no strip at all; the disabled face whatever the state
    btn.m_nState = kButtonHot;
    {
        MemoryCanvas canvas(cx, cy, kMarker);
        Paint(btn, canvas, cx, cy, ODS_DISABLED);
        EXPECT_TRUE(ColourNear(RGB(230, 230, 230), canvas.Pixel(cx / 2, 1), 2));
        EXPECT_TRUE(ColourNear(RGB(200, 200, 200), canvas.Pixel(cx / 2, bottom - 1), 2));
    }
}

TEST_F(ButtonExTest, CaptionsAreCentredOnOneLineOrAsABlock)
{
    const int cx = 140, cy = 60;
    CButtonEx btn;
    ASSERT_TRUE(
        CreateBoundControl(btn, L"BUTTON", L"A\nBC", WS_CHILD | WS_VISIBLE, CRect(10, 10, 10 + cx, 10 + cy), &parent, 1004));
    btn.m_nState = kButtonPressed;  // green caption, moved by (+1, +1)
    HGDIOBJ hFont = ::GetStockObject(DEFAULT_GUI_FONT);

    MemoryCanvas canvas(cx, cy, kMarker);
    ::SelectObject(canvas.dc(), hFont);
    Paint(btn, canvas, cx, cy, 0);
    CRect block(0, 0, 0, 0);
    ::DrawTextW(canvas.dc(), L"A\nBC", -1, &block, DT_CALCRECT);
    CRect expected(1, 1, cx + 1, cy + 1);
    expected.DeflateRect((expected.Width() - block.Width()) / 2, (expected.Height() - block.Height()) / 2);
    const CRect ink = InkBox(canvas, cx, cy);
    ASSERT_LT(ink.left, ink.right) << "no caption drawn";
    EXPECT_GE(ink.left, expected.left);
    EXPECT_LE(ink.right, expected.right);
    EXPECT_GE(ink.top, expected.top);
    EXPECT_LE(ink.bottom, expected.top + block.Height());
    EXPECT_GT(ink.Height(), block.Height() / 2);  // two lines, not one
    EXPECT_LE(std::abs((ink.left + ink.right) - (expected.left + expected.right)), 4);

    // One line: centred both ways in the whole (offset) rectangle.
    btn.SetWindowText(L"BC");
    MemoryCanvas one(cx, cy, kMarker);
    ::SelectObject(one.dc(), hFont);
    Paint(btn, one, cx, cy, 0);
    CRect line(0, 0, 0, 0);
    ::DrawTextW(one.dc(), L"BC", -1, &line, DT_CALCRECT | DT_SINGLELINE);
    const CRect inkOne = InkBox(one, cx, cy);
    ASSERT_LT(inkOne.left, inkOne.right);
    EXPECT_LE(inkOne.Height(), line.Height());
    EXPECT_LE(std::abs((inkOne.top + inkOne.bottom) - (cy + 2)), line.Height() / 2 + 2);
    EXPECT_LE(std::abs((inkOne.left + inkOne.right) - (cx + 2)), 4);

    // Empty: face and frame only.
    btn.SetWindowText(L"");
    MemoryCanvas none(cx, cy, kMarker);
    Paint(btn, none, cx, cy, 0);
    const CRect inkNone = InkBox(none, cx, cy);
    EXPECT_GE(inkNone.left, inkNone.right);
}

TEST_F(ButtonExTest, HoverPressLeaveComeBackAndLoseFocus)
{
    CButtonEx btn;
    ASSERT_TRUE(CreateBoundControl(btn, L"BUTTON", L"Go", WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 40), &parent, 1004));
    btn.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(kButtonHot, btn.m_nState);
    EXPECT_EQ(btn.GetSafeHwnd(), ::GetCapture());
    btn.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(kButtonPressed, btn.m_nState);
    btn.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-30, 10));
    EXPECT_EQ(kButtonNormal, btn.m_nState);
    EXPECT_NE(btn.GetSafeHwnd(), ::GetCapture());
    btn.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(kButtonHot, btn.m_nState);  // back as hot, not pressed
    btn.SendMessage(WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(kButtonNormal, btn.m_nState);
    ::ReleaseCapture();
}
