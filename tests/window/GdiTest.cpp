// GDI wrappers drawing into memory bitmaps: ownership of handles, selection guards, the drag
// rectangle, state drawing and painting through CPaintDC.
#include <gtest/gtest.h>

#include "WindowTestUtil.h"
#include "classlib/Window.h"

namespace {

// A memory DC with a 24-bit bitmap of w x h, filled white.
class MemoryCanvas {
public:
    MemoryCanvas(int w, int h)
    {
        CClientDC screen(nullptr);
        dc.CreateCompatibleDC(&screen);
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = w;
        bmi.bmiHeader.biHeight = -h;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 24;
        void* pBits = nullptr;
        bitmap.Attach(::CreateDIBSection(screen.m_hDC, &bmi, DIB_RGB_COLORS, &pBits, NULL, 0));
        pOld = dc.SelectObject(&bitmap);
        const CRect all(0, 0, w, h);
        dc.FillSolidRect(&all, RGB(255, 255, 255));
    }
    ~MemoryCanvas() { dc.SelectObject(pOld); }
    COLORREF Pixel(int x, int y) const { return ::GetPixel(dc.m_hDC, x, y); }
    CDC dc;
    CBitmap bitmap;
    CBitmap* pOld = nullptr;
};

}  // namespace

TEST(Gdi, OwningWrappersDeleteTheirHandlesBorrowingOnesNever)
{
    HGDIOBJ hOwned = NULL;
    {
        CBrush brush(RGB(1, 2, 3));
        hOwned = brush.m_hObject;
        EXPECT_TRUE(brush.IsOwner());
        EXPECT_EQ(static_cast<DWORD>(::GetObjectType(hOwned)), static_cast<DWORD>(OBJ_BRUSH));
    }
    EXPECT_EQ(::GetObjectType(hOwned), 0u) << "deleted with its wrapper";

    LOGFONTW lf = {};
    lf.lfHeight = -11;
    HFONT hFont = ::CreateFontIndirectW(&lf);
    CFont* pBorrowed = CFont::FromHandle(hFont);
    EXPECT_FALSE(pBorrowed->IsOwner());
    EXPECT_EQ(CFont::FromHandle(hFont), pBorrowed);
    AfxFreeTemporaryWrappers();
    EXPECT_EQ(static_cast<DWORD>(::GetObjectType(hFont)), static_cast<DWORD>(OBJ_FONT)) << "a temporary never deletes";
    {
        CFont font;
        font.Attach(hFont);  // ownership passes to the wrapper
    }
    EXPECT_EQ(::GetObjectType(hFont), 0u);

    CBrush detached(RGB(4, 5, 6));
    HGDIOBJ hKept = detached.Detach();
    EXPECT_EQ(detached.m_hObject, HGDIOBJ(NULL));
    EXPECT_TRUE(::DeleteObject(hKept));
}

TEST(Gdi, SelectGuardPutsBackWhatItReplaced)
{
    MemoryCanvas canvas(20, 20);
    CFont font;
    ASSERT_TRUE(font.CreateFont(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, FF_SWISS, L"Arial"));
    LOGFONTW lf = {};
    EXPECT_GT(font.GetLogFont(&lf), 0);
    EXPECT_EQ(lf.lfHeight, 12);
    HGDIOBJ hBefore = ::GetCurrentObject(canvas.dc.m_hDC, OBJ_FONT);
    {
        CSelectGuard guard(canvas.dc.m_hDC, font.m_hObject);
        EXPECT_EQ(::GetCurrentObject(canvas.dc.m_hDC, OBJ_FONT), font.m_hObject);
    }
    EXPECT_EQ(::GetCurrentObject(canvas.dc.m_hDC, OBJ_FONT), hBefore);
    CFont* pOld = canvas.dc.SelectObject(&font);
    EXPECT_EQ(pOld->m_hObject, hBefore);
    EXPECT_EQ(canvas.dc.SelectObject(pOld)->m_hObject, font.m_hObject);
}

TEST(Gdi, DragRectangleInvertsTheFrameAndMovesWithoutLeavingTraces)
{
    MemoryCanvas canvas(60, 40);
    const CRect first(10, 5, 20, 35);
    canvas.dc.DrawDragRect(&first, CSize(10, 30), nullptr, CSize(0, 0));
    // The halftone pattern inverts every other pixel: neighbours differ, pixels outside stay white.
    const COLORREF a = canvas.Pixel(12, 10);
    const COLORREF b = canvas.Pixel(13, 10);
    EXPECT_NE(a, b);
    EXPECT_TRUE(a == RGB(0, 0, 0) || b == RGB(0, 0, 0));
    EXPECT_EQ(canvas.Pixel(5, 10), RGB(255, 255, 255));

    const CRect second(25, 5, 35, 35);
    canvas.dc.DrawDragRect(&second, CSize(10, 30), &first, CSize(10, 30));
    EXPECT_EQ(canvas.Pixel(12, 10), RGB(255, 255, 255)) << "the old frame is erased";
    EXPECT_EQ(canvas.Pixel(13, 10), RGB(255, 255, 255));
    EXPECT_NE(canvas.Pixel(27, 10), canvas.Pixel(28, 10));

    const CRect overlapping(30, 5, 40, 35);  // overlaps the frame at 30..34
    canvas.dc.DrawDragRect(&overlapping, CSize(10, 30), &second, CSize(10, 30));
    canvas.dc.DrawDragRect(&overlapping, CSize(10, 30), nullptr, CSize(0, 0));
    for (int x = 0; x < 60; ++x)
        ASSERT_EQ(canvas.Pixel(x, 10), RGB(255, 255, 255)) << "x = " << x;

    // A thin frame leaves its inside alone.
    const CRect hollow(5, 5, 45, 35);
    canvas.dc.DrawDragRect(&hollow, CSize(2, 2), nullptr, CSize(0, 0));
    EXPECT_EQ(canvas.Pixel(20, 20), RGB(255, 255, 255));
    EXPECT_NE(canvas.Pixel(5, 20), canvas.Pixel(5, 21));
}

