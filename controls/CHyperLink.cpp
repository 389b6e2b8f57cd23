#include "controls/CHyperLink.h"

#include <shellapi.h>

#include <vector>

#include "classlib/CDC.h"
#include "classlib/CSelectGuard.h"
#include "controls/HyperLinkLogic.h"
#include "controls/PixelRect.h"

namespace {
const UINT kHoverTimerId = 100;
const UINT kHoverTimerMs = 100;
const UINT_PTR kToolId = 1;
const int kHandCursorId = 106;          // the link cursor of the Windows help program
const int kShellSuccessAbove = 32;      // ShellExecute and WinExec: above 32 is success
const int kRegistryValueChars = MAX_PATH;
}  // namespace

BEGIN_MESSAGE_MAP(CHyperLink, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_CONTROL_REFLECT(STN_CLICKED, &CHyperLink::OnStnClicked)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CHyperLink::CHyperLink()
    : m_clrLink(RGB(0, 0, 238)), m_clrVisited(RGB(85, 26, 139)), m_clrHover(RGB(255, 0, 0)),
      m_bHover(FALSE), m_bVisited(FALSE), m_nUnderlineMode(1), m_bFitToText(TRUE),
      m_hHandCursor(NULL), m_nHoverTimer(kHoverTimerId)
{
}

CHyperLink::~CHyperLink()
{
    if (m_hHandCursor != NULL)
        ::DestroyCursor(m_hHandCursor);  // a private copy (CopyIcon): ours to free
}

void CHyperLink::SendFont(CFont* pFont)
{
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pFont->GetSafeHandle()), TRUE);
}

void CHyperLink::PreSubclassWindow()
{
    ModifyStyle(0, SS_NOTIFY);  // so that the static reports clicks
    CString strCaption;
    GetWindowText(strCaption);
    if (m_strTarget.IsEmpty())
        m_strTarget = strCaption;
    if (strCaption.IsEmpty())
        SetWindowText(m_strTarget);

    HGDIOBJ hFont = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
    if (hFont == NULL)
        hFont = ::GetStockObject(DEFAULT_GUI_FONT);
    if (hFont == NULL)
        hFont = ::GetStockObject(ANSI_VAR_FONT);
    LOGFONTW lf = {};
    if (hFont != NULL && ::GetObjectW(hFont, sizeof(lf), &lf)) {
        m_fontPlain.CreateFontIndirect(&lf);
        lf.lfUnderline = TRUE;
        m_fontUnderlined.CreateFontIndirect(&lf);
    }

    FitToText();
    LoadLinkCursor();
    SetUnderline(-1);

    if (m_tip.Create(this, 0)) {
        CRect rc;
        GetClientRect(&rc);
        m_tip.AddTool(this, m_strTarget, &rc, kToolId);
    }
    CStatic::PreSubclassWindow();
}

void CHyperLink::SetUrl(CString strTarget)
{
    m_strTarget = strTarget;
    if (m_hWnd == NULL)
        return;
    FitToText();
    if (m_tip.GetSafeHwnd() != NULL)
        m_tip.UpdateTipText(m_strTarget, this, kToolId);
}

void CHyperLink::SetUnderline(int nMode)
{
    if (nMode == m_nUnderlineMode)
        return;
    if (m_hWnd != NULL) {
        SendFont(nMode == 1 ? &m_fontUnderlined : &m_fontPlain);
        InvalidateRect(NULL, TRUE);
    }
    m_nUnderlineMode = nMode;
}

void CHyperLink::SetVisited(BOOL bVisited)
{
    m_bVisited = bVisited;
    if (m_hWnd != NULL)
        InvalidateRect(NULL, TRUE);
}

void CHyperLink::FitToText()
{
    if (m_hWnd == NULL || !m_bFitToText)
        return;
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    CRect rcClient;
    GetClientRect(&rcClient);
    ClientToScreen(&rcClient);
    if (CWnd* pParent = GetParent()) {
        pParent->ScreenToClient(&rcWindow);
        pParent->ScreenToClient(&rcClient);
    }
    CString strCaption;
    GetWindowText(strCaption);
    SIZE size = {0, 0};
    {
        CClientDC dc(this);
        CSelectGuard font(dc.GetSafeHdc(), m_fontUnderlined.GetSafeHandle());
        ::GetTextExtentPoint32W(dc.GetSafeHdc(), strCaption, strCaption.GetLength(), &size);
    }
    const PixelRect fit = FitLinkRect(ToPixelRect(rcWindow), rcWindow.Width() - rcClient.Width(),
                                      rcWindow.Height() - rcClient.Height(), size.cx, size.cy,
                                      GetStyle());
    SetWindowPos(NULL, fit.left, fit.top, fit.Width(), fit.Height(), SWP_NOZORDER);
}

void CHyperLink::LoadLinkCursor()
{
    if (m_hHandCursor != NULL)
        return;
    wchar_t szPath[MAX_PATH + 1] = {};
    const UINT n = ::GetWindowsDirectoryW(szPath, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return;  // no Windows folder to look in: the link keeps the normal cursor
    CString strPath(szPath);
    strPath += L"\\winhlp32.exe";
    HMODULE hModule = ::LoadLibraryW(strPath);
    if (hModule == NULL)
        return;
    HCURSOR hCursor = ::LoadCursorW(hModule, MAKEINTRESOURCEW(kHandCursorId));
    if (hCursor != NULL)
        m_hHandCursor = static_cast<HCURSOR>(::CopyIcon(hCursor));  // stays valid after FreeLibrary
    ::FreeLibrary(hModule);
}

BOOL CHyperLink::DestroyWindow()
{
    KillTimer(m_nHoverTimer);  // FALSE when no hover timer runs: nothing to stop
    return CStatic::DestroyWindow();
}

BOOL CHyperLink::PreTranslateMessage(MSG* pMsg)
{
    if (m_tip.GetSafeHwnd() != NULL)
        m_tip.SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg));
    return CStatic::PreTranslateMessage(pMsg);
}

