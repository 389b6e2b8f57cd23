#pragma once
// A menu (HMENU). CMenu objects come from FromHandle (e.g. CWnd::GetSystemMenu) and borrow their
// menu: the program only adds items to the system menu.
#include "classlib/WinTypes.h"
#include "classlib/COwnedHandle.h"
#include "classlib/CString.h"

class CWnd;

struct QmDestroyMenu {
    BOOL operator()(HMENU hMenu) const { return ::DestroyMenu(hMenu); }
};

class CMenu {
    COwnedHandle<HMENU, QmDestroyMenu> m_menu;  // declared first: m_hMenu refers into it

public:
    const HMENU& m_hMenu = m_menu.Get();  // read-only: Attach, Detach and DestroyMenu change it

    CMenu() = default;
    virtual ~CMenu() = default;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    static CMenu* FromHandle(HMENU hMenu);
    HMENU Detach();

    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = NULL);
};
