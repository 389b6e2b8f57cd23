#pragma once
// Crossing threads: how a worker thread has code run on the thread that owns a window.
//
// Win32 binds some window calls to the thread that created the window: timers (SetTimer,
// KillTimer), painting, DestroyWindow, the keyboard focus. The user-interface thread owns every
// window of this program; a worker that needs one of those calls hands it over with one of the
// two functions below. Calls that the window system turns into messages by itself
// (SetWindowText, EnableWindow, SendMessage to a control) need no help.
//
//   RunOnWindowThread(hwnd, fn)  runs fn on hwnd's thread and waits for it. On the owning thread
//                                it simply calls fn. From another thread it sends QM_WM_RUNCALL
//                                (WindowMessages.h) to hwnd; the payload lives on the sender's
//                                stack because the sender waits. An exception thrown by fn is
//                                caught on the window's thread and thrown again in the caller.
//                                FALSE when fn did not run (the window is gone or is not one of
//                                ours).
//   PostToWindowThread(hwnd, fn) queues fn for hwnd's thread and returns at once: QM_WM_POSTEDCALL
//                                carries a heap copy of fn, which the receiver runs and deletes.
//                                The sender deletes it when the post fails; a call still queued
//                                when the window is destroyed is deleted without running. An
//                                exception thrown by fn stops at the window procedure and goes
//                                to its error hook (SetWindowProcErrorHandler, CWnd.h).
//
// Both work for windows that a CWnd object created or subclassed (every window of this program:
// the one window procedure of the library answers the two messages before the message map).
// RunOnWindowThread blocks until the owning thread reads its messages: never call it while the
// user-interface thread waits for this worker without pumping messages (wait with
// MsgWaitForMultipleObjects there, as ARCHITECTURE.md asks).
#include "classlib/WinTypes.h"
#include <functional>

BOOL RunOnWindowThread(HWND hWnd, const std::function<void()>& fn);
BOOL PostToWindowThread(HWND hWnd, std::function<void()> fn);

// TRUE when the calling thread created hWnd.
BOOL IsWindowOfCallingThread(HWND hWnd);