HBRUSH CHyperLink::CtlColor(CDC* pDC, UINT)
{
    pDC->SetTextColor(m_bHover ? m_clrHover : (m_bVisited ? m_clrVisited : m_clrLink));
    pDC->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

BOOL CHyperLink::OnSetCursor(CWnd*, UINT, UINT)
{
    if (m_hHandCursor == NULL)
        return FALSE;
    ::SetCursor(m_hHandCursor);
    return TRUE;
}

void CHyperLink::OnMouseMove(UINT, CPoint)
{
    if (!m_bHover) {
        m_bHover = TRUE;
        if (m_nUnderlineMode == -1)
            SendFont(&m_fontUnderlined);
        InvalidateRect(NULL, TRUE);
        SetTimer(m_nHoverTimer, kHoverTimerMs);
    }
    Default();
}

void CHyperLink::OnTimer(UINT_PTR)
{
    const DWORD dwPos = ::GetMessagePos();
    CPoint pt(static_cast<short>(LOWORD(dwPos)), static_cast<short>(HIWORD(dwPos)));
    ScreenToClient(&pt);
    CRect rc;
    GetClientRect(&rc);
    if (!rc.PtInRect(pt)) {
        m_bHover = FALSE;
        KillTimer(m_nHoverTimer);
        if (m_nUnderlineMode != 1)
            SendFont(&m_fontPlain);
        InvalidateRect(NULL, TRUE);
    }
    Default();
}

// The link has no background of its own (hollow brush, transparent text), so that the page
// shows through it. Erasing nothing would leave the old look on the screen under the new one
// (the hover colour and underline stayed after the cursor left): the parent paints what lies
// under the link instead, into the link's DC moved to the parent's coordinates.
BOOL CHyperLink::OnEraseBkgnd(CDC* pDC)
{
    CWnd* pParent = GetParent();
    if (pParent == nullptr)
        return TRUE;
    CPoint origin(0, 0);
    ClientToScreen(&origin);
    pParent->ScreenToClient(&origin);
    // SaveDC failing (0) makes RestoreDC fail too: the DC is BeginPaint's and ends with the paint.
    const int nSaved = pDC->SaveDC();
    ::OffsetViewportOrgEx(pDC->GetSafeHdc(), -origin.x, -origin.y, NULL);
    pParent->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(pDC->GetSafeHdc()), 0);
    pDC->RestoreDC(nSaved);
    return TRUE;
}

void CHyperLink::OnStnClicked()
{
    m_bHover = FALSE;
    const int r = OpenUrl(m_strTarget, SW_SHOW);
    m_bVisited = r > kShellSuccessAbove;
    if (m_bVisited)
        SetVisited(TRUE);
    else
        ::MessageBeep(MB_ICONEXCLAMATION);
}

LONG CHyperLink::ReadRegistryDefault(HKEY hRoot, const wchar_t* pszSubkey, wchar_t* pszOut)
{
    HKEY hKey = NULL;
    LONG nResult = ::RegOpenKeyExW(hRoot, pszSubkey, 0, KEY_QUERY_VALUE, &hKey);
    if (nResult != ERROR_SUCCESS)
        return nResult;
    wchar_t szValue[kRegistryValueChars] = {};
    LONG cbValue = sizeof(szValue);
    nResult = ::RegQueryValueW(hKey, NULL, szValue, &cbValue);
    if (nResult == ERROR_SUCCESS) {
        szValue[kRegistryValueChars - 1] = 0;  // a value that filled the buffer is still ended
        ::lstrcpynW(pszOut, szValue, kRegistryValueChars);
    }
    ::RegCloseKey(hKey);
    return nResult;
}

int CHyperLink::OpenUrl(const wchar_t* pszTarget, int nShow)
{
    const int r = static_cast<int>(reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(NULL, L"open", pszTarget, NULL, NULL, nShow)));
    if (r > kShellSuccessAbove)
        return r;

    wchar_t szClass[kRegistryValueChars] = {};
    if (ReadRegistryDefault(HKEY_CLASSES_ROOT, L".htm", szClass) != ERROR_SUCCESS)
        return r;
    CString strKey(szClass);
    strKey += L"\\shell\\open\\command";
    wchar_t szCommand[kRegistryValueChars] = {};
    if (ReadRegistryDefault(HKEY_CLASSES_ROOT, strKey, szCommand) != ERROR_SUCCESS)
        return r;

    // Built in a CString: no fixed buffer limits the command line or the target.
    const CString strLine = BuildFallbackCommand(CString(szCommand), CString(pszTarget));
    const int cb = ::WideCharToMultiByte(CP_THREAD_ACP, 0, strLine, -1, NULL, 0, NULL, NULL);
    if (cb <= 0)
        return r;
    // Characters the code page cannot represent become its default character.
    std::vector<char> ansi(static_cast<size_t>(cb));
    ::WideCharToMultiByte(CP_THREAD_ACP, 0, strLine, -1, ansi.data(), cb, NULL, NULL);
    return static_cast<int>(::WinExec(ansi.data(), static_cast<UINT>(nShow)));
}
