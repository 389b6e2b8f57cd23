// The link control attached to real statics: caption and target, fitting to the caption,
// tooltip text, hover look and its end when the cursor leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "WindowTestUtil.h"
#include "classlib/CDC.h"
#include "classlib/CSelectGuard.h"
#include "controls/CHyperLink.h"
#include "testutil.h"

namespace {
class HyperLinkTest : public ::testing::Test {
protected:
    TestParent& parent = SharedParent(500, 300);

    HWND Static(UINT nID, const wchar_t* pszText, DWORD style, const CRect& rc)
    {
        return ::CreateWindowExW(0, L"STATIC", pszText, WS_CHILD | WS_VISIBLE | style, rc.left, rc.top,
                                 rc.Width(), rc.Height(), parent.GetSafeHwnd(),
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), NULL, NULL);
    }

    CRect InParent(CWnd& wnd)
    {
        CRect rc;
        wnd.GetWindowRect(&rc);
        parent.ScreenToClient(&rc);
        return rc;
    }

    CSize Extent(CHyperLink& link, const wchar_t* psz)
    {
        CClientDC dc(&link);
        CSelectGuard font(dc.GetSafeHdc(), link.m_fontUnderlined.GetSafeHandle());
        SIZE size = {};
        ::GetTextExtentPoint32W(dc.GetSafeHdc(), psz, lstrlenW(psz), &size);
        return CSize(size.cx, size.cy);
    }
};
}  // namespace

TEST_F(HyperLinkTest, AttachingFitsTheCaptionAndKeepsTheRightEdge)
{
    Static(2001, L"Visit us", SS_LEFT, CRect(10, 10, 300, 60));
    CHyperLink plain;
    ASSERT_TRUE(plain.SubclassDlgItem(2001, &parent));
    EXPECT_TRUE(plain.GetStyle() & SS_NOTIFY);
    EXPECT_EQ("Visit us", Utf8(plain.m_strTarget));  // no target: the caption is the target
    EXPECT_EQ(-1, plain.m_nUnderlineMode);
    const CSize ext = Extent(plain, L"Visit us");
    EXPECT_EQ(CRect(10, 10, 10 + ext.cx, 10 + ext.cy), InParent(plain));

    Static(2002, L"right", SS_RIGHT, CRect(100, 100, 400, 130));
    CHyperLink right;
    ASSERT_TRUE(right.SubclassDlgItem(2002, &parent));
    EXPECT_EQ(400, InParent(right).right);
    EXPECT_EQ(400 - Extent(right, L"right").cx, InParent(right).left);

    Static(2003, L"mid", SS_CENTER | SS_CENTERIMAGE, CRect(100, 150, 301, 201));
    CHyperLink centred;
    ASSERT_TRUE(centred.SubclassDlgItem(2003, &parent));
    const CRect rc = InParent(centred);
    EXPECT_LE(std::abs((rc.left + rc.right) - 401), 1);
    EXPECT_LE(std::abs((rc.top + rc.bottom) - 351), 1);
}

TEST_F(HyperLinkTest, TargetCaptionAndTooltip)
{
    Static(2004, L"", SS_LEFT, CRect(10, 10, 300, 40));
    CHyperLink link;
    link.SetUrl(L"mailto:someone@example.test");  // before attaching: only stored
    ASSERT_TRUE(link.SubclassDlgItem(2004, &parent));
    CString strCaption;
    link.GetWindowText(strCaption);
    EXPECT_EQ("mailto:someone@example.test", Utf8(strCaption));  // empty caption shows the target
    EXPECT_EQ("mailto:someone@example.test", Utf8(ToolTipText(link.m_tip, &link, 1)));

    const CRect before = InParent(link);
    link.SetUrl(L"http://example.test/");
    link.GetWindowText(strCaption);
    EXPECT_EQ("mailto:someone@example.test", Utf8(strCaption));  // the caption stays
    EXPECT_EQ("http://example.test/", Utf8(ToolTipText(link.m_tip, &link, 1)));
    EXPECT_EQ(before, InParent(link));  // refitted to the same caption
}

