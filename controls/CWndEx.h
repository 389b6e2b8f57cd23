// Base of the program's own custom-drawn child windows: a plain child window with its own font,
// whose paint, mouse, timer and resize messages become virtual hooks, and whose two standard
// scroll bars scroll by pixels.
#pragma once
#include "classlib/CDC.h"
#include "classlib/CFont.h"
#include "classlib/CWnd.h"

class CWndEx : public CWnd {
    DECLARE_DYNAMIC(CWndEx)
public:
    CWndEx();
    ~CWndEx() override;

    // Registers the window class (arrow cursor, no background brush) and creates the window;
    // OnCreateHook runs only when the window was created.
    BOOL Create(CWnd* pParent, const RECT& rect, UINT nID, DWORD dwStyle);
    // Takes a copy of the font, measures one blank with it and passes the font on as
    // WM_SETFONT. Hides CWnd::SetFont on purpose.
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);

    // Hooks for derived views; every default does nothing.
    virtual void OnCreateHook();
    virtual void Draw(CDC* pDC, const RECT* pClipBox);
    virtual void OnMouseMoveHook();
    virtual void OnButtonUpHook();
    virtual void OnButtonDownHook();
    virtual void OnScrollHook();
    virtual void OnScrollHook2();  // the base never calls it
    virtual void UpdateScrollBars();
    virtual void OnTimerHook(UINT_PTR nIDEvent);

    CFont m_font;
    int m_nHPage;          // horizontal page in pixels; 0 or less: the client width
    int m_nVPage;          // vertical page in pixels; 0 or less: the client height
    BOOL m_bOwnCursor;     // show m_hOwnCursor instead of the class cursor
    HCURSOR m_hOwnCursor;  // not owned
    CDC m_memDC;           // compatible with the screen from the first WM_SIZE; holds m_font
    int m_nCharWidth;      // size of one blank in m_font, measured by SetFont
    int m_nCharHeight;

protected:
    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void OnPaint();
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnSize(UINT nType, int cx, int cy);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    void OnNcPaint();
    void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()

private:
    // Scrolls one bar by the message's code; lineStep and page in pixels.
    void ScrollBar(int nBar, UINT nSBCode, int nLineStep, int nPage);
};
