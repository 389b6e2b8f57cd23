#include "classlib/CWnd.h"

#include <exception>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <unordered_map>

#include "classlib/AppHandles.h"
#include "classlib/CDC.h"
#include "classlib/CDataExchange.h"
#include "classlib/CException.h"
#include "classlib/CFont.h"
#include "classlib/CMenu.h"
#include "classlib/CRgn.h"
#include "classlib/WindowInternals.h"
#include "classlib/WindowThreadCall.h"
#include "classlib/WindowThreadCheck.h"

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

// CWnd's own map is empty: every message it does not list goes to DefWindowProc, and the
// reflection defaults live in OnWndMsg.
const QM_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }
const QM_MSGMAP* CWnd::GetThisMessageMap()
{
    static const QM_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const QM_MSGMAP messageMap = {&CCmdTarget::GetThisMessageMap, &entries[0]};
    return &messageMap;
}

// ---------------------------------------------------------------------------------------------
// The permanent handle map (process-wide, locked) and the per-thread state.

namespace {

std::mutex& PermanentLock()
{
    static std::mutex lock;
    return lock;
}

std::unordered_map<HWND, CWnd*>& PermanentMap()
{
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

thread_local QmThreadState* t_pThreadState = nullptr;  // a plain pointer: see WindowInternals.h

QmThreadState& ThreadState() { return QmGetThreadState(); }

WindowProcErrorHandler g_pfnErrorHandler = nullptr;  // set by tests; read on every caught error

void ReportWindowProcError(HWND hWnd, UINT message, const wchar_t* pszWhat)
{
    if (WindowProcErrorHandler pfn = g_pfnErrorHandler) {
        pfn(hWnd, message, pszWhat);
        return;
    }
    CString text;
    text.Format(L"window procedure: exception in message 0x%04x: %s\n", message, pszWhat);
    ::OutputDebugStringW(text);
}

// One window procedure of the calling thread running, for the length of a scope.
class DispatchLevel {
public:
    explicit DispatchLevel(QmThreadState& state) : m_state(state) { ++m_state.nDispatchDepth; }
    ~DispatchLevel() { --m_state.nDispatchDepth; }
    DispatchLevel(const DispatchLevel&) = delete;
    DispatchLevel& operator=(const DispatchLevel&) = delete;

private:
    QmThreadState& m_state;
};

// Runs fn (one step of the window procedure) so that no C++ exception leaves it: an escaped
// exception is reported through the error hook and the step answers 0.
template <class Fn>
LRESULT CallContained(HWND hWnd, UINT message, Fn fn)
{
    try {
        return fn();
    } catch (CException* e) {
        wchar_t text[512];
        if (!e->GetErrorMessage(text, 512))
            lstrcpynW(text, L"class library exception", 512);
        e->Delete();
        ReportWindowProcError(hWnd, message, text);
    } catch (const std::exception& e) {
        CString text;
        for (const char* p = e.what(); *p != 0; ++p)
            text.AppendChar(static_cast<WCHAR>(static_cast<unsigned char>(*p)));
        ReportWindowProcError(hWnd, message, text);
    } catch (...) {
        ReportWindowProcError(hWnd, message, L"unknown exception");
    }
    return 0;
}

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

WindowProcErrorHandler SetWindowProcErrorHandler(WindowProcErrorHandler pfn)
{
    WindowProcErrorHandler old = g_pfnErrorHandler;
    g_pfnErrorHandler = pfn;
    return old;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    if (hWnd == NULL)
        return nullptr;
    std::lock_guard<std::mutex> guard(PermanentLock());
    auto it = PermanentMap().find(hWnd);
    return it == PermanentMap().end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (hWnd == NULL)
        return nullptr;
    if (CWnd* pWnd = FromHandlePermanent(hWnd))
        return pWnd;
    return ThreadState().windows.Get(hWnd, [](CWnd& wnd, HWND h) { wnd.m_hWnd = h; });
}

void QmFreeTemporaryWindows()
{
    // A temporary never destroys the window it wraps.
    ThreadState().windows.FreeAll([](CWnd& wnd) { wnd.m_hWnd = NULL; });
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
    if (ThreadState().nDispatchDepth == 0)
        QmFreeAllTemporaryWrappers();
}

// ---------------------------------------------------------------------------------------------
// Construction, binding, subclassing

CWnd::CWnd() : m_hWnd(NULL), m_pfnSuper(NULL) {}

CWnd::~CWnd()
{
    if (m_hWnd == NULL || FromHandlePermanent(m_hWnd) != this)
        return;
    // The window outlives its object: destroy it where Win32 allows (its own thread); otherwise
    // give it back its own procedure so that no message reaches the freed object.
    if (::IsWindow(m_hWnd) && IsWindowOfCallingThread(m_hWnd))
        ::DestroyWindow(m_hWnd);
    if (m_hWnd != NULL)
        UnsubclassWindow();
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (hWndNew == NULL || m_hWnd != NULL)
        return FALSE;
    {
        std::lock_guard<std::mutex> guard(PermanentLock());
        if (!PermanentMap().emplace(hWndNew, this).second)
            return FALSE;  // another object is bound to it already
    }
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd != NULL) {
        std::lock_guard<std::mutex> guard(PermanentLock());
        auto it = PermanentMap().find(hWnd);
        if (it != PermanentMap().end() && it->second == this)
            PermanentMap().erase(it);
    }
    m_hWnd = NULL;
    return hWnd;
}

void CWnd::BindAtCreation(HWND hWnd)
{
    if (!Attach(hWnd))
        return;
    WNDPROC current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC));
    if (current != QmStaticWindowProc)
        m_pfnSuper = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(QmStaticWindowProc)));
}

