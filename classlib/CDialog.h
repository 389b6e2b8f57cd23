#pragma once
// A dialog box from a DIALOGEX template in the library's resource module: modal (DoModal, with
// the library's own message loop) or modeless (Create, e.g. a child page of another dialog).
//
// DoModal disables the owner, creates the dialog, and runs its loop: each message is offered to
// PreTranslateMessage of its window and each parent up to the dialog (CWnd::WalkPreTranslateTree),
// then to IsDialogMessage, then translated and dispatched. EndDialog ends the loop; DoModal then
// re-enables the owner, destroys the window and returns EndDialog's result, or -1 when the
// template cannot be found or the dialog cannot be created. An exception thrown by a
// PreTranslateMessage override leaves DoModal the same way (owner enabled, window destroyed).
#include "classlib/CWnd.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    ~CDialog() override;

    // Modeless: creates the dialog (a child page when the template has WS_CHILD).
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    virtual BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();  // default: UpdateData(FALSE), TRUE
    virtual void OnOK();          // default: UpdateData(TRUE), then EndDialog(IDOK)
    virtual void OnCancel();      // default: EndDialog(IDCANCEL)

    BOOL PreTranslateMessage(MSG* pMsg) override;

    LPCTSTR m_lpszTemplateName;
    UINT m_nIDHelp;
    CWnd* m_pParentWnd;

protected:
    BOOL CreateFromTemplate(HWND hWndParent);
    // The owner that DoModal disables: the given parent's top-level window, else the thread's
    // main window, or its active pop-up; NULL when there is none.
    HWND FindModalOwner() const;

    DECLARE_MESSAGE_MAP()

private:
    void RunModalLoop();  // until EndDialog, the window's end or WM_QUIT
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    BOOL m_bModalContinue;
    int m_nModalResult;
    BOOL m_bModal;
};
