// Helpers of the window tests: message pumps with time limits, a plain top-level test window,
// system controls bound to their wrappers, and a finder for the dialog boxes that another
// thread opens.
#pragma once

#include <functional>

#include "classlib/Window.h"

// The default limit of every wait below. It only detects a failure (what is waited for never comes),
// so it is long enough for a machine that is busy with other work; a wait ends as soon as its
// thing is there.
const DWORD kFailureLimitMs = 30000;

// Pumps the calling thread's messages until pred() holds or timeoutMs passes; pred()'s last value.
inline bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs = kFailureLimitMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (pred())
            return true;
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= timeoutMs)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed < 20 ? timeoutMs - elapsed : 20,
                                    QS_ALLINPUT);
    }
}

inline void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

// Serves only what other threads send to this one until done() holds or timeoutMs passes: no
// posted message and no timer runs meanwhile, so what other threads queued for this thread waits.
inline bool ServeSendsUntil(const std::function<bool()>& done, DWORD timeoutMs = kFailureLimitMs)
{
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start >= timeoutMs)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_SENDMESSAGE);
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    return true;
}

// Waits for a handle while pumping messages (the other thread may be sending to our windows).
inline bool WaitPumping(HANDLE h, DWORD timeoutMs = kFailureLimitMs)
{
    return PumpUntil([h] { return ::WaitForSingleObject(h, 0) == WAIT_OBJECT_0; }, timeoutMs);
}

// A visible top-level window of a library-registered class. Without a caption by default: under
// Wine without a window manager, hiding or destroying a captioned window waits about 2 s.
inline BOOL CreateTestFrame(CWnd& wnd, int width = 300, int height = 200,
                            DWORD dwStyle = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN)
{
    LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursorW(NULL, IDC_ARROW),
                                      reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    if (!wnd.CreateEx(0, cls, L"test", dwStyle, 20, 20, width, height, NULL, NULL))
        return FALSE;
    wnd.ShowWindow(SW_SHOWNOACTIVATE);
    ::UpdateWindow(wnd.m_hWnd);
    return TRUE;
}

// A system control (window class pszClass) created as child nID of pParent and bound to control
// by subclassing, as the program binds the controls of its dialog templates. FALSE, with no
// window left, when either step fails.
inline BOOL CreateBoundControl(CWnd& control, LPCWSTR pszClass, LPCWSTR pszText, DWORD dwStyle, const RECT& rect,
                               CWnd* pParent, UINT nID)
{
    HWND hWnd = ::CreateWindowExW(0, pszClass, pszText, dwStyle, rect.left, rect.top, rect.right - rect.left,
                                  rect.bottom - rect.top, pParent->m_hWnd,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), ::GetModuleHandleW(NULL), NULL);
    if (hWnd == NULL)
        return FALSE;
    if (control.SubclassWindow(hWnd))
        return TRUE;
    ::DestroyWindow(hWnd);
    return FALSE;
}

inline BOOL CALLBACK FindVisibleDialog(HWND hWnd, LPARAM lParam)
{
    wchar_t cls[32] = {};
    ::GetClassNameW(hWnd, cls, 32);
    if (lstrcmpW(cls, L"#32770") == 0 && ::IsWindowVisible(hWnd)) {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

// The first visible dialog-class window ("#32770") of thread threadId, or NULL after timeoutMs.
inline HWND FindThreadDialog(DWORD threadId, DWORD timeoutMs = kFailureLimitMs)
{
    HWND found = NULL;
    for (DWORD waited = 0;; waited += 20) {
        ::EnumThreadWindows(threadId, &FindVisibleDialog, reinterpret_cast<LPARAM>(&found));
        if (found != NULL || waited >= timeoutMs)
            return found;
        ::Sleep(20);
    }
}

// The text of the tooltip's tool nIDTool on pWnd (the control keeps up to 1024 characters).
inline CString ToolTipText(CToolTipCtrl& tip, CWnd* pWnd, UINT_PTR nIDTool)
{
    wchar_t text[1024] = {};
    TTTOOLINFOW ti = {};
    ti.cbSize = sizeof ti;
    ti.hwnd = pWnd->m_hWnd;
    ti.uId = nIDTool;
    ti.lpszText = text;
    tip.SendMessage(TTM_GETTEXTW, sizeof text / sizeof text[0], reinterpret_cast<LPARAM>(&ti));
    return CString(text);
}
