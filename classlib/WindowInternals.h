#pragma once
// Internal links between the window half's sources; not for program code.
#include <map>
#include <memory>
#include <typeindex>
#include <unordered_map>
#include <utility>

#include "classlib/CDC.h"
#include "classlib/CGdiObject.h"
#include "classlib/CImageList.h"
#include "classlib/CMenu.h"
#include "classlib/CWnd.h"

class CCmdTarget;

// Temporary GDI wrappers are kept per handle and wrapper class (CGdiObject::TemporaryOf).
typedef std::pair<HGDIOBJ, std::type_index> QmTemporaryGdiKey;
typedef std::map<QmTemporaryGdiKey, std::unique_ptr<CGdiObject>> QmTemporaryGdiMap;

// Temporary wrappers of one kind, one per handle. Each borrows its handle: freeing the wrappers
// never destroys what they wrap.
template <class Handle, class Wrapper>
class QmTemporaryMap {
public:
    // The wrapper of h, made the first time it is asked for and given h with borrow(wrapper, h).
    template <class Borrow> Wrapper* Get(Handle h, Borrow borrow)
    {
        auto it = m_map.find(h);
        if (it != m_map.end())
            return it->second.get();
        std::unique_ptr<Wrapper> pNew(new Wrapper);
        borrow(*pNew, h);
        Wrapper* pResult = pNew.get();
        m_map.emplace(h, std::move(pNew));
        return pResult;
    }
    bool Holds(Handle h) const { return m_map.count(h) == 1; }
    // Frees every wrapper after release(wrapper) has taken its handle away.
    template <class Release> void FreeAll(Release release)
    {
        for (auto& entry : m_map)
            release(*entry.second);
        m_map.clear();
    }

private:
    std::unordered_map<Handle, std::unique_ptr<Wrapper>> m_map;
};

// Everything the window half keeps per thread. It lives on the heap behind one plain
// thread-local pointer: under mingw-w64, thread-local objects with destructors on a thread that
// CreateThread/_beginthreadex started are destroyed at thread exit in a way that leaves the
// heap locked (measured under Wine 8: the next delete on another thread hangs). Threads from
// AfxBeginThread release their state explicitly when their function returns; other threads
// that used windows keep theirs (a few empty maps) until the process ends.
struct QmThreadState {
    CWnd* pParked = nullptr;  // the object waiting for the window that is being created
    MSG current = {};         // the message that the window procedure is handling now
    int nDispatchDepth = 0;   // window procedures of this thread running now
    QmTemporaryMap<HWND, CWnd> windows;
    QmTemporaryMap<HDC, CDC> dcs;
    QmTemporaryGdiMap gdiObjects;
    QmTemporaryMap<HMENU, CMenu> menus;
    QmTemporaryMap<HIMAGELIST, CImageList> imageLists;
};

QmThreadState& QmGetThreadState();
// Frees the calling thread's temporaries and its state (the end of an AfxBeginThread thread).
void QmReleaseThreadState();

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
