#pragma once
// The thread check of calls that Win32 binds to the window's own thread (CWnd::SetTimer and
// CWnd::KillTimer). Win32 requires the calling thread to own the window, but Wine 8 lets a
// worker set a timer on another thread's window, so only this check makes a test under Wine
// catch such a call. Workers carry those calls over with CWnd::SetTimerOnOwnerThread and
// CWnd::KillTimerOnOwnerThread (WindowThreadCall.h).
//
// The check is off in the shipped program. Linking the CMake target classlib_window_checked
// (which test executables do) switches it on before main runs. A violation calls the handler;
// the default handler prints the call and the window and aborts the process. Tests may install
// their own handler to observe violations; the call that failed the check then does nothing and
// reports failure (SetTimer returns 0, KillTimer FALSE).
#include "classlib/WinTypes.h"

typedef void (*WindowThreadViolationHandler)(HWND hWnd, const char* pszCall);

// Switches the check on for the whole process (classlib_window_checked calls it at start-up).
void EnableWindowThreadCheck();
BOOL IsWindowThreadCheckEnabled();
// Installs a handler and returns the previous one; NULL restores the aborting default.
WindowThreadViolationHandler SetWindowThreadViolationHandler(WindowThreadViolationHandler pfn);
// TRUE when the call may go ahead: the check is off, or the calling thread owns hWnd.
BOOL CheckWindowThread(HWND hWnd, const char* pszCall);
