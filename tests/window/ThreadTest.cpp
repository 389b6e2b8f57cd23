// Threads: work carried to the window's thread, the thread check of timers, AfxBeginThread's
// priority and handle, and a message box shown by a worker.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "WindowTestUtil.h"
#include "classlib/Window.h"
#include "classlib/WindowInternals.h"  // the calling thread's temporaries
#include "testutil.h"

namespace {

class CTimerWnd : public CWnd {
public:
    std::atomic<int> nTicks{0};
    UINT_PTR lastId = 0;
    DWORD tickThread = 0;

protected:
    void OnTimer(UINT_PTR nIDEvent)
    {
        lastId = nIDEvent;
        tickThread = ::GetCurrentThreadId();
        ++nTicks;
        KillTimer(nIDEvent);  // one-shot
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTimerWnd, CWnd)
    ON_WM_TIMER()
END_MESSAGE_MAP()

std::atomic<int> g_nViolations{0};
const char* g_pszViolation = nullptr;
void RecordViolation(HWND, const char* pszCall)
{
    g_pszViolation = pszCall;
    ++g_nViolations;
}

}  // namespace

TEST(ThreadCrossing, TimerStartedForAWorkerFiresOnTheWindowThread)
{
    ASSERT_TRUE(IsWindowThreadCheckEnabled()) << "the tests link the checked library";
    CTimerWnd wnd;
    ASSERT_TRUE(CreateTestFrame(wnd));
    UINT_PTR nResult = 0;
    bool bDone = false;
    std::thread worker([&] {
        nResult = wnd.SetTimerOnOwnerThread(7, 10);
        bDone = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return bDone; }));
    worker.join();
    EXPECT_EQ(nResult, 7u);
    EXPECT_TRUE(PumpUntil([&] { return wnd.nTicks.load() > 0; }));
    EXPECT_EQ(wnd.lastId, 7u);
    EXPECT_EQ(wnd.tickThread, ::GetCurrentThreadId());

    bDone = false;
    BOOL bKilled = TRUE;
    std::thread killer([&] {
        bKilled = wnd.KillTimerOnOwnerThread(7);  // already killed by the tick
        bDone = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return bDone; }));
    killer.join();
    EXPECT_FALSE(bKilled);
}

TEST(ThreadCrossing, DirectTimerCallFromAWorkerIsCaughtByTheThreadCheck)
{
    CTimerWnd wnd;
    ASSERT_TRUE(CreateTestFrame(wnd));
    WindowThreadViolationHandler old = SetWindowThreadViolationHandler(&RecordViolation);
    g_nViolations = 0;
    UINT_PTR nResult = 99;
    BOOL bKill = TRUE;
    std::thread worker([&] {
        nResult = wnd.SetTimer(3, 10);
        bKill = wnd.KillTimer(3);
    });
    worker.join();
    SetWindowThreadViolationHandler(old);
    EXPECT_EQ(g_nViolations.load(), 2);
    EXPECT_STREQ(g_pszViolation, "CWnd::KillTimer");
    EXPECT_EQ(nResult, 0u) << "the refused call sets no timer";
    EXPECT_FALSE(bKill);

    // On its own thread the same call is fine. Timers tick in the order they fall due: had the
    // refused call set its timer, that one would have ticked before this later one.
    EXPECT_EQ(wnd.SetTimer(4, 10), 4u);
    EXPECT_TRUE(PumpUntil([&] { return wnd.lastId == 4; }));
    EXPECT_EQ(wnd.nTicks.load(), 1) << "the refused timer never ticks";
}

namespace {
int g_nPostedCallErrors = 0;
void CountPostedCallError(HWND, UINT, const wchar_t*) { ++g_nPostedCallErrors; }
}  // namespace

