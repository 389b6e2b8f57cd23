#pragma once
// Internal links between the window half's sources; not for program code.
#include "classlib/WinTypes.h"

class CWnd;
class CCmdTarget;

// Creates a window with pfnCreate(pContext) while pWnd is parked for the creation hook, so that
// pWnd is bound before WM_NCCREATE. TRUE when the window exists and is bound to pWnd.
BOOL QmCreateWithBinding(CWnd* pWnd, HWND (*pfnCreate)(void*), void* pContext);
// The application object, for commands that its top-level windows do not handle; NULL if none.
CCmdTarget* QmGetAppCommandTarget();

// The calling thread's temporary wrappers, per kind.
void QmFreeTemporaryWindows();
void QmFreeTemporaryDCs();
void QmFreeTemporaryGdi();
void QmFreeTemporaryMenus();
void QmFreeTemporaryImageLists();
// Frees every temporary of the calling thread, whatever runs (at the end of a worker thread).
void QmFreeAllTemporaryWrappers();

// The library's one window procedure.
LRESULT CALLBACK QmStaticWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Called at WM_NCDESTROY: the application and thread forget a main window that is going away.
void QmForgetMainWindow(CWnd* pWnd);
// The wait cursor of the calling thread, shown again at WM_SETCURSOR while the count is above 0.
BOOL QmApplyWaitCursor();
// Runs the QM_WM_RUNCALL / QM_WM_POSTEDCALL payloads; drops queued posted calls of a dying window.
LRESULT QmRunSentCall(LPARAM lParam);
void QmRunPostedCall(LPARAM lParam);
void QmDropPostedCalls(HWND hWnd);
