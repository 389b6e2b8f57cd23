// Window-free rules of the custom controls: button faces and states, busy block, splitter
// limits, scroll arithmetic, the text view's rows, layout and hit test.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "controls/BusyBarLogic.h"
#include "controls/ButtonLogic.h"
#include "controls/HyperLinkLogic.h"
#include "controls/ScrollLogic.h"
#include "controls/SplitterLogic.h"
#include "controls/TextRows.h"
#include "testutil.h"

// ---------------------------------------------------------------- gradient button

TEST(ButtonLogic, CornersClampDifferentlyForRegionAndClip)
{
    struct Case { int h, region, clip; } cases[] = {{25, 3, 3}, {45, 4, 4}, {65, 5, 6}, {90, 5, 7}, {5, 3, 3}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.region, ButtonRegionCorner(c.h)) << c.h;
        EXPECT_EQ(c.clip, ButtonClipCorner(c.h)) << c.h;
    }
}

TEST(ButtonLogic, DisabledFaceWinsOverEveryState)
{
    for (int state = 0; state <= 2; ++state) {
        const ButtonFace f = ChooseButtonFace(true, true, state);
        EXPECT_EQ(MakeColour(230, 230, 230), f.clrTop);
        EXPECT_EQ(MakeColour(200, 200, 200), f.clrBottom);
        EXPECT_EQ(MakeColour(250, 250, 250), f.clrText);
        EXPECT_EQ(0, f.nDx);
    }
}

TEST(ButtonLogic, FaceOrderHotPressedFocusedNormal)
{
    ButtonFace hot = ChooseButtonFace(false, true, kButtonHot);
    EXPECT_EQ(MakeColour(250, 200, 200), hot.clrBottom);
    EXPECT_EQ(MakeColour(130, 130, 255), hot.clrText);
    EXPECT_EQ(-1, hot.nDx);
    EXPECT_EQ(-1, hot.nDy);
    ButtonFace pressed = ChooseButtonFace(false, true, kButtonPressed);
    EXPECT_EQ(MakeColour(150, 100, 200), pressed.clrBottom);
    EXPECT_EQ(MakeColour(30, 130, 0), pressed.clrText);
    EXPECT_EQ(1, pressed.nDy);
    ButtonFace focused = ChooseButtonFace(false, true, kButtonNormal);
    EXPECT_EQ(MakeColour(230, 230, 100), focused.clrBottom);
    ButtonFace normal = ChooseButtonFace(false, false, kButtonNormal);
    EXPECT_EQ(MakeColour(250, 250, 250), normal.clrTop);
    EXPECT_EQ(MakeColour(235, 235, 235), normal.clrBottom);
    EXPECT_EQ(MakeColour(0, 0, 0), normal.clrText);
}

TEST(ButtonLogic, PressMoveOutAndBackComesBackHot)
{
    // Enter: hot, capture taken.
    ButtonHoverStep s = ButtonMouseMove(kButtonNormal, true, false, false);
    EXPECT_EQ(kButtonHot, s.nState);
    EXPECT_TRUE(s.bTakeCapture);
    EXPECT_TRUE(s.bRepaint);
    // Pressed and moving inside with the button down: stays pressed, no repaint.
    s = ButtonMouseMove(kButtonPressed, true, true, true);
    EXPECT_EQ(kButtonPressed, s.nState);
    EXPECT_FALSE(s.bTakeCapture);
    EXPECT_FALSE(s.bRepaint);
    // Out with the button held: normal, capture released.
    s = ButtonMouseMove(kButtonPressed, false, true, true);
    EXPECT_EQ(kButtonNormal, s.nState);
    EXPECT_TRUE(s.bReleaseCapture);
    // Back in, button still held: hot, not pressed.
    s = ButtonMouseMove(s.nState, true, false, true);
    EXPECT_EQ(kButtonHot, s.nState);
    // Out without capture: nothing to release, no repaint when already normal.
    s = ButtonMouseMove(kButtonNormal, false, false, false);
    EXPECT_FALSE(s.bReleaseCapture);
    EXPECT_FALSE(s.bRepaint);
}