void CWnd::UnbindAtNcDestroy()
{
    QmDropPostedCalls(m_hWnd);
    Detach();
    m_pfnSuper = NULL;
    QmForgetMainWindow(this);
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!::IsWindow(hWnd) || !Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    WNDPROC old = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(QmStaticWindowProc)));
    if (old == NULL) {  // another process's window, or the window died meanwhile
        Detach();
        return FALSE;
    }
    if (old != QmStaticWindowProc)
        m_pfnSuper = old;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    if (pParent == nullptr || pParent->m_hWnd == NULL)
        return FALSE;
    return SubclassWindow(::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)));
}

HWND CWnd::UnsubclassWindow()
{
    if (m_hWnd != NULL && m_pfnSuper != NULL) {
        WNDPROC current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC));
        // Someone subclassed it after us: leave their chain alone rather than cut it.
        if (current == QmStaticWindowProc)
            ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    }
    m_pfnSuper = NULL;
    return Detach();
}

void CWnd::PreSubclassWindow() {}

BOOL CWnd::PreCreateWindow(CREATESTRUCT&) { return TRUE; }

void CWnd::PostNcDestroy() {}

void CWnd::DoDataExchange(CDataExchange*) {}

// ---------------------------------------------------------------------------------------------
// Creation: the object is parked for the creation hook, which binds it before WM_NCCREATE.

// Windows creates a thread's input-method windows by itself, during the creation of the
// thread's first window: those are not the window being created.
static bool IsSystemCreatedWindow(HWND hWnd)
{
    wchar_t className[16] = {};
    ::GetClassNameW(hWnd, className, 16);
    return lstrcmpiW(className, L"IME") == 0 || lstrcmpiW(className, L"MSCTFIME UI") == 0;
}

LRESULT CALLBACK QmCreationHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    QmThreadState& state = ThreadState();
    if (nCode == HCBT_CREATEWND && state.pParked != nullptr && !IsSystemCreatedWindow(reinterpret_cast<HWND>(wParam))) {
        CWnd* pWnd = state.pParked;
        state.pParked = nullptr;  // windows created later (its children) are not ours to bind
        pWnd->BindAtCreation(reinterpret_cast<HWND>(wParam));
    }
    return ::CallNextHookEx(NULL, nCode, wParam, lParam);
}

