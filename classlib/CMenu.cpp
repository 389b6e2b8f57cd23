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

HMENU CMenu::Detach() { return m_menu.Detach(); }

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}
