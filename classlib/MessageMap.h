#pragma once
// Message maps: a class lists the messages, commands and notifications it handles, each bound
// to a member function with the usual handler signature, and chains to its base class's map.
//
//   class CMyDlg : public CDialog { ... DECLARE_MESSAGE_MAP() };
//   BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//       ON_WM_SIZE()
//       ON_BN_CLICKED(IDC_NEXT, &CMyDlg::OnNext)
//       ON_NOTIFY(TVN_SELCHANGED, IDC_TREE, &CMyDlg::OnTreeSelChanged)
//   END_MESSAGE_MAP()
//
// Entries name member functions as &Class::Handler. ON_WM_* entries call the handler of the
// fixed name (OnSize, OnPaint, ...), found in the class or its bases. Each entry is a small
// captureless lambda that unpacks WPARAM and LPARAM, so a handler with the wrong signature is a
// compile error, not a crash. The dispatch itself is in CWnd::OnWndMsg.
#include "classlib/WinTypes.h"
#include <commctrl.h>
#include <type_traits>
#include "classlib/WindowMessages.h"

class CCmdTarget;

// Runs one entry: TRUE when the message counts as handled, with its result in *pResult.
typedef BOOL (*QM_MSG_HANDLER)(CCmdTarget* pTarget, UINT nMessage, WPARAM wParam, LPARAM lParam,
                               LRESULT* pResult);

struct QM_MSGMAP_ENTRY {
    UINT nMessage;   // window message, WM_COMMAND, WM_NOTIFY or a reflected QM_REFLECT_*
    UINT nCode;      // notification code for WM_COMMAND / WM_NOTIFY entries, else 0
    UINT nID;        // control id for WM_COMMAND / WM_NOTIFY entries, else 0
    QM_MSG_HANDLER pfn;
};

struct QM_MSGMAP {
    const QM_MSGMAP* (*pfnGetBaseMap)();  // NULL at the root
    const QM_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP() \
protected: \
    static const QM_MSGMAP* GetThisMessageMap(); \
    const QM_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    const QM_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const QM_MSGMAP* theClass::GetThisMessageMap() { \
        typedef theClass ThisClass; \
        typedef baseClass TheBaseClass; \
        static_assert(std::is_base_of<TheBaseClass, ThisClass>::value, "message map base"); \
        static const QM_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP() \
            { 0, 0, 0, nullptr } }; \
        static const QM_MSGMAP messageMap = { &TheBaseClass::GetThisMessageMap, &entries[0] }; \
        return &messageMap; \
    }

// Shorthand for the entry lambdas below.
#define QM_THUNK [](CCmdTarget* pT, UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) -> BOOL
#define QM_SELF static_cast<ThisClass*>(pT)
#define QM_UNUSED_ARGS (void)nMsg; (void)wParam; (void)lParam; (void)pResult

// ---- window messages (handler names and signatures as the class library has them) ----
#define ON_WM_CREATE() { WM_CREATE, 0, 0, QM_THUNK { QM_UNUSED_ARGS; \
    *pResult = QM_SELF->OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam)); return TRUE; } },
#define ON_WM_DESTROY() { WM_DESTROY, 0, 0, QM_THUNK { QM_UNUSED_ARGS; QM_SELF->OnDestroy(); return TRUE; } },
#define ON_WM_SIZE() { WM_SIZE, 0, 0, QM_THUNK { QM_UNUSED_ARGS; \
    QM_SELF->OnSize(static_cast<UINT>(wParam), (short)LOWORD(lParam), (short)HIWORD(lParam)); return TRUE; } },
#define ON_WM_PAINT() { WM_PAINT, 0, 0, QM_THUNK { QM_UNUSED_ARGS; QM_SELF->OnPaint(); return TRUE; } },
#define ON_WM_NCPAINT() { WM_NCPAINT, 0, 0, QM_THUNK { QM_UNUSED_ARGS; QM_SELF->OnNcPaint(); return TRUE; } },
#define ON_WM_ERASEBKGND() { WM_ERASEBKGND, 0, 0, QM_THUNK { QM_UNUSED_ARGS; \
    *pResult = QM_SELF->OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(wParam))); return TRUE; } },
#define ON_WM_TIMER() { WM_TIMER, 0, 0, QM_THUNK { QM_UNUSED_ARGS; \
    QM_SELF->OnTimer(static_cast<UINT_PTR>(wParam)); return TRUE; } },
#define QM_ON_MOUSE(msg, fn) { msg, 0, 0, QM_THUNK { QM_UNUSED_ARGS; \
    QM_SELF->fn(static_cast<UINT>(wParam), CPoint((short)LOWORD(lParam), (short)HIWORD(lParam))); return TRUE; } },
#define ON_WM_LBUTTONDOWN() QM_ON_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() QM_ON_MOUSE(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_MOUSEMOVE() QM_ON_MOUSE(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_SETCURSOR() { WM_SETCURSOR, 0, 0, QM_THUNK { QM_UNUSED_ARGS; \
    *pResult = QM_SELF->OnSetCursor(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(lParam), HIWORD(lParam)); \
    return TRUE; } },
