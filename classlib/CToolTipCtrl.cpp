#include "classlib/CToolTipCtrl.h"

#include <commctrl.h>

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

namespace {

// The tool description in its oldest accepted size, so that comctl32 version 5 (a program
// without a version-6 manifest) accepts it as well as version 6.
TTTOOLINFOW MakeToolInfo(CWnd* pWnd, UINT_PTR nIDTool)
{
    TTTOOLINFOW ti = {};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = pWnd ? pWnd->m_hWnd : NULL;
    ti.uId = nIDTool;
    return ti;
}

}  // namespace

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    return CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSW, NULL, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP | dwStyle,
                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                    pParentWnd ? pParentWnd->m_hWnd : NULL, NULL);
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    TTTOOLINFOW ti = MakeToolInfo(pWnd, nIDTool);
    ti.uFlags = TTF_SUBCLASS;
    ti.lpszText = const_cast<LPWSTR>(lpszText ? lpszText : L"");
    if (lpRectTool != nullptr)
        ti.rect = *lpRectTool;
    else if (pWnd != nullptr)
        pWnd->GetClientRect(&ti.rect);
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)));
}

void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool)
{
    TTTOOLINFOW ti = MakeToolInfo(pWnd, nIDTool);
    ti.lpszText = const_cast<LPWSTR>(lpszText ? lpszText : L"");
    SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}
