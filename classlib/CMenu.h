#pragma once
// A menu (HMENU). CMenu objects from FromHandle (e.g. CWnd::GetSystemMenu) borrow their menu;
// one that CreatePopupMenu made or Attach took owns it and destroys it.
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
    BOOL Attach(HMENU hMenu);
    HMENU Detach();
    BOOL CreatePopupMenu();
    BOOL DestroyMenu();
    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }

    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = NULL);
    BOOL DeleteMenu(UINT nPosition, UINT nFlags);
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
    int GetMenuItemCount() const;
    UINT GetMenuItemID(int nPos) const;
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = NULL);
};
