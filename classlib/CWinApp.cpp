#include "classlib/CWinApp.h"

#include <commctrl.h>

#include "classlib/CWnd.h"
#include "classlib/WindowInternals.h"

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
END_MESSAGE_MAP()

namespace {

CWinApp* g_pApp = nullptr;  // the program's one application object, recorded by its constructor

// AfxMessageBox's hook: the application's title as caption, its main window as owner.
void ApplicationMessageBoxOwner(HWND* pOwner, CString* pTitle)
{
    CWinApp* pApp = g_pApp;
    if (pApp == nullptr)
        return;
    if (pApp->m_pszAppName != nullptr && pApp->m_pszAppName[0] != 0)
        *pTitle = pApp->m_pszAppName;
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd != nullptr && ::IsWindow(pMainWnd->m_hWnd))
        *pOwner = pMainWnd->m_hWnd;
}

}  // namespace

CWinApp* AfxGetApp() { return g_pApp; }

CCmdTarget* QmGetAppCommandTarget() { return g_pApp; }

CWinApp::CWinApp(LPCTSTR lpszAppName)
    : m_pszAppName(nullptr), m_pszExeName(nullptr), m_hInstance(NULL), m_lpCmdLine(nullptr), m_nCmdShow(SW_SHOWNORMAL)
{
    m_bAutoDelete = FALSE;  // a global object, never deleted by the library
    m_nThreadID = ::GetCurrentThreadId();
    m_strExeName = AfxGetModuleBaseName();
    m_strAppName = lpszAppName ? CString(lpszAppName) : m_strExeName;
    m_pszExeName = m_strExeName.GetString();
    m_pszAppName = m_strAppName.GetString();
    if (g_pApp == nullptr) {
        g_pApp = this;
        AfxSetMessageBoxOwnerProc(&ApplicationMessageBoxOwner);
    }
}

CWinApp::~CWinApp()
{
    if (g_pApp == this) {
        AfxSetMessageBoxOwnerProc(nullptr);
        g_pApp = nullptr;
    }
}

BOOL CWinApp::InitApplication() { return TRUE; }

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return static_cast<int>(m_msgCur.wParam); }

int CWinApp::Run()
{
    // Without a main window nothing could ever post the WM_QUIT that ends the loop.
    if (m_pMainWnd == nullptr)
        return ExitInstance();
    return CWinThread::Run();
}

HICON CWinApp::LoadIcon(UINT nIDResource) const { return LoadIcon(MAKEINTRESOURCEW(nIDResource)); }
HICON CWinApp::LoadIcon(LPCTSTR lpszResourceName) const { return ::LoadIconW(AfxGetResourceHandle(), lpszResourceName); }

void CWinApp::OnHelp() {}

BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE, LPTSTR lpCmdLine, int nCmdShow)
{
    AfxSetInstanceHandle(hInstance);
    AfxSetResourceHandle(hInstance);
    if (CWinApp* pApp = AfxGetApp()) {
        pApp->m_hInstance = hInstance;
        pApp->m_lpCmdLine = lpCmdLine;
        pApp->m_nCmdShow = nCmdShow;
        pApp->m_nThreadID = ::GetCurrentThreadId();
    }
    INITCOMMONCONTROLSEX icc = {sizeof(INITCOMMONCONTROLSEX),
                                ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);  // the classes are also registered on first use by comctl32 itself
    return TRUE;
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr || !AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow))
        return -1;
    if (!pApp->InitApplication())
        return -1;
    if (!pApp->InitInstance()) {
        if (pApp->m_pMainWnd != nullptr && ::IsWindow(pApp->m_pMainWnd->m_hWnd))
            pApp->m_pMainWnd->DestroyWindow();
        return pApp->ExitInstance();
    }
    return pApp->Run();
}

void AfxEnableControlContainer() {}

BOOL AfxInitRichEdit()
{
    static const HMODULE hRichEdit = ::LoadLibraryW(L"RICHED32.DLL");  // kept for the life of the process
    return hRichEdit != NULL;
}

// The program entry. It lives in this file because every program that has an application object
// links this file, so the linker finds the entry that the runtime's start-up code asks for.
int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow)
{
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