TEST(ThreadCrossing, SentCallsRunOnTheWindowThreadAndCarryExceptionsBack)
{
    CWnd wnd;
    ASSERT_TRUE(CreateTestFrame(wnd));
    const DWORD uiThread = ::GetCurrentThreadId();
    DWORD ranOn = 0;
    bool bCaught = false;
    BOOL bRanOnDead = TRUE;
    bool bDone = false;
    HWND hDead = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
    ::DestroyWindow(hDead);
    std::thread worker([&] {
        RunOnWindowThread(wnd.m_hWnd, [&] { ranOn = ::GetCurrentThreadId(); });
        try {
            RunOnWindowThread(wnd.m_hWnd, [] { throw std::runtime_error("on the UI thread"); });
        } catch (const std::runtime_error&) {
            bCaught = true;
        }
        bRanOnDead = RunOnWindowThread(hDead, [] {});
        bDone = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return bDone; }));
    worker.join();
    EXPECT_EQ(ranOn, uiThread);
    EXPECT_TRUE(bCaught);
    EXPECT_FALSE(bRanOnDead);

    int nPosted = 0;
    EXPECT_TRUE(PostToWindowThread(wnd.m_hWnd, [&] { ++nPosted; }));
    EXPECT_EQ(nPosted, 0) << "a posted call waits for the message loop";
    EXPECT_TRUE(PumpUntil([&] { return nPosted == 1; }));
    EXPECT_FALSE(PostToWindowThread(hDead, [&] { ++nPosted; }));

    // A posted call that throws has nobody waiting for it: the exception stops at the window
    // procedure and the window goes on taking posted calls.
    WindowProcErrorHandler old = SetWindowProcErrorHandler(&CountPostedCallError);
    g_nPostedCallErrors = 0;
    EXPECT_TRUE(PostToWindowThread(wnd.m_hWnd, [] { throw std::runtime_error("posted"); }));
    EXPECT_TRUE(PostToWindowThread(wnd.m_hWnd, [&] { ++nPosted; }));
    EXPECT_TRUE(PumpUntil([&] { return nPosted == 2; }));
    EXPECT_EQ(g_nPostedCallErrors, 1);
    SetWindowProcErrorHandler(old);

    // A carried call is a window procedure running: a message loop nested in it (a modal box
    // idling) leaves the temporaries that the call holds alone.
    const HWND hDesktop = ::GetDesktopWindow();
    auto heldThroughNestedIdle = [hDesktop] {
        CWnd* pTemp = CWnd::FromHandle(hDesktop);
        AfxFreeTemporaryWrappers();
        return QmGetThreadState().windows.Holds(hDesktop) && CWnd::FromHandle(hDesktop) == pTemp;
    };
    AfxFreeTemporaryWrappers();
    bool bKeptInPosted = false;
    EXPECT_TRUE(PostToWindowThread(wnd.m_hWnd, [&] { bKeptInPosted = heldThroughNestedIdle(); ++nPosted; }));
    EXPECT_TRUE(PumpUntil([&] { return nPosted == 3; }));
    EXPECT_TRUE(bKeptInPosted);
    AfxFreeTemporaryWrappers();
    bool bKeptInSent = false;
    bDone = false;
    std::thread sender([&] {
        RunOnWindowThread(wnd.m_hWnd, [&] { bKeptInSent = heldThroughNestedIdle(); });
        bDone = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return bDone; }));
    sender.join();
    EXPECT_TRUE(bKeptInSent);
}

TEST(ThreadCrossing, PostedCallsOfADestroyedWindowAreDroppedUnrun)
{
    CWnd wnd;
    ASSERT_TRUE(CreateTestFrame(wnd));
    bool bRan = false;
    ASSERT_TRUE(PostToWindowThread(wnd.m_hWnd, [&] { bRan = true; }));
    wnd.DestroyWindow();
    PumpFor(50);
    EXPECT_FALSE(bRan);
}

namespace {

struct ThreadProbe {
    std::atomic<int> nPriority{-100};
    std::atomic<DWORD> threadId{0};
    HANDLE hRelease = NULL;
};

UINT ProbeThread(LPVOID pParam)
{
    ThreadProbe* pProbe = static_cast<ThreadProbe*>(pParam);
    pProbe->nPriority = ::GetThreadPriority(::GetCurrentThread());
    pProbe->threadId = ::GetCurrentThreadId();
    if (pProbe->hRelease)
        ::WaitForSingleObject(pProbe->hRelease, INFINITE);  // the test looks at the running thread meanwhile
    return 77;
}

}  // namespace