namespace {
// A link that counts the ticks of its hover timer (its only timer).
class CTickCountingLink : public CHyperLink {
public:
    int nTicks = 0;

protected:
    void OnTimer(UINT_PTR nIDEvent)
    {
        ++nTicks;
        CHyperLink::OnTimer(nIDEvent);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTickCountingLink, CHyperLink)
    ON_WM_TIMER()
END_MESSAGE_MAP()
}  // namespace

TEST_F(HyperLinkTest, HoverLookEndsWhenTheCursorLeaves)
{
    Static(2005, L"hover here", SS_LEFT, CRect(10, 10, 300, 40));
    CTickCountingLink link;
    ASSERT_TRUE(link.SubclassDlgItem(2005, &parent));
    CPoint inside(3, 3);
    link.ClientToScreen(&inside);
    ::SetCursorPos(inside.x, inside.y);
    link.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(link.m_bHover);
    EXPECT_EQ(link.m_fontUnderlined.GetSafeHandle(), reinterpret_cast<HGDIOBJ>(link.SendMessage(WM_GETFONT)));
    // Ticks with the cursor inside change nothing.
    EXPECT_TRUE(PumpUntil([&link] { return link.nTicks >= 2 || !link.m_bHover; }));
    EXPECT_TRUE(link.m_bHover);
    ::SetCursorPos(450, 250);
    EXPECT_TRUE(PumpUntil([&link] { return !link.m_bHover; }));
    EXPECT_EQ(link.m_fontPlain.GetSafeHandle(), reinterpret_cast<HGDIOBJ>(link.SendMessage(WM_GETFONT)));
    link.SetVisited(TRUE);
    EXPECT_TRUE(link.m_bVisited);
}

namespace {
bool IsHoverInk(COLORREF c) { return GetRValue(c) > 150 && GetGValue(c) < 100 && GetBValue(c) < 100; }
bool IsLinkInk(COLORREF c) { return GetBValue(c) > 150 && GetRValue(c) < 100 && GetGValue(c) < 100; }

// Pixels of one colour on the screen inside the link, and the widest row of them (an underline
// spans the caption; no row of glyphs does).
struct Ink {
    int nPixels = 0;
    int nWidestRow = 0;
};

Ink InkOnScreen(CWnd& link, bool (*isInk)(COLORREF))
{
    CRect rc;
    link.GetClientRect(&rc);
    Ink ink;
    HDC hDC = ::GetDC(link.GetSafeHwnd());
    for (int y = 0; y < rc.Height(); ++y) {
        int nRow = 0;
        for (int x = 0; x < rc.Width(); ++x)
            nRow += isInk(::GetPixel(hDC, x, y)) ? 1 : 0;
        ink.nPixels += nRow;
        ink.nWidestRow = std::max(ink.nWidestRow, nRow);
    }
    ::ReleaseDC(link.GetSafeHwnd(), hDC);
    return ink;
}
}  // namespace

// The link's background is see-through (hollow brush, nothing erased): a look that changes
// must not leave the old colour or underline behind on the screen.
TEST_F(HyperLinkTest, HoverOnAndOffLeavesNoGhostOnScreen)
{
    Static(2006, L"ghost check", SS_LEFT, CRect(10, 60, 300, 90));
    CHyperLink link;
    ASSERT_TRUE(link.SubclassDlgItem(2006, &parent));
    ::UpdateWindow(link.GetSafeHwnd());
    PumpFor(100);
    CRect rc;
    link.GetClientRect(&rc);
    const int nUnderline = rc.Width() * 3 / 4;
    const Ink before = InkOnScreen(link, IsLinkInk);
    ASSERT_GT(before.nPixels, 0);
    EXPECT_LT(before.nWidestRow, nUnderline);

    CPoint inside(3, 3);
    link.ClientToScreen(&inside);
    ::SetCursorPos(inside.x, inside.y);
    link.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    PumpFor(150);
    const Ink hover = InkOnScreen(link, IsHoverInk);
    EXPECT_GE(hover.nWidestRow, nUnderline) << "underlined while hovered";
    EXPECT_EQ(0, InkOnScreen(link, IsLinkInk).nPixels) << "the plain colour shows through";

    ::SetCursorPos(450, 250);
    ASSERT_TRUE(PumpUntil([&link] { return !link.m_bHover; }));
    PumpFor(150);
    EXPECT_EQ(0, InkOnScreen(link, IsHoverInk).nPixels) << "the hover colour or underline stays";
    const Ink after = InkOnScreen(link, IsLinkInk);
    EXPECT_GT(after.nPixels, 0);
    EXPECT_LT(after.nWidestRow, nUnderline);
}

TEST(HyperLinkRegistry, DefaultValuesUpTo259CharactersAreRead)
{
    const wchar_t* pszKey = L"Software\\QuillmendLinkTest";
    HKEY hKey = NULL;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CURRENT_USER, pszKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                                               &hKey, NULL));
    wchar_t szOut[MAX_PATH];
    lstrcpyW(szOut, L"unchanged");

    const std::wstring fits(259, L'a');
    ::RegSetValueExW(hKey, NULL, 0, REG_SZ, reinterpret_cast<const BYTE*>(fits.c_str()),
                     static_cast<DWORD>((fits.size() + 1) * sizeof(wchar_t)));
    EXPECT_EQ(ERROR_SUCCESS, CHyperLink::ReadRegistryDefault(HKEY_CURRENT_USER, pszKey, szOut));
    EXPECT_EQ(259, lstrlenW(szOut));

    // One character more does not fit the buffer: an error, and the output is left alone.
    lstrcpyW(szOut, L"unchanged");
    const std::wstring tooLong(260, L'b');
    ::RegSetValueExW(hKey, NULL, 0, REG_SZ, reinterpret_cast<const BYTE*>(tooLong.c_str()),
                     static_cast<DWORD>((tooLong.size() + 1) * sizeof(wchar_t)));
    EXPECT_NE(ERROR_SUCCESS, CHyperLink::ReadRegistryDefault(HKEY_CURRENT_USER, pszKey, szOut));
    EXPECT_EQ("unchanged", Utf8(szOut));
    ::RegCloseKey(hKey);
    ::RegDeleteKeyW(HKEY_CURRENT_USER, pszKey);

    EXPECT_EQ(ERROR_FILE_NOT_FOUND, CHyperLink::ReadRegistryDefault(HKEY_CURRENT_USER, pszKey, szOut));
    EXPECT_EQ("unchanged", Utf8(szOut));
}
