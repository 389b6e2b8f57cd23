#pragma once
// A thread of the program: the user-interface thread (the application object) or a worker
// started by AfxBeginThread.
//
// Who deletes a worker's CWinThread. With m_bAutoDelete TRUE (the default) the object deletes
// itself when its thread function returns, and its destructor closes m_hThread: the pointer
// that AfxBeginThread returned is then dangling, and waiting on its m_hThread is a fault. A
// caller that wants to wait for the thread starts it with CREATE_SUSPENDED, sets m_bAutoDelete
// to FALSE, calls ResumeThread, and later waits on m_hThread and deletes the object; m_hThread
// stays valid until that delete. (Duplicating m_hThread before ResumeThread is the other safe
// way: the duplicate belongs to the caller, who closes it.) Never touch an auto-deleting
// object after ResumeThread.
#include "classlib/WinTypes.h"
#include "classlib/CCmdTarget.h"

class CWnd;

typedef UINT (*AFX_THREADPROC)(LPVOID pParam);

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
    ~CWinThread() override;  // closes m_hThread

    CWnd* m_pMainWnd;        // this thread's main window (the application's for the UI thread)
    BOOL m_bAutoDelete;      // delete the object when the thread ends
    HANDLE m_hThread;        // valid until the object is deleted
    DWORD m_nThreadID;

    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = NULL);
    DWORD ResumeThread();
    BOOL SetThreadPriority(int nPriority);

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // The message loop: runs until WM_QUIT, then returns ExitInstance's result.
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    BOOL PumpMessage();  // one message; FALSE at WM_QUIT
    virtual CWnd* GetMainWnd();

protected:
    AFX_THREADPROC m_pfnThreadProc;
    LPVOID m_pThreadParams;
    MSG m_msgCur;

private:
    static unsigned __stdcall ThreadEntry(void* pThis);
};

// Starts pfnThreadProc(pParam) on a new thread at nPriority (THREAD_PRIORITY_*). The thread
// runs at that priority from its first instruction; with CREATE_SUSPENDED in dwCreateFlags it
// waits for ResumeThread. NULL when the thread cannot be created. See above for ownership.
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority = THREAD_PRIORITY_NORMAL,
                           UINT nStackSize = 0, DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = NULL);
// The calling thread's CWinThread: the application object on the UI thread, the worker's object
// on a thread from AfxBeginThread, NULL on other threads.
CWinThread* AfxGetThread();
// The calling thread's main window, else the application's.
CWnd* AfxGetMainWnd();