TEST(ButtonLogic, ProgressStripBounds)
{
    const PixelRect item = {0, 0, 100, 30};
    PixelRect strip = {};
    int pos = 5, total = 0;
    EXPECT_FALSE(ButtonProgressStrip(item, &pos, &total, &strip));
    total = -3;
    EXPECT_FALSE(ButtonProgressStrip(item, &pos, &total, &strip));
    EXPECT_FALSE(ButtonProgressStrip(item, nullptr, &total, &strip));
    EXPECT_FALSE(ButtonProgressStrip(item, &pos, nullptr, &strip));
    pos = total = 7;
    ASSERT_TRUE(ButtonProgressStrip(item, &pos, &total, &strip));
    EXPECT_EQ((PixelRect{1, 24, 99, 28}), strip);  // the last column stays unfilled
    pos = 0;
    ASSERT_TRUE(ButtonProgressStrip(item, &pos, &total, &strip));
    EXPECT_LE(strip.right, strip.left);  // empty
    pos = 1;
    total = 3;  // 100 * (1/3) = 33.33 truncates to 33
    ASSERT_TRUE(ButtonProgressStrip(item, &pos, &total, &strip));
    EXPECT_EQ(32, strip.right);
    pos = 2000000000;
    total = 1;  // far past the end: bounded, no overflow
    ASSERT_TRUE(ButtonProgressStrip(item, &pos, &total, &strip));
    EXPECT_EQ(99, strip.right);
}

TEST(ButtonLogic, IconSquareFollowsStateAndCaptionCentres)
{
    int x = 0, y = 0;
    ButtonIconOrigin(kButtonHot, 0, 40, &x, &y);
    EXPECT_EQ(3, x);
    EXPECT_EQ(4, y);
    ButtonIconOrigin(kButtonPressed, 0, 40, &x, &y);
    EXPECT_EQ(5, x);
    EXPECT_EQ(6, y);
    ButtonIconOrigin(kButtonNormal, 0, 25, &x, &y);  // (25 - 32) / 2 truncates to -3
    EXPECT_EQ(4, x);
    EXPECT_EQ(-2, y);

    PixelRect t = {0, 0, 101, 41};
    CentreBlockIn(&t, 20, 30);  // dx = 40, dy = 5
    EXPECT_EQ((PixelRect{40, 5, 61, 36}), t);
}

// ---------------------------------------------------------------- busy bar

TEST(BusyBarLogic, BlockStepsPositionsAndShades)
{
    const int expected[] = {0, 26, 53, 80, 106, 133, 160, 186};
    for (int n = 0; n < 8; ++n)
        EXPECT_EQ(expected[n], BusyBlockLeft(n, 1000)) << n;
    EXPECT_EQ(6, BusyBlockLeft(4, 100));
    EXPECT_EQ(MakeColour(100, 100, 250), BusyBlockColour(3));
    EXPECT_EQ(MakeColour(110, 110, 250), BusyBlockColour(4));
    EXPECT_EQ(MakeColour(115, 115, 250), BusyBlockColour(5));
    const PixelRect r = BusyBlockRect(3, {0, 0, 300, 20});
    EXPECT_EQ((PixelRect{80, 5, 120, 15}), r);
    // A counter that has run for a very long time still lands inside the bar.
    const int nFar = BusyBlockLeft(2000000000, 300);
    EXPECT_GE(nFar, 0);
    EXPECT_LT(nFar, 300);
}

// ---------------------------------------------------------------- splitter

