#pragma once
// A window: the C++ object bound to one HWND, with the message map dispatch, reflection of
// control notifications, subclassing and the member calls the program uses.
//
// Binding. Every HWND that a CWnd created (Create/CreateEx), subclassed (SubclassWindow,
// SubclassDlgItem) or attached (Attach) is recorded in one process-wide permanent handle map,
// guarded by a lock, so FromHandle from any thread finds the same object. FromHandle of a
// window with no object of its own returns a temporary wrapper that belongs to the calling
// thread; temporaries are freed when that thread's message loop is idle outside any window
// procedure, or when the thread ends: never keep one across messages.
//
// Creation. CreateEx parks the object in thread-local storage and watches the window creation
// (a thread-local CBT hook): the object is bound to the new window before WM_NCCREATE, so
// WM_NCCREATE, WM_CREATE and the WM_SIZE of creation reach the object. A window of another
// class (a system control) is subclassed at that moment; its own procedure becomes the one that
// DefWindowProc and Default call.
//
// Dispatch. One static window procedure serves every bound window: it keeps the current message
// per thread (for Default), calls WindowProc, and catches every C++
// exception so that none unwinds through Win32. WindowProc -> OnWndMsg (the message map) ->
// DefWindowProc for what the map leaves. A control's messages to its parent are also offered to
// the control's own object; the order is decided in OnControlMessage alone (see there).
//
// Lifetime. When the window is destroyed the object is unbound at WM_NCDESTROY and
// PostNcDestroy is called; a CWnd whose window still exists destroys it in its destructor.
#include "classlib/WinTypes.h"
#include "classlib/CString.h"
#include "classlib/CCmdTarget.h"
#include "classlib/CRect.h"

class CDC;
class CFont;
class CMenu;
class CScrollBar;
class CDataExchange;

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
public:
    HWND m_hWnd;

    CWnd();
    ~CWnd() override;

    // ---- binding ----
    static CWnd* FromHandle(HWND hWnd);           // permanent object, else a temporary wrapper
    static CWnd* FromHandlePermanent(HWND hWnd);  // the bound object, or NULL
    BOOL Attach(HWND hWndNew);
    HWND Detach();
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();
    HWND GetSafeHwnd() const { return m_hWnd; }

    // ---- creation and destruction ----
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, LPVOID lpParam = NULL);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                  int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                  LPVOID lpParam = NULL);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                  const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = NULL);
    virtual BOOL DestroyWindow();

    // ---- messages ----
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Offers pMsg to PreTranslateMessage of its window and then of each parent, up to and
    // including hWndStop; TRUE as soon as one of them took it.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);

    // ---- relatives ----
    CWnd* GetParent() const;
    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const;

    // ---- geometry ----
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void GetClientRect(LPRECT lpRect) const;
    void GetWindowRect(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    int SetWindowRgn(HRGN hRgn, BOOL bRedraw);

    // ---- state ----
    BOOL ShowWindow(int nCmdShow);
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    DWORD GetStyle() const;
    // Removes and adds style bits; with nFlags non-zero also applies them with SetWindowPos.
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    CWnd* SetFocus();

    // ---- text and font ----
    void SetWindowText(LPCTSTR lpszString);
    void GetWindowText(CString& rString) const;
    void SetDlgItemText(int nID, LPCTSTR lpszString);
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    CMenu* GetSystemMenu(BOOL bRevert) const;

    // ---- painting ----
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void SetRedraw(BOOL bRedraw = TRUE);

    // ---- scroll bars (the window's standard bars) ----
    BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL) const;
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
    int GetScrollPos(int nBar) const;
    void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const;

    // ---- timers: only on the window's own thread (see WindowThreadCheck.h) ----
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = NULL);
    BOOL KillTimer(UINT_PTR nIDEvent);
    // The same from any thread: carried to the window's thread and run there (WindowThreadCall.h).
    UINT_PTR SetTimerOnOwnerThread(UINT_PTR nIDEvent, UINT nElapse);
    BOOL KillTimerOnOwnerThread(UINT_PTR nIDEvent);

    // ---- mouse capture ----
    CWnd* SetCapture();
    static BOOL ReleaseCapture();

    // ---- dialog data exchange (used by CDialog) ----
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // ---- default processing ----
    LRESULT Default();  // DefWindowProc of the current message
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // ---- message handlers with the library's signatures; each base version does the default
    //      processing of the current message. Only the handlers that derived classes call are
    //      here: a class that lists another ON_WM_* entry defines that handler itself and calls
    //      Default() for the default processing. ----
    void OnDestroy();
    void OnSize(UINT nType, int cx, int cy);
    void OnPaint();
    void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    void OnSysCommand(UINT nID, LPARAM lParam);
    // Default: the control's own object answers (ON_WM_CTLCOLOR_REFLECT), else default processing.
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

protected:
    WNDPROC m_pfnSuper;  // the window's own procedure before we bound it; NULL for our classes

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A message of this control to its parent (WM_COMMAND, WM_CTLCOLOR*, WM_DRAWITEM)
    // offered to this object. TRUE when this object handled it (the parent then does no more).
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual void PreSubclassWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void PostNcDestroy();
    virtual void DoDataExchange(CDataExchange* pDX);

    DECLARE_MESSAGE_MAP()

private:
    friend LRESULT CALLBACK QmStaticWindowProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK QmCreationHook(int, WPARAM, LPARAM);
    friend class CDialog;
    void BindAtCreation(HWND hWnd);
    void UnbindAtNcDestroy();
    BOOL OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    LRESULT ReflectOrDefault(UINT message, WPARAM wParam, LPARAM lParam);
};

// Registers (once per distinct set of attributes) a window class served by the library's window
// procedure and returns its name; the name stays valid for the life of the process.
LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = 0, HBRUSH hbrBackground = 0, HICON hIcon = 0);

// Frees the calling thread's temporary wrappers (CWnd, CDC, GDI objects, menus, image lists)
// unless a window procedure of this thread is running. Message loops call it when idle.
void AfxFreeTemporaryWrappers();

// The error hook of the window procedure's edge: a C++ exception that escaped a handler is
// caught there, reported through this hook (default: OutputDebugString) and the message answers 0.
typedef void (*WindowProcErrorHandler)(HWND hWnd, UINT message, const wchar_t* pszWhat);
WindowProcErrorHandler SetWindowProcErrorHandler(WindowProcErrorHandler pfn);
