// One worker thread of a page that the page can wait for: started suspended with the library's
// thread start, kept (not self-deleting) until it has been waited for, so its handle stays valid.
#pragma once
#include "classlib/CException.h"
#include "classlib/CWinThread.h"

// Waits for hObject while dispatching the calling thread's messages: a worker may be sending to a
// window this thread owns and would never return otherwise. A WM_QUIT met meanwhile is posted
// again once the wait is over.
void WaitPumpingMessages(HANDLE hObject);

// Enables or disables the wizard's Next and Back, which stay off while a worker runs; from any
// thread, and nothing when the wizard (the application's main window) is not there.
void EnableWizardButtons(BOOL bEnable);

// Runs one step of a worker so that no exception leaves it (out of memory, or a file or
// automation error that nothing below caught); a class library exception is freed. FALSE when
// the step ended by an exception: the worker then still does its own end, which leaves the
// window usable.
template <class Fn>
BOOL RunContained(Fn fn)
{
    try {
        fn();
        return TRUE;
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    return FALSE;
}

class CWorkerThread {
public:
    typedef CWinThread* (*BeginProc)(AFX_THREADPROC, LPVOID, int, UINT, DWORD, LPSECURITY_ATTRIBUTES);

    CWorkerThread();
    ~CWorkerThread();  // waits for a thread still running
    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;

    // Waits for the previous thread, then starts pfn(pParam) at nPriority. FALSE when the thread
    // could not be created; nothing runs then.
    BOOL Start(AFX_THREADPROC pfn, LPVOID pParam, int nPriority);
    // Waits (pumping messages) until the thread has ended, then frees it. Nothing to do when
    // no thread was started.
    void Join();
    BOOL IsRunning() const;

    // The thread start; tests replace it to see how a page meets a thread that cannot start.
    BeginProc m_pfnBegin;

private:
    CWinThread* m_pThread;
};