TEST(SplitterLogic, DragClipFromPageValues)
{
    // Page 800 wide, tree at x = 10, view ending at 790, minimum widths 200 and 300, bar 6 wide.
    const int leftEdges[] = {10};
    const int rightEdges[] = {790};
    const SplitterLimits lim = {0, 800, leftEdges, 1, rightEdges, 1, 200, 300};
    const PixelRect bar = {300, 10, 306, 500};
    PixelRect clip = {};
    ASSERT_TRUE(SplitterDragClip(lim, bar, 2, &clip));
    EXPECT_EQ(212, clip.left);            // the bar's left edge stays at 210 or more
    EXPECT_EQ(490 + 2 - 6 + 1, clip.right);  // its right edge at 490 or less
    EXPECT_EQ(10, clip.top);
    EXPECT_EQ(500, clip.bottom);
    // Leftmost cursor column: left edge lo; rightmost (clip.right - 1): right edge hi.
    EXPECT_EQ(210, clip.left - 2);
    EXPECT_EQ(490, (clip.right - 1 - 2) + 6);
}

TEST(SplitterLogic, NoRoomLeavesClipUntouched)
{
    const int leftEdges[] = {10};
    const int rightEdges[] = {400};
    const SplitterLimits lim = {0, 800, leftEdges, 1, rightEdges, 1, 200, 200};  // lo 210 >= hi 200
    PixelRect clip = {1, 2, 3, 4};
    EXPECT_FALSE(SplitterDragClip(lim, {220, 0, 226, 10}, 0, &clip));
    EXPECT_EQ((PixelRect{1, 2, 3, 4}), clip);
    // Room of 4 columns for a 6-pixel bar: no cursor column, no drag.
    const SplitterLimits narrow = {0, 800, leftEdges, 1, rightEdges, 1, 200, 186};  // lo 210, hi 214
    EXPECT_FALSE(SplitterDragClip(narrow, {210, 0, 216, 10}, 0, &clip));
    // Empty lists only drop their side's tests.
    const SplitterLimits bare = {0, 800, nullptr, 0, nullptr, 0, 10, 10};
    ASSERT_TRUE(SplitterDragClip(bare, {100, 0, 105, 10}, 0, &clip));
    EXPECT_EQ(10, clip.left);
    EXPECT_EQ(790 - 5 + 1, clip.right);
}

TEST(SplitterLogic, PanesKeepOneFreeColumn)
{
    const PixelRect bar = SplitterMovedBar({300, 10, 306, 500}, -25);
    EXPECT_EQ((PixelRect{275, 10, 281, 500}), bar);
    EXPECT_EQ((PixelRect{10, 10, 274, 500}), SplitterLeftPane({10, 10, 299, 500}, bar));
    EXPECT_EQ((PixelRect{282, 10, 790, 500}), SplitterRightPane({307, 10, 790, 500}, bar));
}

// ---------------------------------------------------------------- scrolling

namespace {
int Scroll(int code, int current, int track = 0, int page = 100, int max = 1000, int step = 20)
{
    int pos = -12345;
    const ScrollRequest req = {code, current, track, page, max, step};
    if (!ComputeScrollPos(req, &pos))
        return -12345;
    return pos;
}
}  // namespace

TEST(ScrollLogic, EveryCode)
{
    EXPECT_EQ(-19, Scroll(kScrollLineUp, 1));        // below the minimum: the bar clamps it
    EXPECT_EQ(320, Scroll(kScrollLineDown, 300));
    EXPECT_EQ(305, Scroll(kScrollLineDown, 300, 0, 400, 1000, kHorzLineStep));
    EXPECT_EQ(-100, Scroll(kScrollPageUp, 300, 0, 400));
    EXPECT_EQ(350, Scroll(kScrollPageDown, 300, 0, 50));
    EXPECT_EQ(777, Scroll(kScrollThumbTrack, 300, 777));
    EXPECT_EQ(70000, Scroll(kScrollThumbPosition, 0, 70000, 100, 100000));  // beyond 16 bits
    EXPECT_EQ(0, Scroll(kScrollTop, 300));
    EXPECT_EQ(1000, Scroll(kScrollBottom, 300));
    EXPECT_EQ(-12345, Scroll(kScrollEnd, 300));  // nothing happens
    EXPECT_EQ(300, Scroll(42, 300));             // unknown code keeps the position
    EXPECT_EQ(1000, Scroll(kScrollPageDown, 990));  // bounded above by the maximum
}

