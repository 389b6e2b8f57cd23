#include "classlib/CWinThread.h"

#include <process.h>

#include "classlib/CException.h"
#include "classlib/CString.h"
#include "classlib/CWinApp.h"
#include "classlib/CWnd.h"
#include "classlib/WindowInternals.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

namespace {

thread_local CWinThread* t_pCurrentThread = nullptr;  // set on threads started by CWinThread

}  // namespace

CWinThread::CWinThread()
    : m_pMainWnd(nullptr), m_bAutoDelete(TRUE), m_hThread(NULL), m_nThreadID(0), m_pfnThreadProc(nullptr),
      m_pThreadParams(nullptr), m_msgCur()
{
}

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam) : CWinThread()
{
    m_pfnThreadProc = pfnThreadProc;
    m_pThreadParams = pParam;
}

CWinThread::~CWinThread()
{
    if (m_hThread != NULL)
        ::CloseHandle(m_hThread);
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (m_hThread != NULL)
        return FALSE;
    unsigned nThreadID = 0;
    // _beginthreadex, not CreateThread, so that the C runtime sets up its per-thread data.
    // Always suspended at first: a thread that ran at once could end and delete this object
    // (m_bAutoDelete) before its handle and id were stored here.
    const uintptr_t hThread = ::_beginthreadex(lpSecurityAttrs, nStackSize, &CWinThread::ThreadEntry, this,
                                               dwCreateFlags | CREATE_SUSPENDED, &nThreadID);
    if (hThread == 0)
        return FALSE;
    m_hThread = reinterpret_cast<HANDLE>(hThread);
    m_nThreadID = nThreadID;
    if ((dwCreateFlags & CREATE_SUSPENDED) == 0)
        ::ResumeThread(reinterpret_cast<HANDLE>(hThread));  // this object may be gone from here on
    return TRUE;
}

unsigned __stdcall CWinThread::ThreadEntry(void* pThis)
{
    CWinThread* pThread = static_cast<CWinThread*>(pThis);
    t_pCurrentThread = pThread;
    UINT nResult = static_cast<UINT>(-1);
    try {
        if (pThread->m_pfnThreadProc != nullptr)
            nResult = pThread->m_pfnThreadProc(pThread->m_pThreadParams);
        else
            nResult = static_cast<UINT>(pThread->InitInstance() ? pThread->Run() : pThread->ExitInstance());
    } catch (CException* e) {
        // The thread's edge: nothing above it could catch; report and end the thread.
        e->Delete();
        ::OutputDebugStringW(L"worker thread ended by a class library exception\n");
    } catch (...) {
        ::OutputDebugStringW(L"worker thread ended by an exception\n");
    }
    QmReleaseThreadState();  // explicitly: see WindowInternals.h
    t_pCurrentThread = nullptr;
    if (pThread->m_bAutoDelete)
        delete pThread;
    return nResult;
}

DWORD CWinThread::ResumeThread() { return ::ResumeThread(m_hThread); }
BOOL CWinThread::SetThreadPriority(int nPriority) { return ::SetThreadPriority(m_hThread, nPriority); }

BOOL CWinThread::InitInstance() { return FALSE; }

int CWinThread::ExitInstance() { return static_cast<int>(m_msgCur.wParam); }

CWnd* CWinThread::GetMainWnd()
{
    if (m_pMainWnd != nullptr)
        return m_pMainWnd;
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr ? pApp->m_pMainWnd : nullptr;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    CWnd* pMainWnd = GetMainWnd();
    return CWnd::WalkPreTranslateTree(pMainWnd ? pMainWnd->m_hWnd : NULL, pMsg);
}

BOOL CWinThread::PumpMessage()
{
    const BOOL bGot = ::GetMessageW(&m_msgCur, NULL, 0, 0);
    if (bGot == 0 || bGot == -1)
        return FALSE;  // WM_QUIT, or a broken queue that would only spin
    if (!PreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageW(&m_msgCur);
    }
    return TRUE;
}

int CWinThread::Run()
{
    for (;;) {
        MSG peek;
        if (!::PeekMessageW(&peek, NULL, 0, 0, PM_NOREMOVE))
            AfxFreeTemporaryWrappers();  // idle
        if (!PumpMessage())
            return ExitInstance();
    }
}

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
                           DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (pfnThreadProc == nullptr)
        return nullptr;
    CWinThread* pThread = new CWinThread(pfnThreadProc, pParam);
    // Created suspended so that the priority holds from the thread's first instruction.
    if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
        delete pThread;
        return nullptr;
    }
    pThread->SetThreadPriority(nPriority);  // a refused priority leaves the thread at normal: still usable
    if ((dwCreateFlags & CREATE_SUSPENDED) == 0)
        pThread->ResumeThread();
    return pThread;
}

CWinThread* AfxGetThread()
{
    if (t_pCurrentThread != nullptr)
        return t_pCurrentThread;
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_nThreadID == ::GetCurrentThreadId())
        return pApp;
    return nullptr;
}

CWnd* AfxGetMainWnd()
{
    if (CWinThread* pThread = AfxGetThread())
        return pThread->GetMainWnd();
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr ? pApp->m_pMainWnd : nullptr;
}

void QmForgetMainWindow(CWnd* pWnd)
{
    if (CWinApp* pApp = AfxGetApp()) {
        if (pApp->m_pMainWnd == pWnd)
            pApp->m_pMainWnd = nullptr;
    }
    if (t_pCurrentThread != nullptr && t_pCurrentThread->m_pMainWnd == pWnd)
        t_pCurrentThread->m_pMainWnd = nullptr;
}