// Parks pWnd and watches the creations of the calling thread for the length of one scope.
class CWndCreationScope {
public:
    explicit CWndCreationScope(CWnd* pWnd) : m_pOldParked(ThreadState().pParked)
    {
        ThreadState().pParked = pWnd;
        m_hHook = ::SetWindowsHookExW(WH_CBT, QmCreationHook, NULL, ::GetCurrentThreadId());
    }
    ~CWndCreationScope()
    {
        if (m_hHook != NULL)
            ::UnhookWindowsHookEx(m_hHook);
        ThreadState().pParked = m_pOldParked;
    }
    BOOL HookInstalled() const { return m_hHook != NULL; }

private:
    CWnd* m_pOldParked;
    HHOOK m_hHook;
};

BOOL QmCreateWithBinding(CWnd* pWnd, HWND (*pfnCreate)(void*), void* pContext)
{
    CWndCreationScope scope(pWnd);
    if (!scope.HookInstalled())
        return FALSE;
    HWND hWnd = pfnCreate(pContext);
    return hWnd != NULL && pWnd->m_hWnd == hWnd;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    if (m_hWnd != NULL)
        return FALSE;
    CREATESTRUCT cs = {};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs))
        return FALSE;
    auto create = [](void* p) -> HWND {
        const CREATESTRUCT& c = *static_cast<const CREATESTRUCT*>(p);
        return ::CreateWindowExW(c.dwExStyle, c.lpszClass, c.lpszName, static_cast<DWORD>(c.style), c.x, c.y,
                                 c.cx, c.cy, c.hwndParent, c.hMenu, c.hInstance, c.lpCreateParams);
    };
    return QmCreateWithBinding(this, create, &cs);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    HWND hParent = pParentWnd ? pParentWnd->m_hWnd : NULL;
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, hParent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, lpParam);
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == NULL)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

// ---------------------------------------------------------------------------------------------
// The window procedure and dispatch

LRESULT CALLBACK QmStaticWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    QmThreadState& state = ThreadState();
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    // Every object is bound by the creation hook before its window's first message (creation
    // without the hook is refused), so an unbound window here has no object: one of our classes
    // created by plain CreateWindowEx.
    if (pWnd == nullptr)
        return ::DefWindowProcW(hWnd, message, wParam, lParam);

    switch (message) {
    case QM_WM_RUNCALL: {
        // Carried calls count as window procedures running: a message loop nested in one (a
        // modal box) must not free the temporaries that the call still holds.
        DispatchLevel level(state);
        return QmRunSentCall(lParam);
    }
    case QM_WM_POSTEDCALL: {
        DispatchLevel level(state);
        // A posted call has no caller waiting to take its exception: it stops here.
        return CallContained(hWnd, message, [&] {
            QmRunPostedCall(lParam);
            return LRESULT(0);
        });
    }
    case WM_SETCURSOR:
        if (QmApplyWaitCursor())
            return TRUE;
        break;
    default:
        break;
    }

    const MSG saved = state.current;
    state.current.hwnd = hWnd;
    state.current.message = message;
    state.current.wParam = wParam;
    state.current.lParam = lParam;
    LRESULT result = 0;
    {
        DispatchLevel level(state);
        result = CallContained(hWnd, message, [&] { return pWnd->WindowProc(message, wParam, lParam); });
        if (message == WM_NCDESTROY && pWnd->m_hWnd == hWnd) {
            pWnd->UnbindAtNcDestroy();
            CallContained(hWnd, message, [&] {
                pWnd->PostNcDestroy();  // may delete the object
                return LRESULT(0);
            });
        }
    }
    state.current = saved;
    return result;
}

const MSG* CWnd::GetCurrentMessage() { return &ThreadState().current; }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper != NULL)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG& current = ThreadState().current;
    return DefWindowProc(current.message, current.wParam, current.lParam);
}