TEST(ScrollLogic, WheelAndPage)
{
    EXPECT_EQ(kScrollLineUp, WheelScrollCode(120));
    EXPECT_EQ(kScrollLineUp, WheelScrollCode(1));
    EXPECT_EQ(kScrollLineDown, WheelScrollCode(0));
    EXPECT_EQ(kScrollLineDown, WheelScrollCode(-480));
    EXPECT_EQ(82u, ScrollPageFor(100, 18, 500));
    EXPECT_EQ(500u, ScrollPageFor(600, 18, 500));
    EXPECT_EQ(500u, ScrollPageFor(10, 18, 500));  // lower than one row: the whole maximum
    EXPECT_EQ(0u, ScrollPageFor(100, 18, 0));
}

// ---------------------------------------------------------------- text rows

namespace {
struct RowView { bool bEmpty; int nOffset; };

std::vector<RowView> Split(const std::vector<wchar_t>& units, std::vector<TextRowInfo>* pRows = nullptr)
{
    std::vector<wchar_t> text(units);
    text.push_back(0);
    std::vector<TextRowInfo> rows;
    SplitTextRows(text.data(), static_cast<int>(units.size()), &rows);
    std::vector<RowView> out;
    for (const TextRowInfo& r : rows) {
        if (r.pszLine) {  // a row points at its own offset
            EXPECT_EQ(static_cast<const void*>(text.data() + r.nOffset),
                      static_cast<const void*>(r.pszLine));
        }
        out.push_back({r.pszLine == nullptr, r.nOffset});
    }
    if (pRows)
        *pRows = rows;
    return out;
}

void ExpectRows(const std::vector<RowView>& got, std::initializer_list<RowView> want, int line)
{
    ASSERT_EQ(want.size(), got.size()) << "from line " << line;
    size_t i = 0;
    for (const RowView& w : want) {
        EXPECT_EQ(w.bEmpty, got[i].bEmpty) << "row " << i << " from line " << line;
        EXPECT_EQ(w.nOffset, got[i].nOffset) << "row " << i << " from line " << line;
        ++i;
    }
}
const wchar_t CR = L'\r', LF = L'\n';
}  // namespace

TEST(TextRows, SplitBreaks)
{
    ExpectRows(Split({}), {}, __LINE__);
    ExpectRows(Split({L'a', L'b', L'c'}), {{false, 0}}, __LINE__);
    ExpectRows(Split({L'a', L'b', L'c', CR, LF}), {{false, 0}}, __LINE__);
    ExpectRows(Split({CR, LF}), {{true, 0}}, __LINE__);
    ExpectRows(Split({L'a', CR, LF, CR, LF, L'b'}), {{false, 0}, {true, 3}, {false, 5}}, __LINE__);
    ExpectRows(Split({L'a', LF, CR, L'b'}), {{false, 0}, {true, 2}, {false, 3}}, __LINE__);
    ExpectRows(Split({L'a', CR, CR, LF, L'b'}), {{false, 0}, {true, 2}, {false, 4}}, __LINE__);
    ExpectRows(Split({CR, CR, LF, LF}), {{true, 0}, {true, 1}, {true, 3}}, __LINE__);
    ExpectRows(Split({L'x', CR}), {{false, 0}}, __LINE__);  // a final lone CR adds no row
}

