#include "classlib/CWnd.h"

#include <exception>
#include <mutex>
#include <set>
#include <string>
#include <unordered_map>

#include "classlib/AppHandles.h"
#include "classlib/CDC.h"
#include "classlib/CException.h"
#include "classlib/WindowInternals.h"
#include "classlib/WindowThreadCall.h"

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

// CWnd's own map is empty: every message it does not list goes to DefWindowProc, and the
// reflection defaults live in OnWndMsg.
const QM_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }
const QM_MSGMAP* CWnd::GetThisMessageMap()
{
    static const QM_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr}};
    static const QM_MSGMAP messageMap = {&CCmdTarget::GetThisMessageMap, &entries[0]};
    return &messageMap;
}

// ---------------------------------------------------------------------------------------------
// The permanent handle map (process-wide, locked) and the error hook of the window procedure.
// The per-thread state and the temporary wrappers are in WindowThreadState.cpp.

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
// (WM_CTLCOLOR*, WM_DRAWITEM). A command goes to the control's object first
// (ON_CONTROL_REFLECT); the parent's map sees only what the control leaves. A notification is
// the parent's alone (ON_NOTIFY). A colour request goes to the parent's handler first
// (ON_WM_CTLCOLOR: a page colours its own controls); the control's object
// (ON_WM_CTLCOLOR_REFLECT) answers what that handler leaves to its default, CWnd::OnCtlColor,
// and everything when the parent has no handler. Drawing is the control's object's
// (CButton::DrawItem). Default processing comes last.
BOOL CWnd::OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    *pResult = 0;
    if (message == WM_COMMAND)
        return ReflectToControl(message, wParam, lParam, pResult) || OnCommand(wParam, lParam);
    if (message == WM_NOTIFY)
        return lParam != 0 && OnNotify(wParam, lParam, pResult);
    if (IsCtlColor(message)) {
        if (const QM_MSGMAP_ENTRY* pEntry = FindMessageEntry(GetMessageMap(), QM_WM_CTLCOLOR, 0, 0))
            return pEntry->pfn(this, message, wParam, lParam, pResult);
    }
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
    if (IsCtlColor(message)) {
        const QM_MSGMAP_ENTRY* pEntry = FindMessageEntry(pMap, QM_REFLECT_CTLCOLOR, 0, 0);
        return pEntry != nullptr &&
               pEntry->pfn(this, QM_REFLECT_CTLCOLOR, wParam, message - WM_CTLCOLORMSGBOX, pResult);
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

void CWnd::OnDestroy() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }

HBRUSH CWnd::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    return reinterpret_cast<HBRUSH>(ReflectOrDefault(WM_CTLCOLORMSGBOX + nCtlColor,
                                                     reinterpret_cast<WPARAM>(pDC ? pDC->m_hDC : NULL),
                                                     reinterpret_cast<LPARAM>(pWnd ? pWnd->m_hWnd : NULL)));
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
