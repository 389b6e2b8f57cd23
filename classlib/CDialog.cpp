#include "classlib/CDialog.h"

#include "classlib/AppHandles.h"
#include "classlib/CException.h"
#include "classlib/CWinThread.h"
#include "classlib/WindowInternals.h"
#include "classlib/WindowThreadCall.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

// OK and Cancel reach the virtual OnOK and OnCancel (a pointer to a virtual member calls the
// most derived override).
BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog()
    : m_lpszTemplateName(nullptr), m_nIDHelp(0), m_pParentWnd(nullptr), m_bModalContinue(FALSE),
      m_nModalResult(-1), m_bModal(FALSE)
{
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : CDialog()
{
    m_lpszTemplateName = MAKEINTRESOURCEW(nIDTemplate);
    m_nIDHelp = nIDTemplate;
    m_pParentWnd = pParentWnd;
}

CDialog::~CDialog() = default;

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG)
        return FALSE;  // everything else was offered to the message map before the dialog manager
    CDialog* pDialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
    if (pDialog == nullptr)
        return TRUE;
    // Called by the system's dialog procedure: no C++ exception may pass through it.
    try {
        return pDialog->OnInitDialog();
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    ::OutputDebugStringW(L"OnInitDialog ended by an exception\n");
    return TRUE;
}

BOOL CDialog::CreateFromTemplate(HWND hWndParent)
{
    if (m_lpszTemplateName == nullptr)
        return FALSE;
    HINSTANCE hResources = AfxGetResourceHandle();
    HRSRC hResource = ::FindResourceW(hResources, m_lpszTemplateName, MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    HGLOBAL hTemplate = hResource ? ::LoadResource(hResources, hResource) : NULL;
    const DLGTEMPLATE* pTemplate = hTemplate ? static_cast<const DLGTEMPLATE*>(::LockResource(hTemplate)) : nullptr;
    if (pTemplate == nullptr)
        return FALSE;
    struct Context {
        HINSTANCE hInstance;
        const DLGTEMPLATE* pTemplate;
        HWND hWndParent;
    } context = {hResources, pTemplate, hWndParent};
    auto create = [](void* p) -> HWND {
        const Context& c = *static_cast<const Context*>(p);
        return ::CreateDialogIndirectParamW(c.hInstance, c.pTemplate, c.hWndParent, &CDialog::DialogProc, 0);
    };
    return QmCreateWithBinding(this, create, &context);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) { return Create(MAKEINTRESOURCEW(nIDTemplate), pParentWnd); }

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
{
    if (m_hWnd != NULL)
        return FALSE;
    m_lpszTemplateName = lpszTemplateName;
    if (pParentWnd != nullptr)
        m_pParentWnd = pParentWnd;
    m_bModal = FALSE;
    return CreateFromTemplate(m_pParentWnd ? m_pParentWnd->m_hWnd : NULL);
}

HWND CDialog::FindModalOwner() const
{
    HWND hOwner = m_pParentWnd ? m_pParentWnd->m_hWnd : NULL;
    if (hOwner == NULL) {
        CWnd* pMainWnd = AfxGetMainWnd();
        if (pMainWnd != nullptr && pMainWnd != this && ::IsWindow(pMainWnd->m_hWnd) &&
            IsWindowOfCallingThread(pMainWnd->m_hWnd))
            hOwner = pMainWnd->m_hWnd;
    }
    if (hOwner == NULL || !::IsWindow(hOwner))
        return NULL;
    hOwner = ::GetAncestor(hOwner, GA_ROOT);
    // A modal box already open over that window is the one to stack on.
    HWND hPopup = ::GetLastActivePopup(hOwner);
    return hPopup != NULL ? hPopup : hOwner;
}

INT_PTR CDialog::DoModal()
{
    if (m_hWnd != NULL)
        return -1;
    const HWND hOwner = FindModalOwner();
    const bool bDisabledOwner = hOwner != NULL && ::IsWindowEnabled(hOwner);
    if (bDisabledOwner)
        ::EnableWindow(hOwner, FALSE);
    m_bModal = TRUE;
    m_bModalContinue = TRUE;
    m_nModalResult = -1;
    if (!CreateFromTemplate(hOwner)) {
        m_bModal = FALSE;
        if (bDisabledOwner)
            ::EnableWindow(hOwner, TRUE);
        return -1;
    }
    // Ends the modal state however the loop ends: the owner is enabled again before the dialog
    // goes, so that it, not another program, becomes the active window.
    auto leaveModalState = [this, hOwner, bDisabledOwner] {
        if (bDisabledOwner)
            ::EnableWindow(hOwner, TRUE);
        if (hOwner != NULL && ::GetActiveWindow() == m_hWnd)
            ::SetActiveWindow(hOwner);
        if (m_hWnd != NULL) {
            ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
            DestroyWindow();
        }
        m_bModal = FALSE;
    };
    try {
        RunModalLoop();
    } catch (...) {
        // A PreTranslateMessage override threw outside any window procedure: the caller gets
        // the exception, but not a disabled owner and an orphaned dialog.
        leaveModalState();
        throw;
    }
    leaveModalState();
    return m_nModalResult;
}

void CDialog::RunModalLoop()
{
    if (m_bModalContinue && !IsWindowVisible())
        ShowWindow(SW_SHOWNORMAL);

    while (m_bModalContinue && ::IsWindow(m_hWnd)) {
        MSG msg;
        if (!::PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE))
            AfxFreeTemporaryWrappers();  // idle
        const BOOL bGot = ::GetMessageW(&msg, NULL, 0, 0);
        if (bGot == 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));  // the quit belongs to the outer loop
            break;
        }
        if (bGot == -1)
            break;
        if (WalkPreTranslateTree(m_hWnd, &msg) || ::IsDialogMessageW(m_hWnd, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void CDialog::EndDialog(int nResult)
{
    if (m_bModal) {
        m_nModalResult = nResult;
        m_bModalContinue = FALSE;
        if (m_hWnd != NULL)
            ::PostMessageW(m_hWnd, WM_NULL, 0, 0);  // wakes the loop when called from another thread
    } else if (m_hWnd != NULL) {
        ::EndDialog(m_hWnd, nResult);
    }
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    // Keyboard navigation (Tab, arrows, Enter, Esc) inside this dialog, child pages included.
    if (m_hWnd != NULL && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST)
        return ::IsDialogMessageW(m_hWnd, pMsg);
    return FALSE;
}