TEST(TextRows, CopyStopsAtBreakAndCap)
{
    std::vector<wchar_t> longLine(3000, L'x');
    longLine.push_back(0);
    std::vector<wchar_t> buf(kRowBufferSize, L'?');
    EXPECT_EQ(2499, CopyRowChars(longLine.data(), buf.data()));
    EXPECT_EQ(0, buf[2499]);
    const wchar_t line[] = {L'a', L'b', CR, LF, L'c', 0};
    EXPECT_EQ(2, CopyRowChars(line, buf.data()));
    EXPECT_EQ(0, buf[2]);
    EXPECT_EQ(3u, TextLength(L"abc"));
    EXPECT_EQ(0u, TextLength(L""));
}

TEST(TextRows, PaintLayout)
{
    int first = 0, end = 0;
    VisibleRowRange(20, 16, 100, 1000, &first, &end);
    EXPECT_EQ(1, first);
    EXPECT_EQ(100 / 16 + 1 + 2, end);
    EXPECT_EQ(-2, FirstRowTop(0, 20, 16));
    VisibleRowRange(0, 18, 500, 3, &first, &end);
    EXPECT_EQ(0, first);
    EXPECT_EQ(3, end);
    // Rows visible are bounded by the client height, not the row count.
    VisibleRowRange(18 * 500000, 18, 360, 1000000, &first, &end);
    EXPECT_EQ(500000, first);
    EXPECT_EQ(500000 + 22, end);

    EXPECT_EQ(120, NextRunningWidth(NextRunningWidth(0, 100), 115));
    EXPECT_EQ(1120, NextRunningWidth(NextRunningWidth(0, 1100), 1050));

    // "ab" CR LF "cdef" with the highlight 0..6.
    EXPECT_TRUE(RowTouchesSelection(0, 2, 0, 6));
    EXPECT_TRUE(RowTouchesSelection(4, 4, 0, 6));
    EXPECT_FALSE(RowTouchesSelection(7, 3, 0, 6));
    EXPECT_FALSE(RowTouchesSelection(0, 4, 5, 9));   // 0 + 4 < 5
    EXPECT_TRUE(RowTouchesSelection(0, 5, 5, 9));    // counts the unit after the row
}

namespace {
class FakeWidths : public CharWidthSource {
public:
    std::map<wchar_t, int> widths;
    int calls = 0;
    int CharWidth(wchar_t ch) override
    {
        ++calls;
        auto it = widths.find(ch);
        return it == widths.end() ? 7 : it->second;
    }
};
}  // namespace

TEST(TextRows, HitTest)
{
    const wchar_t text[] = {L'a', L'b', CR, LF, L'c', L'd', L'e', L'f', CR, LF, CR, LF, L'g', 0};
    std::vector<TextRowInfo> rows;
    SplitTextRows(text, 13, &rows);
    ASSERT_EQ(4u, rows.size());
    FakeWidths w;
    w.widths[L'a'] = 6;
    w.widths[L'b'] = 8;

    // Rows: lh 16, vpos 0: row 0 covers y 2..17.
    EXPECT_EQ(-1, RowIndexAt(1, 0, 16, 4));
    EXPECT_EQ(0, RowIndexAt(2, 0, 16, 4));
    EXPECT_EQ(0, RowIndexAt(17, 0, 16, 4));
    EXPECT_EQ(1, RowIndexAt(18, 0, 16, 4));
    EXPECT_EQ(3, RowIndexAt(2 + 3 * 16, 0, 16, 4));
    EXPECT_EQ(-1, RowIndexAt(2 + 4 * 16, 0, 16, 4));  // below the last row
    EXPECT_EQ(1, RowIndexAt(2, 16, 16, 4));           // scrolled by one row

    // "ab" at x 4: a spans 4..10, b spans 10..18; the boundary 10 belongs to a.
    EXPECT_EQ(-1, CharInRowAt(rows[0], 3, 0, &w));
    EXPECT_EQ(0, CharInRowAt(rows[0], 4, 0, &w));
    EXPECT_EQ(0, CharInRowAt(rows[0], 10, 0, &w));
    EXPECT_EQ(1, CharInRowAt(rows[0], 11, 0, &w));
    EXPECT_EQ(1, CharInRowAt(rows[0], 18, 0, &w));
    EXPECT_EQ(-1, CharInRowAt(rows[0], 19, 0, &w));  // right of the line
    EXPECT_EQ(1, CharInRowAt(rows[0], 11 - 5, 5, &w));  // scrolled right by 5
    EXPECT_EQ(4 + 3, CharInRowAt(rows[1], 4 + 7 * 3 + 1, 0, &w));  // offsets count the break
    EXPECT_EQ(-1, CharInRowAt(rows[2], 5, 0, &w));   // empty line
}

