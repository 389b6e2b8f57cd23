#include "app/WorkerThread.h"

#include "classlib/CWinApp.h"
#include "classlib/CWnd.h"
#include "resources/resource.h"

void WaitPumpingMessages(HANDLE hObject)
{
    BOOL bQuit = FALSE;
    int nQuitCode = 0;
    for (;;) {
        const DWORD r = ::MsgWaitForMultipleObjects(1, &hObject, FALSE, INFINITE, QS_ALLINPUT);
        if (r != WAIT_OBJECT_0 + 1)
            break;  // the object is signalled, or the handle is unusable: nothing left to wait for
        MSG msg;
        while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                bQuit = TRUE;
                nQuitCode = static_cast<int>(msg.wParam);
                continue;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    if (bQuit)
        ::PostQuitMessage(nQuitCode);
}

void EnableWizardButtons(BOOL bEnable)
{
    CWinApp* pApp = AfxGetApp();
    CWnd* pMain = pApp != nullptr ? pApp->m_pMainWnd : nullptr;
    if (pMain == nullptr || !::IsWindow(pMain->GetSafeHwnd()))
        return;
    ::EnableWindow(::GetDlgItem(pMain->GetSafeHwnd(), IDC_NEXT), bEnable);
    ::EnableWindow(::GetDlgItem(pMain->GetSafeHwnd(), IDC_BACK), bEnable);
}

CWorkerThread::CWorkerThread() : m_pfnBegin(&AfxBeginThread), m_pThread(nullptr) {}

CWorkerThread::~CWorkerThread() { Join(); }

BOOL CWorkerThread::Start(AFX_THREADPROC pfn, LPVOID pParam, int nPriority)
{
    Join();
    CWinThread* pThread = m_pfnBegin(pfn, pParam, nPriority, 0, CREATE_SUSPENDED, NULL);
    if (pThread == nullptr)
        return FALSE;
    pThread->m_bAutoDelete = FALSE;  // kept until Join, so its handle can be waited on
    m_pThread = pThread;
    if (pThread->ResumeThread() == static_cast<DWORD>(-1)) {
        // Never ran: end it so that Join does not wait for ever.
        ::TerminateThread(pThread->m_hThread, 0);
        Join();
        return FALSE;
    }
    return TRUE;
}

void CWorkerThread::Join()
{
    if (m_pThread == nullptr)
        return;
    WaitPumpingMessages(m_pThread->m_hThread);
    delete m_pThread;
    m_pThread = nullptr;
}

BOOL CWorkerThread::IsRunning() const
{
    return m_pThread != nullptr && ::WaitForSingleObject(m_pThread->m_hThread, 0) == WAIT_TIMEOUT;
}
