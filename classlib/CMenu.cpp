#include "classlib/CMenu.h"

#include <memory>
#include <unordered_map>

#include "classlib/CWnd.h"
#include "classlib/WindowInternals.h"

namespace {

QmTemporaryMap<HMENU, CMenu>& TemporaryMenus() { return QmGetThreadState().menus; }

}  // namespace

void QmFreeTemporaryMenus()
{
    TemporaryMenus().FreeAll([](CMenu& menu) { menu.Detach(); });
}

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    if (hMenu == NULL)
        return nullptr;
    return TemporaryMenus().Get(hMenu, [](CMenu& menu, HMENU h) { menu.m_menu.Borrow(h); });
}

BOOL CMenu::Attach(HMENU hMenu) { return m_menu.Own(hMenu); }

HMENU CMenu::Detach() { return m_menu.Detach(); }

BOOL CMenu::CreatePopupMenu() { return Attach(::CreatePopupMenu()); }

BOOL CMenu::DestroyMenu() { return m_menu.Release(); }

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags) { return ::DeleteMenu(m_hMenu, nPosition, nFlags); }

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable)
{
    return static_cast<UINT>(::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable));
}

int CMenu::GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }

UINT CMenu::GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    const int nLength = ::GetMenuStringW(m_hMenu, nIDItem, NULL, 0, nFlags);
    if (nLength <= 0) {
        rString.Empty();
        return 0;
    }
    const int nCopied = ::GetMenuStringW(m_hMenu, nIDItem, rString.GetBuffer(nLength + 1), nLength + 1, nFlags);
    rString.ReleaseBuffer(nCopied);
    return nCopied;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect)
{
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->m_hWnd : NULL, lpRect);
}
