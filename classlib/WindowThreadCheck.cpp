#include "classlib/WindowThreadCheck.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "classlib/WindowThreadCall.h"

namespace {

std::atomic<bool> g_bEnabled{false};
std::atomic<WindowThreadViolationHandler> g_pfnHandler{nullptr};

void AbortOnViolation(HWND hWnd, const char* pszCall)
{
    char text[256];
    std::snprintf(text, sizeof text,
                  "%s called on thread %lu for window %p of thread %lu: carry it to the window's thread\n",
                  pszCall, ::GetCurrentThreadId(), static_cast<void*>(hWnd),
                  ::GetWindowThreadProcessId(hWnd, NULL));
    ::OutputDebugStringA(text);
    std::fputs(text, stderr);
    std::fflush(stderr);
    std::abort();
}

}  // namespace

void EnableWindowThreadCheck() { g_bEnabled.store(true); }

BOOL IsWindowThreadCheckEnabled() { return g_bEnabled.load(); }

WindowThreadViolationHandler SetWindowThreadViolationHandler(WindowThreadViolationHandler pfn)
{
    return g_pfnHandler.exchange(pfn);
}

BOOL CheckWindowThread(HWND hWnd, const char* pszCall)
{
    // A window that does not exist fails in Win32 itself; only a live foreign window is a fault.
    if (!g_bEnabled.load() || !::IsWindow(hWnd) || IsWindowOfCallingThread(hWnd))
        return TRUE;
    WindowThreadViolationHandler pfn = g_pfnHandler.load();
    (pfn ? pfn : AbortOnViolation)(hWnd, pszCall);
    return FALSE;
}