TEST(Gdi, StateDrawingRegionsAndLines)
{
    MemoryCanvas canvas(40, 40);
    HICON hIcon = ::LoadIconW(NULL, IDI_APPLICATION);
    EXPECT_TRUE(canvas.dc.DrawState(CPoint(0, 0), CSize(32, 32), hIcon, DSS_NORMAL));
    EXPECT_TRUE(canvas.dc.DrawIcon(4, 4, hIcon));

    CRgn round;
    ASSERT_TRUE(round.CreateRoundRectRgn(0, 0, 40, 40, 10, 10));
    EXPECT_FALSE(::PtInRegion(round, 0, 0)) << "corners are cut";
    EXPECT_TRUE(::PtInRegion(round, 20, 20));
    CRgn square;
    ASSERT_TRUE(square.CreateRectRgn(0, 0, 10, 10));
    CRgn both;
    ASSERT_TRUE(both.CreateRectRgn(0, 0, 0, 0));
    EXPECT_NE(both.CombineRgn(&round, &square, RGN_OR), ERROR);
    EXPECT_TRUE(::PtInRegion(both, 0, 0));
    CRect box;
    EXPECT_NE(::GetRgnBox(both, &box), ERROR);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_GE(box.right, 39);

    const CRect all(0, 0, 40, 40);
    canvas.dc.FillSolidRect(&all, RGB(255, 255, 255));
    CBrush frame(RGB(0, 0, 255));
    EXPECT_TRUE(canvas.dc.FrameRgn(&square, &frame, 1, 1));
    EXPECT_EQ(canvas.Pixel(0, 5), RGB(0, 0, 255));
    EXPECT_EQ(canvas.Pixel(5, 5), RGB(255, 255, 255));
    EXPECT_EQ(canvas.dc.SelectClipRgn(&square, RGN_COPY), SIMPLEREGION);
    CRect clip;
    canvas.dc.GetClipBox(&clip);
    EXPECT_EQ(clip, CRect(0, 0, 10, 10));
    canvas.dc.SelectClipRgn(nullptr, RGN_COPY);

    canvas.dc.MoveTo(0, 30);  // the DC's default pen: black, one pixel
    canvas.dc.LineTo(39, 30);
    EXPECT_EQ(canvas.Pixel(20, 30), RGB(0, 0, 0));

    canvas.dc.SetBkMode(TRANSPARENT);
    EXPECT_EQ(::GetBkMode(canvas.dc.m_hDC), TRANSPARENT);
    CRect textRect(0, 0, 40, 20);
    EXPECT_GT(canvas.dc.DrawText(CString(L"Ab"), &textRect, DT_CALCRECT | DT_SINGLELINE), 0);

    BITMAP info = {};
    EXPECT_GT(canvas.bitmap.GetBitmap(&info), 0);
    EXPECT_EQ(info.bmWidth, 40);

    MemoryCanvas copy(40, 40);
    EXPECT_TRUE(copy.dc.BitBlt(0, 0, 40, 40, &canvas.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(copy.Pixel(20, 30), RGB(0, 0, 0));
    copy.dc.SetStretchBltMode(COLORONCOLOR);
    EXPECT_TRUE(copy.dc.StretchBlt(0, 0, 20, 20, &canvas.dc, 0, 0, 40, 40, SRCCOPY));
}

namespace {

class CPaintedWnd : public CWnd {
public:
    int nPaints = 0;
    COLORREF colour = RGB(0, 128, 255);

protected:
    void OnPaint()
    {
        CPaintDC dc(this);
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(&client, colour);
        ++nPaints;
    }
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaintedWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

}  // namespace

TEST(Gdi, PaintHandlerPaintsThroughCPaintDC)
{
    CPaintedWnd wnd;
    ASSERT_TRUE(CreateTestFrame(wnd));
    wnd.Invalidate();
    ::UpdateWindow(wnd.m_hWnd);
    EXPECT_GE(wnd.nPaints, 1);
    // Capture the client area into a bitmap through the window's own DC.
    CClientDC client(&wnd);
    MemoryCanvas capture(10, 10);
    capture.dc.BitBlt(0, 0, 10, 10, &client, 5, 5, SRCCOPY);
    EXPECT_EQ(capture.Pixel(2, 2), wnd.colour);
}
