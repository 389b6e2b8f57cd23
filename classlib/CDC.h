#pragma once
// A device context. A CDC that created its DC (CreateCompatibleDC) or attached one owns it and
// deletes it; temporaries from FromHandle and CWnd::GetDC borrow theirs. CPaintDC and CClientDC
// give theirs back to the window when destroyed.
#include "classlib/WinTypes.h"
#include "classlib/COwnedHandle.h"
#include "classlib/CString.h"
#include "classlib/CRect.h"
#include "classlib/CGdiObject.h"
#include "classlib/CFont.h"
#include "classlib/CBrush.h"
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
    CFont* SelectObject(CFont* pFont);
    CBitmap* SelectObject(CBitmap* pBitmap);

    // ---- attributes ----
    int SetBkMode(int nBkMode);
    COLORREF SetBkColor(COLORREF crColor);
    COLORREF SetTextColor(COLORREF crColor);
    int SetStretchBltMode(int nStretchMode);
    int SaveDC();
    BOOL RestoreDC(int nSavedDC);

    // ---- clipping ----
    int GetClipBox(LPRECT lpRect) const;
    int SelectClipRgn(CRgn* pRgn, int nMode);

    // ---- drawing ----
    void FillRect(LPCRECT lpRect, CBrush* pBrush);
    void FillSolidRect(LPCRECT lpRect, COLORREF clr);
    BOOL FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight);
    CPoint MoveTo(int x, int y);
    BOOL LineTo(int x, int y);
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop);
    BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                    int nSrcWidth, int nSrcHeight, DWORD dwRop);
    BOOL DrawIcon(int x, int y, HICON hIcon);
    // DrawState of an icon (nFlags: DSS_* state; the kind DST_ICON is added).
    BOOL DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, HBRUSH hBrush = NULL);

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