#define QM_ON_SCROLL(msg, fn) { msg, 0, 0, QM_THUNK { QM_UNUSED_ARGS; \
    QM_SELF->fn(LOWORD(wParam), HIWORD(wParam), \
                reinterpret_cast<CScrollBar*>(CWnd::FromHandle(reinterpret_cast<HWND>(lParam)))); return TRUE; } },
#define ON_WM_HSCROLL() QM_ON_SCROLL(WM_HSCROLL, OnHScroll)
#define ON_WM_VSCROLL() QM_ON_SCROLL(WM_VSCROLL, OnVScroll)
#define ON_WM_MOUSEWHEEL() { WM_MOUSEWHEEL, 0, 0, QM_THUNK { QM_UNUSED_ARGS; \
    *pResult = QM_SELF->OnMouseWheel(GET_KEYSTATE_WPARAM(wParam), GET_WHEEL_DELTA_WPARAM(wParam), \
                                     CPoint((short)LOWORD(lParam), (short)HIWORD(lParam))); return TRUE; } },
#define ON_WM_KILLFOCUS() { WM_KILLFOCUS, 0, 0, QM_THUNK { QM_UNUSED_ARGS; \
    QM_SELF->OnKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam))); return TRUE; } },
#define ON_WM_CAPTURECHANGED() { WM_CAPTURECHANGED, 0, 0, QM_THUNK { QM_UNUSED_ARGS; \
    QM_SELF->OnCaptureChanged(CWnd::FromHandle(reinterpret_cast<HWND>(lParam))); return TRUE; } },
#define ON_WM_GETMINMAXINFO() { WM_GETMINMAXINFO, 0, 0, QM_THUNK { QM_UNUSED_ARGS; \
    QM_SELF->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam)); return TRUE; } },
#define ON_WM_SYSCOMMAND() { WM_SYSCOMMAND, 0, 0, QM_THUNK { QM_UNUSED_ARGS; \
    QM_SELF->OnSysCommand(static_cast<UINT>(wParam), lParam); return TRUE; } },
#define ON_WM_QUERYDRAGICON() { WM_QUERYDRAGICON, 0, 0, QM_THUNK { QM_UNUSED_ARGS; \
    *pResult = reinterpret_cast<LRESULT>(QM_SELF->OnQueryDragIcon()); return TRUE; } },
// The seven WM_CTLCOLOR* messages: HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor).
#define ON_WM_CTLCOLOR() { QM_WM_CTLCOLOR, 0, 0, QM_THUNK { QM_UNUSED_ARGS; \
    *pResult = reinterpret_cast<LRESULT>(QM_SELF->OnCtlColor(CDC::FromHandle(reinterpret_cast<HDC>(wParam)), \
        CWnd::FromHandle(reinterpret_cast<HWND>(lParam)), nMsg - WM_CTLCOLORMSGBOX)); return TRUE; } },

// ---- any message: LRESULT Handler(WPARAM, LPARAM) ----
#define ON_MESSAGE(message, memberFxn) { message, 0, 0, QM_THUNK { QM_UNUSED_ARGS; \
    *pResult = (QM_SELF->*(memberFxn))(wParam, lParam); return TRUE; } },

// ---- commands and control notifications: void Handler() ----
#define ON_COMMAND(id, memberFxn) ON_CONTROL(0, id, memberFxn)
#define ON_CONTROL(code, id, memberFxn) { WM_COMMAND, (UINT)(code), (UINT)(id), QM_THUNK { \
    QM_UNUSED_ARGS; (QM_SELF->*(memberFxn))(); return TRUE; } },
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
// void Handler(NMHDR* pNMHDR, LRESULT* pResult)
#define ON_NOTIFY(code, id, memberFxn) { WM_NOTIFY, (UINT)(code), (UINT)(id), QM_THUNK { \
    QM_UNUSED_ARGS; (QM_SELF->*(memberFxn))(reinterpret_cast<NMHDR*>(lParam), pResult); return TRUE; } },

// ---- notifications reflected back to the control's own object ----
// void Handler(): the control's own WM_COMMAND notification (e.g. STN_CLICKED, BN_CLICKED).
#define ON_CONTROL_REFLECT(code, memberFxn) { QM_REFLECT_COMMAND, (UINT)(code), 0, QM_THUNK { \
    QM_UNUSED_ARGS; (QM_SELF->*(memberFxn))(); return TRUE; } },
// HBRUSH CtlColor(CDC* pDC, UINT nCtlColor): a NULL brush leaves the request to the default.
#define ON_WM_CTLCOLOR_REFLECT() { QM_REFLECT_CTLCOLOR, 0, 0, QM_THUNK { QM_UNUSED_ARGS; \
    HBRUSH hbr = QM_SELF->CtlColor(CDC::FromHandle(reinterpret_cast<HDC>(wParam)), static_cast<UINT>(lParam)); \
    *pResult = reinterpret_cast<LRESULT>(hbr); return hbr != NULL; } },