TEST(TextRows, HitTestStopsAtWhatPaintingShows)
{
    std::vector<wchar_t> line(3000, L'x');
    line.push_back(0);
    const TextRowInfo row = {line.data(), 10};
    FakeWidths w;
    w.widths[L'x'] = 2;
    EXPECT_EQ(10 + 2498, CharInRowAt(row, 4 + 2 * 2498 + 1, 0, &w));
    w.calls = 0;
    EXPECT_EQ(-1, CharInRowAt(row, 4 + 2 * 2499 + 1, 0, &w));  // character 2499 is never drawn
    EXPECT_EQ(kMaxRowChars, w.calls);
}

// ---------------------------------------------------------------- link


TEST(HyperLinkLogic, FallbackCommandLine)
{
    const CString target(L"http://example.test/a?b=1");
    EXPECT_EQ("\"C:\\b.exe\" -nohome  http://example.test/a?b=1",
              Utf8(BuildFallbackCommand(L"\"C:\\b.exe\" -nohome \"%1\" -extra", target)));
    EXPECT_EQ("C:\\b.exe  http://example.test/a?b=1",
              Utf8(BuildFallbackCommand(L"C:\\b.exe %1 --more", target)));
    EXPECT_EQ("C:\\b.exe -open http://example.test/a?b=1",
              Utf8(BuildFallbackCommand(L"C:\\b.exe -open", target)));
    // Far longer than any fixed buffer: nothing is cut or overrun.
    CString longCommand;
    for (int i = 0; i < 2000; ++i)
        longCommand += L'x';
    CString longTarget;
    for (int i = 0; i < 5000; ++i)
        longTarget += L'y';
    const CString line = BuildFallbackCommand(longCommand, longTarget);
    EXPECT_EQ(2000 + 1 + 5000, line.GetLength());
}

TEST(HyperLinkLogic, FitKeepsTheRightEdges)
{
    const PixelRect w = {100, 50, 200, 80};  // 100 x 30
    // Plain: left and top stay.
    EXPECT_EQ((PixelRect{100, 50, 162, 70}), FitLinkRect(w, 2, 4, 60, 16, 0));
    // Right-aligned: the right edge stays.
    EXPECT_EQ((PixelRect{138, 50, 200, 70}), FitLinkRect(w, 2, 4, 60, 16, kLinkStyleRight));
    // Centred, shrinking by an odd 38: one pixel larger than needed.
    EXPECT_EQ((PixelRect{119, 50, 181, 70}), FitLinkRect(w, 2, 4, 60, 16, kLinkStyleCenter));
    // Vertical centre kept with SS_CENTERIMAGE (30 -> 21: the half of 9 truncates to 4).
    const PixelRect c = FitLinkRect(w, 0, 5, 100, 16, kLinkStyleCenterImage);
    EXPECT_EQ(54, c.top);
    EXPECT_EQ(76, c.bottom);
    // Centred and growing by an odd amount: one pixel smaller than needed.
    const PixelRect g = FitLinkRect(w, 0, 0, 131, 30, kLinkStyleCenter);
    EXPECT_EQ(130, g.Width());
}