namespace {

bool IsCtlColor(UINT message) { return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC; }

bool IsControlMessage(UINT message)
{
    return message == WM_COMMAND || message == WM_NOTIFY || message == WM_DRAWITEM || IsCtlColor(message);
}

// The control that a control message comes from; NULL for a menu or an accelerator.
HWND ControlOf(UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_NOTIFY)
        return lParam != 0 ? reinterpret_cast<const NMHDR*>(lParam)->hwndFrom : NULL;
    if (message == WM_DRAWITEM) {
        const DRAWITEMSTRUCT* pDis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return pDis != nullptr && pDis->CtlType != ODT_MENU ? pDis->hwndItem : NULL;
    }
    return reinterpret_cast<HWND>(lParam);  // WM_COMMAND, WM_CTLCOLOR*
}

}  // namespace

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (IsControlMessage(message))
        return OnControlMessage(message, wParam, lParam, pResult);
    if (const QM_MSGMAP_ENTRY* pEntry = FindMessageEntry(GetMessageMap(), message, 0, 0))
        return pEntry->pfn(this, message, wParam, lParam, pResult);
    return FALSE;
}

// Reflection: the one place that orders the parent's handlers and the control's own object.
// A control tells its parent what happened to it (WM_COMMAND, WM_NOTIFY) or asks how to paint
// (WM_CTLCOLOR*, WM_DRAWITEM). What happened goes to the control's object first
// (ON_CONTROL_REFLECT, ON_NOTIFY_REFLECT); the parent's map sees only what the control leaves.
// How to paint goes to the parent's handler first (ON_WM_CTLCOLOR, ON_WM_DRAWITEM: a page
// colours its own controls); the control's object (ON_WM_CTLCOLOR_REFLECT, CButton::DrawItem)
// answers what that handler leaves to its default, CWnd::OnCtlColor or CWnd::OnDrawItem, and
// everything when the parent has no handler; default processing comes last.
BOOL CWnd::OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    *pResult = 0;
    if (message == WM_COMMAND || message == WM_NOTIFY) {
        if (ReflectToControl(message, wParam, lParam, pResult))
            return TRUE;
        if (message == WM_COMMAND)
            return OnCommand(wParam, lParam);
        return lParam != 0 && OnNotify(wParam, lParam, pResult);
    }
    const UINT nKey = IsCtlColor(message) ? QM_WM_CTLCOLOR : WM_DRAWITEM;
    if (const QM_MSGMAP_ENTRY* pEntry = FindMessageEntry(GetMessageMap(), nKey, 0, 0))
        return pEntry->pfn(this, message, wParam, lParam, pResult);
    *pResult = ReflectOrDefault(message, wParam, lParam);
    return TRUE;
}

// TRUE when the object of the control that sent the message handled it.
BOOL CWnd::ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    CWnd* pControl = FromHandlePermanent(ControlOf(message, wParam, lParam));
    return pControl != nullptr && pControl != this && pControl->OnChildNotify(message, wParam, lParam, pResult);
}

