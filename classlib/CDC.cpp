#include "classlib/CDC.h"

#include <memory>
#include <unordered_map>

#include "classlib/CWnd.h"
#include "classlib/WindowInternals.h"

namespace {

QmTemporaryMap<HDC, CDC>& TemporaryDCs() { return QmGetThreadState().dcs; }

HGDIOBJ HandleOf(const CGdiObject* pObject) { return pObject ? pObject->m_hObject : NULL; }

// The pixels of a frame of thickness size inside rect: rect less its inner rectangle.
void MakeFrameRegion(CRgn& region, LPCRECT lpRect, SIZE size)
{
    region.CreateRectRgnIndirect(lpRect);
    CRect inner(lpRect);
    inner.DeflateRect(size.cx, size.cy);
    if (inner.left < inner.right && inner.top < inner.bottom) {
        CRgn hole;
        hole.CreateRectRgnIndirect(&inner);
        region.CombineRgn(&region, &hole, RGN_DIFF);
    }
}

// Inverts the region's pixels through the brush's pattern (PATINVERT), leaving the DC as it was.
void InvertRegion(HDC hDC, CRgn& region, HBRUSH hBrush)
{
    const int nSaved = ::SaveDC(hDC);
    ::ExtSelectClipRgn(hDC, static_cast<HRGN>(region.m_hObject), RGN_AND);
    ::SelectObject(hDC, hBrush);
    RECT box;
    ::GetClipBox(hDC, &box);
    ::PatBlt(hDC, box.left, box.top, box.right - box.left, box.bottom - box.top, PATINVERT);
    ::RestoreDC(hDC, nSaved);
}

}  // namespace

void QmFreeTemporaryDCs()
{
    TemporaryDCs().FreeAll([](CDC& dc) { dc.Detach(); });
}

CDC* CDC::FromHandle(HDC hDC)
{
    if (hDC == NULL)
        return nullptr;
    return TemporaryDCs().Get(hDC, [](CDC& dc, HDC h) { dc.Borrow(h); });
}

BOOL CDC::Attach(HDC hDC) { return m_dc.Own(hDC); }

HDC CDC::Detach() { return m_dc.Detach(); }

BOOL CDC::DeleteDC() { return m_dc.Release(); }

BOOL CDC::CreateCompatibleDC(CDC* pDC) { return Attach(::CreateCompatibleDC(pDC ? pDC->m_hDC : NULL)); }

CFont* CDC::SelectObject(CFont* pFont)
{
    return CFont::FromHandle(static_cast<HFONT>(::SelectObject(m_hDC, HandleOf(pFont))));
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    return CBitmap::FromHandle(static_cast<HBITMAP>(::SelectObject(m_hDC, HandleOf(pBitmap))));
}

int CDC::SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }
COLORREF CDC::SetBkColor(COLORREF crColor) { return ::SetBkColor(m_hDC, crColor); }
COLORREF CDC::SetTextColor(COLORREF crColor) { return ::SetTextColor(m_hDC, crColor); }
int CDC::SetStretchBltMode(int nStretchMode) { return ::SetStretchBltMode(m_hDC, nStretchMode); }
int CDC::SaveDC() { return ::SaveDC(m_hDC); }
BOOL CDC::RestoreDC(int nSavedDC) { return ::RestoreDC(m_hDC, nSavedDC); }

int CDC::GetClipBox(LPRECT lpRect) const { return ::GetClipBox(m_hDC, lpRect); }

int CDC::SelectClipRgn(CRgn* pRgn, int nMode)
{
    return ::ExtSelectClipRgn(m_hDC, static_cast<HRGN>(HandleOf(pRgn)), nMode);
}

void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush) { ::FillRect(m_hDC, lpRect, static_cast<HBRUSH>(HandleOf(pBrush))); }

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr)
{
    // An opaque ExtTextOut with no text fills with the background colour and needs no brush.
    const COLORREF old = ::SetBkColor(m_hDC, clr);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, lpRect, NULL, 0, NULL);
    ::SetBkColor(m_hDC, old);
}

BOOL CDC::FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight)
{
    return ::FrameRgn(m_hDC, static_cast<HRGN>(HandleOf(pRgn)), static_cast<HBRUSH>(HandleOf(pBrush)), nWidth,
                      nHeight);
}

CPoint CDC::MoveTo(int x, int y)
{
    POINT old = {0, 0};
    ::MoveToEx(m_hDC, x, y, &old);
    return CPoint(old);
}

BOOL CDC::LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
{
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : NULL, xSrc, ySrc, dwRop);
}

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                     int nSrcHeight, DWORD dwRop)
{
    return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : NULL, xSrc, ySrc, nSrcWidth,
                        nSrcHeight, dwRop);
}

BOOL CDC::DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }

BOOL CDC::DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, HBRUSH hBrush)
{
    return ::DrawStateW(m_hDC, hBrush, NULL, reinterpret_cast<LPARAM>(hIcon), 0, pt.x, pt.y, size.cx, size.cy,
                        nFlags | DST_ICON);
}

CBrush* CDC::GetHalftoneBrush()
{
    static CBrush brush;
    static const bool bMade = [] {
        // 8x8 one-bit pattern, every other pixel set; rows are padded to 16 bits.
        static const WORD rows[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA};
        CBitmap pattern;
        return pattern.CreateBitmap(8, 8, 1, 1, rows) && brush.CreatePatternBrush(&pattern);
    }();
    return bMade ? &brush : nullptr;
}

void CDC::DrawDragRect(LPCRECT lpRect, SIZE size, LPCRECT lpRectLast, SIZE sizeLast, CBrush* pBrush,
                       CBrush* pBrushLast)
{
    CBrush* pHalftone = GetHalftoneBrush();
    HBRUSH hBrush = static_cast<HBRUSH>(HandleOf(pBrush ? pBrush : pHalftone));
    HBRUSH hBrushLast = static_cast<HBRUSH>(HandleOf(pBrushLast ? pBrushLast : pHalftone));
    CRgn frameNew;
    MakeFrameRegion(frameNew, lpRect, size);
    if (lpRectLast == nullptr) {
        InvertRegion(m_hDC, frameNew, hBrush);
        return;
    }
    CRgn frameLast;
    MakeFrameRegion(frameLast, lpRectLast, sizeLast);
    if (hBrush == hBrushLast) {
        // Pixels in both frames would be inverted twice: touch only those in exactly one.
        CRgn changed;
        changed.CreateRectRgn(0, 0, 0, 0);
        changed.CombineRgn(&frameNew, &frameLast, RGN_XOR);
        InvertRegion(m_hDC, changed, hBrush);
    } else {
        InvertRegion(m_hDC, frameLast, hBrushLast);
        InvertRegion(m_hDC, frameNew, hBrush);
    }
}

int CDC::DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat)
{
    return ::DrawTextW(m_hDC, lpszString, nCount, lpRect, nFormat);
}

int CDC::DrawText(const CString& str, LPRECT lpRect, UINT nFormat)
{
    return DrawText(str.GetString(), str.GetLength(), lpRect, nFormat);
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_ps(), m_hWnd(pWnd->m_hWnd) { Borrow(::BeginPaint(m_hWnd, &m_ps)); }

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : NULL) { Borrow(::GetDC(m_hWnd)); }

CClientDC::~CClientDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}
