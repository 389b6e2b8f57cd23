#pragma once
// A device context. A CDC that created its DC (CreateCompatibleDC) or attached one owns it and
// deletes it; temporaries from FromHandle and CWnd::GetDC borrow theirs. CPaintDC, CClientDC
// and CWindowDC give theirs back to the window when destroyed.
#include "classlib/WinTypes.h"
#include "classlib/COwnedHandle.h"
#include "classlib/CString.h"
#include "classlib/CRect.h"
#include "classlib/CGdiObject.h"
#include "classlib/CFont.h"
#include "classlib/CBrush.h"
#include "classlib/CPen.h"
#include "classlib/CBitmap.h"
#include "classlib/CRgn.h"

class CWnd;

struct QmDeleteDC {
    BOOL operator()(HDC hDC) const { return ::DeleteDC(hDC); }
};

class CDC {
    COwnedHandle<HDC, QmDeleteDC> m_dc;  // declared first: m_hDC refers into it

public:
    const HDC& m_hDC = m_dc.Get();  // read-only: Attach, Detach and DeleteDC change it

    CDC() = default;
    virtual ~CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    static CDC* FromHandle(HDC hDC);  // a temporary borrowing wrapper of the calling thread
    BOOL Attach(HDC hDC);             // takes ownership
    HDC Detach();
    BOOL DeleteDC();
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    BOOL CreateCompatibleDC(CDC* pDC);  // pDC NULL: compatible with the screen

    // ---- selection: each returns the object it replaced (a temporary) ----
    CPen* SelectObject(CPen* pPen);
    CBrush* SelectObject(CBrush* pBrush);
    CFont* SelectObject(CFont* pFont);
    CBitmap* SelectObject(CBitmap* pBitmap);
    int SelectObject(CRgn* pRgn);  // the clip region's kind (SIMPLEREGION, ...)
    HGDIOBJ SelectObject(HGDIOBJ hObject);
    CGdiObject* SelectStockObject(int nIndex);

    // ---- attributes ----
    int SetBkMode(int nBkMode);
    int GetBkMode() const;
    COLORREF SetBkColor(COLORREF crColor);
    COLORREF SetTextColor(COLORREF crColor);
    COLORREF GetTextColor() const;
    int SetStretchBltMode(int nStretchMode);
    int GetDeviceCaps(int nIndex) const;
    int SaveDC();
    BOOL RestoreDC(int nSavedDC);

    // ---- clipping ----
    int GetClipBox(LPRECT lpRect) const;
    int SelectClipRgn(CRgn* pRgn);
    int SelectClipRgn(CRgn* pRgn, int nMode);
    int IntersectClipRect(LPCRECT lpRect);
    int ExcludeClipRect(LPCRECT lpRect);

    // ---- drawing ----
    void FillRect(LPCRECT lpRect, CBrush* pBrush);
    void FillSolidRect(LPCRECT lpRect, COLORREF clr);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
    void FrameRect(LPCRECT lpRect, CBrush* pBrush);
    BOOL FillRgn(CRgn* pRgn, CBrush* pBrush);
    BOOL FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight);
    BOOL Rectangle(int x1, int y1, int x2, int y2);
    BOOL Rectangle(LPCRECT lpRect);
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT point);
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT point);
    void InvertRect(LPCRECT lpRect);
    BOOL PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop);
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop);
    BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                    int nSrcWidth, int nSrcHeight, DWORD dwRop);
    BOOL DrawIcon(int x, int y, HICON hIcon);
    BOOL DrawIcon(POINT point, HICON hIcon);
    // DrawState of an icon or bitmap (nFlags: DSS_* state; the kind DST_ICON/DST_BITMAP is added).
    BOOL DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, HBRUSH hBrush = NULL);
    BOOL DrawState(CPoint pt, CSize size, HBITMAP hBitmap, UINT nFlags, HBRUSH hBrush = NULL);
    // GradientFill (msimg32): nMode GRADIENT_FILL_RECT_H / _V / GRADIENT_FILL_TRIANGLE.
    BOOL GradientFill(TRIVERTEX* pVertices, ULONG nVertices, void* pMesh, ULONG nMeshElements, DWORD dwMode);
    COLORREF GetPixel(int x, int y) const;
    COLORREF SetPixel(int x, int y, COLORREF crColor);

    // The drag rectangle: a frame of thickness size inside lpRect, inverted with a halftone
    // brush. With lpRectLast the previous frame is erased in the same step (only the pixels that
    // change are touched, so nothing flickers); drawing a frame twice restores the screen.
    void DrawDragRect(LPCRECT lpRect, SIZE size, LPCRECT lpRectLast, SIZE sizeLast,
                      CBrush* pBrush = NULL, CBrush* pBrushLast = NULL);
    // The shared 50% halftone brush, made on first use, kept for the life of the process.
    static CBrush* GetHalftoneBrush();

    // ---- text ----
    int DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat);
    int DrawText(const CString& str, LPRECT lpRect, UINT nFormat);
    BOOL TextOut(int x, int y, LPCTSTR lpszString, int nCount);
    BOOL TextOut(int x, int y, const CString& str);
    CSize GetTextExtent(LPCTSTR lpszString, int nCount) const;
    CSize GetTextExtent(const CString& str) const;
    BOOL GetTextMetrics(LPTEXTMETRIC lpMetrics) const;

protected:
    void Borrow(HDC hDC) { m_dc.Borrow(hDC); }
};

// Paints a window between BeginPaint and EndPaint.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps;
protected:
    HWND m_hWnd;
};

// The client area's DC of a window (GetDC / ReleaseDC).
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);  // NULL: the screen
    ~CClientDC() override;
protected:
    HWND m_hWnd;
};

// The whole window's DC, frame included (GetWindowDC / ReleaseDC).
class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* pWnd);
    ~CWindowDC() override;
protected:
    HWND m_hWnd;
};