// The control's object answers the request, else default processing does.
LRESULT CWnd::ReflectOrDefault(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (ReflectToControl(message, wParam, lParam, &result))
        return result;
    return DefWindowProc(message, wParam, lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nID = LOWORD(wParam);
    int nCode = HIWORD(wParam);
    if (lParam == 0 && nCode == 1)
        nCode = 0;  // an accelerator counts as the menu command of the same id
    if (OnCmdMsg(nID, nCode))
        return TRUE;
    // A top-level window hands the commands it does not handle to the application.
    if ((GetStyle() & WS_CHILD) == 0) {
        if (CCmdTarget* pApp = QmGetAppCommandTarget())
            return pApp->OnCmdMsg(nID, nCode);
    }
    return FALSE;
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* pHdr = reinterpret_cast<const NMHDR*>(lParam);
    const QM_MSGMAP_ENTRY* pEntry =
        FindMessageEntry(GetMessageMap(), WM_NOTIFY, pHdr->code, static_cast<UINT>(pHdr->idFrom));
    if (pEntry == nullptr)
        return FALSE;
    return pEntry->pfn(this, WM_NOTIFY, wParam, lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const QM_MSGMAP* pMap = GetMessageMap();
    if (message == WM_COMMAND) {
        const QM_MSGMAP_ENTRY* pEntry = FindMessageEntry(pMap, QM_REFLECT_COMMAND, HIWORD(wParam), 0);
        return pEntry != nullptr && pEntry->pfn(this, QM_REFLECT_COMMAND, wParam, lParam, pResult);
    }
    if (message == WM_NOTIFY) {
        const NMHDR* pHdr = reinterpret_cast<const NMHDR*>(lParam);
        const QM_MSGMAP_ENTRY* pEntry = FindMessageEntry(pMap, QM_REFLECT_NOTIFY, pHdr->code, 0);
        return pEntry != nullptr && pEntry->pfn(this, QM_REFLECT_NOTIFY, wParam, lParam, pResult);
    }
    if (IsCtlColor(message)) {
        const QM_MSGMAP_ENTRY* pEntry = FindMessageEntry(pMap, QM_REFLECT_CTLCOLOR, 0, 0);
        return pEntry != nullptr &&
               pEntry->pfn(this, QM_REFLECT_CTLCOLOR, wParam, message - WM_CTLCOLORMSGBOX, pResult);
    }
    if (message == WM_DRAWITEM) {
        const QM_MSGMAP_ENTRY* pEntry = FindMessageEntry(pMap, QM_REFLECT_DRAWITEM, 0, 0);
        return pEntry != nullptr && pEntry->pfn(this, QM_REFLECT_DRAWITEM, wParam, lParam, pResult);
    }
    return FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd != NULL; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------------------------
// Default handlers: each does the default processing of the current message.

int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnNcPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return static_cast<BOOL>(Default()); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
HCURSOR CWnd::OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(Default()); }

HBRUSH CWnd::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    return reinterpret_cast<HBRUSH>(ReflectOrDefault(WM_CTLCOLORMSGBOX + nCtlColor,
                                                     reinterpret_cast<WPARAM>(pDC ? pDC->m_hDC : NULL),
                                                     reinterpret_cast<LPARAM>(pWnd ? pWnd->m_hWnd : NULL)));
}

void CWnd::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    ReflectOrDefault(WM_DRAWITEM, static_cast<WPARAM>(nIDCtl), reinterpret_cast<LPARAM>(lpDrawItemStruct));
}

// ---------------------------------------------------------------------------------------------
// Member calls: thin, each one Win32 call on m_hWnd.

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendDlgItemMessageW(m_hWnd, nID, message, wParam, lParam);
}

CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
CWnd* CWnd::GetOwner() const { return FromHandle(::GetWindow(m_hWnd, GW_OWNER)); }
CWnd* CWnd::GetTopLevelParent() const { return FromHandle(::GetAncestor(m_hWnd, GA_ROOT)); }
CWnd* CWnd::GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
CWnd* CWnd::GetWindow(UINT nCmd) const { return FromHandle(::GetWindow(m_hWnd, nCmd)); }
CWnd* CWnd::GetLastActivePopup() const { return FromHandle(::GetLastActivePopup(m_hWnd)); }
BOOL CWnd::IsChild(const CWnd* pWnd) const { return pWnd != nullptr && ::IsChild(m_hWnd, pWnd->m_hWnd); }

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}

void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint)
{
    MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, bRepaint);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    return ::SetWindowPos(m_hWnd, pWndInsertAfter ? pWndInsertAfter->m_hWnd : NULL, x, y, cx, cy, nFlags);
}

void CWnd::GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
void CWnd::GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
void CWnd::ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
void CWnd::ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }

void CWnd::ScreenToClient(LPRECT lpRect) const
{
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&lpRect->left));
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&lpRect->right));
}

