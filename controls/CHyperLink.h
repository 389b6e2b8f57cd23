// A static control turned into a link: drawn in the link colour, red and underlined while the
// cursor is over it, with a hand cursor and a tooltip showing its target; a click opens the
// target through the shell, or with the program registered for web pages when the shell cannot.
#pragma once
#include "classlib/CFont.h"
#include "classlib/CStatic.h"
#include "classlib/CString.h"
#include "classlib/CToolTipCtrl.h"

class CHyperLink : public CStatic {
public:
    CHyperLink();
    ~CHyperLink() override;

    void SetUrl(CString strTarget);
    // 1 always underlined, 0 never, -1 only while the cursor is over the link.
    void SetUnderline(int nMode);
    void SetVisited(BOOL bVisited);
    // Opens the target; above 32 means success (ShellExecute's and WinExec's convention).
    static int OpenUrl(const wchar_t* pszTarget, int nShow);
    // Reads the default value of root\subkey into pszOut, which holds MAX_PATH characters;
    // ERROR_SUCCESS or the Win32 error (pszOut then unchanged).
    static LONG ReadRegistryDefault(HKEY hRoot, const wchar_t* pszSubkey, wchar_t* pszOut);
    void FitToText();
    void LoadLinkCursor();

    BOOL DestroyWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    COLORREF m_clrLink;
    COLORREF m_clrVisited;
    COLORREF m_clrHover;
    BOOL m_bHover;
    BOOL m_bVisited;
    int m_nUnderlineMode;
    BOOL m_bFitToText;
    CString m_strTarget;
    CFont m_fontUnderlined;
    CFont m_fontPlain;
    HCURSOR m_hHandCursor;  // our own copy; destroyed with the control
    CToolTipCtrl m_tip;
    UINT m_nHoverTimer;

protected:
    void PreSubclassWindow() override;

    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnTimer(UINT_PTR nIDEvent);
    void OnStnClicked();
    BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    void SendFont(CFont* pFont);
};