TEST(Threads, BeginThreadRunsAtTheGivenPriorityWithAWaitableHandle)
{
    ThreadProbe probe;
    probe.hRelease = ::CreateEventW(NULL, TRUE, FALSE, NULL);
    CWinThread* pThread = AfxBeginThread(&ProbeThread, &probe, THREAD_PRIORITY_BELOW_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(pThread, nullptr);
    pThread->m_bAutoDelete = FALSE;  // we wait on its handle, so we delete it
    EXPECT_EQ(::GetThreadPriority(pThread->m_hThread), THREAD_PRIORITY_BELOW_NORMAL);
    pThread->ResumeThread();
    EXPECT_EQ(::WaitForSingleObject(pThread->m_hThread, 50), static_cast<DWORD>(WAIT_TIMEOUT));
    ::SetEvent(probe.hRelease);
    ASSERT_EQ(::WaitForSingleObject(pThread->m_hThread, kFailureLimitMs), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(probe.nPriority.load(), THREAD_PRIORITY_BELOW_NORMAL) << "from the thread's first instruction";
    EXPECT_EQ(probe.threadId.load(), pThread->m_nThreadID);
    DWORD code = 0;
    EXPECT_TRUE(::GetExitCodeThread(pThread->m_hThread, &code));
    EXPECT_EQ(code, 77u);
    delete pThread;
    ::CloseHandle(probe.hRelease);

    // The default: the object deletes itself when the thread ends; a duplicate taken before the
    // thread runs is the caller's to wait on and close.
    ThreadProbe second;
    CWinThread* pAuto = AfxBeginThread(&ProbeThread, &second, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(pAuto, nullptr);
    EXPECT_TRUE(pAuto->m_bAutoDelete);
    HANDLE hWait = NULL;
    ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), pAuto->m_hThread, ::GetCurrentProcess(), &hWait, SYNCHRONIZE,
                                  FALSE, 0));
    pAuto->ResumeThread();  // from here on pAuto may be gone
    EXPECT_EQ(::WaitForSingleObject(hWait, kFailureLimitMs), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(second.nPriority.load(), THREAD_PRIORITY_NORMAL);
    ::CloseHandle(hWait);
}

namespace {

// The test program's application object: gives message boxes their title and owner.
CWinApp theTestApp;

}  // namespace

TEST(WorkerMessageBox, WorkerThreadBoxHasTheApplicationTitleAndOwnerAndIsDismissed)
{
    EXPECT_EQ(AfxGetApp(), &theTestApp);
    EXPECT_EQ(Utf8(theTestApp.m_pszAppName), "window_test") << "the program file's base name";
    CWnd main;
    ASSERT_TRUE(CreateTestFrame(main));
    theTestApp.m_pMainWnd = &main;
    EXPECT_EQ(AfxGetMainWnd(), &main);

    std::atomic<int> nResult{-1};
    std::atomic<DWORD> workerId{0};
    std::thread worker([&] {
        workerId = ::GetCurrentThreadId();
        nResult = AfxMessageBox(L"来自工作线程", MB_OKCANCEL);
    });
    // The box disables its owner, a window of this thread: keep pumping while waiting for it.
    HWND hBox = NULL;
    PumpUntil([&] { return workerId.load() != 0; });
    PumpUntil([&] {
        hBox = FindThreadDialog(workerId, 0);
        return hBox != NULL;
    });
    ASSERT_NE(hBox, HWND(NULL));
    wchar_t title[64] = {};
    ::GetWindowTextW(hBox, title, 64);
    EXPECT_EQ(Utf8(title), "window_test");
    EXPECT_EQ(::GetWindow(hBox, GW_OWNER), main.m_hWnd);
    EXPECT_FALSE(main.IsWindowEnabled());
    ::PostMessageW(hBox, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(hBox, IDCANCEL)));
    EXPECT_TRUE(PumpUntil([&] { return nResult.load() != -1; }));
    worker.join();
    EXPECT_EQ(nResult.load(), IDCANCEL);
    EXPECT_TRUE(main.IsWindowEnabled());

    main.DestroyWindow();
    EXPECT_EQ(theTestApp.m_pMainWnd, nullptr) << "the main window's destruction clears the pointer";
}

TEST(WaitCursor, NestedWaitCursorsCountAndEnd)
{
    const HCURSOR hWait = ::LoadCursorW(NULL, IDC_WAIT);
    EXPECT_NE(::GetCursor(), hWait);
    {
        CWaitCursor outer;
        EXPECT_EQ(::GetCursor(), hWait);
        {
            CWaitCursor inner;
            EXPECT_EQ(::GetCursor(), hWait);
        }
        EXPECT_EQ(::GetCursor(), hWait) << "the outer one still counts";
    }
    EXPECT_NE(::GetCursor(), hWait);
}
