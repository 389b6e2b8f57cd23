// The library's program entry with an application object of its own. Run twice by ctest:
// without arguments InitInstance returns FALSE (the program's own path: no message loop);
// with "loop" it returns TRUE and the message loop runs until WM_QUIT. The exit code is 0
// when every check held, else the number of the first failed check.
#include "classlib/Window.h"

namespace {

class CEntryApp : public CWinApp {
public:
    CString order;
    int failed = 0;
    CWnd mainWnd;

    void Check(bool condition, int number)
    {
        if (!condition && failed == 0)
            failed = number;
    }

    BOOL InitApplication() override
    {
        order += L"A";
        return CWinApp::InitApplication();
    }

    BOOL InitInstance() override
    {
        order += L"I";
        Check(AfxGetApp() == this, 1);
        Check(AfxGetThread() == this, 2);
        Check(CString(m_pszAppName) == L"window_app_test", 3);
        Check(m_hInstance == ::GetModuleHandleW(NULL), 4);
        Check(AfxGetInstanceHandle() == m_hInstance && AfxGetResourceHandle() == m_hInstance, 5);
        Check(LoadIcon(1) == NULL, 6);  // this program has no icon resource
        LPCTSTR cls = AfxRegisterWndClass(0);
        Check(mainWnd.CreateEx(0, cls, L"main", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL) != FALSE, 7);
        m_pMainWnd = &mainWnd;
        Check(AfxGetMainWnd() == &mainWnd, 8);
        if (CString(m_lpCmdLine).Find(L"loop") < 0)
            return FALSE;  // the library destroys the main window and calls ExitInstance
        mainWnd.PostMessage(WM_CLOSE);  // the default closing destroys the window; the loop goes on
        ::PostQuitMessage(5);
        return TRUE;
    }

    int ExitInstance() override
    {
        order += L"E";
        Check(m_pMainWnd == nullptr, 9);  // cleared when the main window was destroyed
        Check(order == L"AIE", 10);
        const bool bLoop = CString(m_lpCmdLine).Find(L"loop") >= 0;
        if (bLoop)
            Check(CWinApp::ExitInstance() == 5, 11);  // the WM_QUIT code
        return failed;
    }
};

CEntryApp theApp;

}  // namespace
