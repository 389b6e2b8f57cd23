// The window half's per-thread state and the temporary wrappers it keeps for handles no object owns.
#include "classlib/WindowInternals.h"

namespace {

thread_local QmThreadState* t_pThreadState = nullptr;  // a plain pointer: see WindowInternals.h

}  // namespace

QmThreadState& QmGetThreadState()
{
    if (t_pThreadState == nullptr)
        t_pThreadState = new QmThreadState;
    return *t_pThreadState;
}

void QmReleaseThreadState()
{
    if (t_pThreadState == nullptr)
        return;
    QmFreeAllTemporaryWrappers();
    delete t_pThreadState;
    t_pThreadState = nullptr;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (hWnd == NULL)
        return nullptr;
    if (CWnd* pWnd = FromHandlePermanent(hWnd))
        return pWnd;
    return QmGetThreadState().windows.Get(hWnd, [](CWnd& wnd, HWND h) { wnd.m_hWnd = h; });
}

void QmFreeTemporaryWindows()
{
    // A temporary never destroys the window it wraps.
    QmGetThreadState().windows.FreeAll([](CWnd& wnd) { wnd.m_hWnd = NULL; });
}

void QmFreeAllTemporaryWrappers()
{
    QmFreeTemporaryWindows();
    QmFreeTemporaryDCs();
    QmFreeTemporaryGdi();
    QmFreeTemporaryMenus();
    QmFreeTemporaryImageLists();
}

void AfxFreeTemporaryWrappers()
{
    // A handler further up this thread's stack may still hold a temporary (a nested modal loop
    // runs inside a window procedure): free only at the outermost level.
    if (QmGetThreadState().nDispatchDepth == 0)
        QmFreeAllTemporaryWrappers();
}