void CWnd::ClientToScreen(LPRECT lpRect) const
{
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&lpRect->left));
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&lpRect->right));
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    CRect area;
    HWND hCenter = pAlternateOwner ? pAlternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    if ((GetStyle() & WS_CHILD) != 0)
        hCenter = ::GetParent(m_hWnd);
    if (hCenter != NULL && (GetStyle() & WS_CHILD) != 0) {
        ::GetClientRect(hCenter, &area);
    } else if (hCenter != NULL && ::IsWindowVisible(hCenter) && !::IsIconic(hCenter)) {
        ::GetWindowRect(hCenter, &area);
    } else {
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    CRect rect;
    GetWindowRect(&rect);
    ::SetWindowPos(m_hWnd, NULL, area.left + (area.Width() - rect.Width()) / 2,
                   area.top + (area.Height() - rect.Height()) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CWnd::SetWindowRgn(HRGN hRgn, BOOL bRedraw) { return ::SetWindowRgn(m_hWnd, hRgn, bRedraw); }

BOOL CWnd::ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
BOOL CWnd::EnableWindow(BOOL bEnable) { return ::EnableWindow(m_hWnd, bEnable); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }
BOOL CWnd::IsZoomed() const { return ::IsZoomed(m_hWnd); }
DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }
DWORD CWnd::GetExStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE)); }

static BOOL ModifyWindowLong(HWND hWnd, int nIndex, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    const DWORD dwStyle = static_cast<DWORD>(::GetWindowLongW(hWnd, nIndex));
    const DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLongW(hWnd, nIndex, static_cast<LONG>(dwNewStyle));
    if (nFlags != 0)
        ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyWindowLong(m_hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyWindowLong(m_hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }
CWnd* CWnd::SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }

void CWnd::SetWindowText(LPCTSTR lpszString) { ::SetWindowTextW(m_hWnd, lpszString ? lpszString : L""); }

int CWnd::GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const
{
    return ::GetWindowTextW(m_hWnd, lpszStringBuf, nMaxCount);
}

void CWnd::GetWindowText(CString& rString) const
{
    const int nLength = ::GetWindowTextLengthW(m_hWnd);
    LPWSTR pBuffer = rString.GetBuffer(nLength + 1);
    const int nCopied = ::GetWindowTextW(m_hWnd, pBuffer, nLength + 1);
    rString.ReleaseBuffer(nCopied > 0 ? nCopied : 0);
}

int CWnd::GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }

void CWnd::SetDlgItemText(int nID, LPCTSTR lpszString) { ::SetDlgItemTextW(m_hWnd, nID, lpszString); }

int CWnd::GetDlgItemText(int nID, CString& rString) const
{
    rString.Empty();
    HWND hItem = ::GetDlgItem(m_hWnd, nID);
    if (hItem != NULL)
        FromHandle(hItem)->GetWindowText(rString);
    return rString.GetLength();
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw)
{
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pFont ? pFont->m_hObject : NULL), bRedraw);
}

CFont* CWnd::GetFont() const
{
    return CFont::FromHandle(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon)
{
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}

HICON CWnd::GetIcon(BOOL bBigIcon) const
{
    return reinterpret_cast<HICON>(SendMessage(WM_GETICON, bBigIcon ? ICON_BIG : ICON_SMALL));
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert)); }

void CWnd::Invalidate(BOOL bErase) { ::InvalidateRect(m_hWnd, NULL, bErase); }
void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
void CWnd::ValidateRect(LPCRECT lpRect) { ::ValidateRect(m_hWnd, lpRect); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }

BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, CRgn* prgnUpdate, UINT flags)
{
    return ::RedrawWindow(m_hWnd, lpRectUpdate, prgnUpdate ? static_cast<HRGN>(prgnUpdate->m_hObject) : NULL,
                          flags);
}

