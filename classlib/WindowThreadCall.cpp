#include "classlib/WindowThreadCall.h"

#include <exception>
#include <memory>

#include "classlib/WindowInternals.h"
#include "classlib/WindowMessages.h"

namespace {

// The payload of QM_WM_RUNCALL: lives on the sender's stack while it waits.
struct SentCall {
    const std::function<void()>* pfn;
    std::exception_ptr error;
    bool bRan;
};

}  // namespace

BOOL IsWindowOfCallingThread(HWND hWnd)
{
    return ::GetWindowThreadProcessId(hWnd, NULL) == ::GetCurrentThreadId();
}

BOOL RunOnWindowThread(HWND hWnd, const std::function<void()>& fn)
{
    if (!::IsWindow(hWnd))
        return FALSE;
    if (IsWindowOfCallingThread(hWnd)) {
        fn();
        return TRUE;
    }
    SentCall call = {&fn, nullptr, false};
    ::SendMessageW(hWnd, QM_WM_RUNCALL, 0, reinterpret_cast<LPARAM>(&call));
    if (call.error)
        std::rethrow_exception(call.error);
    return call.bRan;
}

BOOL PostToWindowThread(HWND hWnd, std::function<void()> fn)
{
    auto* pCall = new std::function<void()>(std::move(fn));
    if (!::PostMessageW(hWnd, QM_WM_POSTEDCALL, 0, reinterpret_cast<LPARAM>(pCall))) {
        delete pCall;
        return FALSE;
    }
    return TRUE;
}

LRESULT QmRunSentCall(LPARAM lParam)
{
    SentCall* pCall = reinterpret_cast<SentCall*>(lParam);
    try {
        (*pCall->pfn)();
    } catch (...) {
        pCall->error = std::current_exception();  // thrown again on the sender's thread
    }
    pCall->bRan = true;
    return 0;
}

void QmRunPostedCall(LPARAM lParam)
{
    std::unique_ptr<std::function<void()>> pCall(reinterpret_cast<std::function<void()>*>(lParam));
    (*pCall)();  // an exception is caught at the window procedure's edge; the payload is freed
}

void QmDropPostedCalls(HWND hWnd)
{
    MSG msg;
    while (::PeekMessageW(&msg, hWnd, QM_WM_POSTEDCALL, QM_WM_POSTEDCALL, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // PeekMessage hands out a pending quit whatever the filter: it belongs to the loop.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        delete reinterpret_cast<std::function<void()>*>(msg.lParam);
    }
}