void CWnd::SetRedraw(BOOL bRedraw) { SendMessage(WM_SETREDRAW, bRedraw); }
CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
CDC* CWnd::GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
int CWnd::ReleaseDC(CDC* pDC) { return pDC ? ::ReleaseDC(m_hWnd, pDC->m_hDC) : 0; }
HDC CWnd::BeginPaint(LPPAINTSTRUCT lpPaint) { return ::BeginPaint(m_hWnd, lpPaint); }
void CWnd::EndPaint(LPPAINTSTRUCT lpPaint) { ::EndPaint(m_hWnd, lpPaint); }

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw)
{
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, nBar, lpScrollInfo, bRedraw);
    return TRUE;
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask) const
{
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    lpScrollInfo->fMask = nMask;
    return ::GetScrollInfo(m_hWnd, nBar, lpScrollInfo);
}

int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw) { return ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw); }
int CWnd::GetScrollPos(int nBar) const { return ::GetScrollPos(m_hWnd, nBar); }

void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw)
{
    ::SetScrollRange(m_hWnd, nBar, nMinPos, nMaxPos, bRedraw);
}

void CWnd::GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const
{
    ::GetScrollRange(m_hWnd, nBar, lpMinPos, lpMaxPos);
}

void CWnd::ShowScrollBar(UINT nBar, BOOL bShow) { ::ShowScrollBar(m_hWnd, static_cast<int>(nBar), bShow); }

// The window's own bar (this library has no separate scroll-bar controls beside views): shown
// when enabled, hidden when not.
void CWnd::EnableScrollBarCtrl(int nBar, BOOL bEnable) { ::ShowScrollBar(m_hWnd, nBar, bEnable); }

void CWnd::ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect, LPCRECT lpClipRect)
{
    ::ScrollWindowEx(m_hWnd, xAmount, yAmount, lpRect, lpClipRect, NULL, NULL, SW_INVALIDATE | SW_ERASE);
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer)
{
    if (!CheckWindowThread(m_hWnd, "CWnd::SetTimer"))
        return 0;
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent)
{
    if (!CheckWindowThread(m_hWnd, "CWnd::KillTimer"))
        return FALSE;
    return ::KillTimer(m_hWnd, nIDEvent);
}

UINT_PTR CWnd::SetTimerOnOwnerThread(UINT_PTR nIDEvent, UINT nElapse)
{
    UINT_PTR result = 0;
    RunOnWindowThread(m_hWnd, [&] { result = SetTimer(nIDEvent, nElapse); });
    return result;
}

BOOL CWnd::KillTimerOnOwnerThread(UINT_PTR nIDEvent)
{
    BOOL result = FALSE;
    RunOnWindowThread(m_hWnd, [&] { result = KillTimer(nIDEvent); });
    return result;
}

CWnd* CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
CWnd* CWnd::GetCapture() { return FromHandle(::GetCapture()); }
BOOL CWnd::ReleaseCapture() { return ::ReleaseCapture(); }

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CDataExchangeFailure&) {
        return FALSE;
    }
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Window classes

LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    static std::mutex lock;
    static std::set<std::wstring> names;  // the returned pointers point into this set
    CString name;
    name.Format(L"QmWnd:%x:%x:%x:%x", nClassStyle, static_cast<unsigned>(reinterpret_cast<UINT_PTR>(hCursor)),
                static_cast<unsigned>(reinterpret_cast<UINT_PTR>(hbrBackground)),
                static_cast<unsigned>(reinterpret_cast<UINT_PTR>(hIcon)));
    std::lock_guard<std::mutex> guard(lock);
    const std::wstring key(name.GetString());
    auto found = names.find(key);
    if (found != names.end())
        return found->c_str();
    WNDCLASSW wc = {};
    wc.style = nClassStyle;
    wc.lpfnWndProc = QmStaticWindowProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hIcon = hIcon;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = key.c_str();
    WNDCLASSW existing;
    if (!::GetClassInfoW(wc.hInstance, wc.lpszClassName, &existing) && !::RegisterClassW(&wc))
        return nullptr;
    return names.insert(key).first->c_str();
}
