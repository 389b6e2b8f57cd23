#include "app/FolderPicker.h"

#include <objbase.h>
#include <ole2.h>
#include <shlobj.h>

#include "classlib/CWaitCursor.h"
#include "classlib/CWinApp.h"
#include "classlib/CWnd.h"
#include "resources/LoadStr.h"
#include "resources/resource.h"

WCHAR g_szBrowseTitle[kBrowseTitleChars];
WNDPROC g_pfnOldBrowseProc = nullptr;
// g_fontBrowseTitle is defined beside theApp, which must be constructed before it.

namespace {
const int kTitleStaticId = 14146;      // the browse dialog's title line
const int kTitleFontWeight = 600;      // semi-bold
const COLORREF kTitleColour = RGB(255, 0, 0);
const int kTitleCompareChars = 100;    // a title is compared by its first 99 characters

// Frees the item list with the shell's allocator. FALSE when the allocator cannot be had.
BOOL FreeItemList(LPITEMIDLIST pidl)
{
    IMalloc* pMalloc = nullptr;
    if (FAILED(::SHGetMalloc(&pMalloc)) || pMalloc == nullptr)
        return FALSE;
    pMalloc->Free(pidl);
    pMalloc->Release();
    return TRUE;
}

// The browser's new-style dialog hosts shell objects: it needs COM (with OLE's drag and drop) on
// the calling thread. Ends what it started, so the thread's COM state is as before.
class OleScope {
public:
    OleScope() : m_hr(::OleInitialize(NULL)) {}
    ~OleScope()
    {
        if (SUCCEEDED(m_hr))
            ::OleUninitialize();
    }
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;
private:
    HRESULT m_hr;
};
}  // namespace

int BrowseForFolder(LPWSTR pszPath)
{
    CWaitCursor wait;
    OleScope ole;
    WCHAR szTitle[kBrowseTitleChars] = {};
    WCHAR szDisplayName[kBrowseTitleChars] = {};
    ::lstrcpynW(szTitle, g_szBrowseTitle, kBrowseTitleChars);

    CWnd* pMain = AfxGetApp() != nullptr ? AfxGetApp()->m_pMainWnd : nullptr;
    BROWSEINFOW bi = {};
    bi.hwndOwner = pMain != nullptr ? pMain->GetSafeHwnd() : NULL;
    bi.pidlRoot = NULL;
    bi.pszDisplayName = szDisplayName;
    bi.lpszTitle = szTitle;
    bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
    bi.lpfn = &BrowseCallbackProc;
    bi.lParam = reinterpret_cast<LPARAM>(pszPath);

    LPITEMIDLIST pidl = ::SHBrowseForFolderW(&bi);
    if (pidl == NULL)
        return 2;
    if (!::SHGetPathFromIDListW(pidl, pszPath))
        pszPath[0] = 0;  // not a file-system folder: the caller sees an empty path
    if (!FreeItemList(pidl))
        return 2;
    const int n = ::lstrlenW(pszPath);
    if (n >= 2 && pszPath[n - 1] == L'\\')
        pszPath[n - 1] = 0;
    return 1;
}

int CALLBACK BrowseCallbackProc(HWND hwnd, UINT uMsg, LPARAM lParam, LPARAM lpData)
{
    if (uMsg != BFFM_INITIALIZED)
        return 1;
    const WCHAR* pszStart = reinterpret_cast<const WCHAR*>(lpData);
    if (pszStart != nullptr && pszStart[0] != 0)
        ::SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, lpData);

    g_pfnOldBrowseProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BrowseTitleWndProc)));

    HWND hTitle = ::GetDlgItem(hwnd, kTitleStaticId);
    if (hTitle == NULL)
        return 1;
    CWnd* pMain = AfxGetApp() != nullptr ? AfxGetApp()->m_pMainWnd : nullptr;
    HWND hFontSource = pMain != nullptr && pMain->GetSafeHwnd() != NULL ? pMain->GetSafeHwnd() : hwnd;
    HFONT hFont = reinterpret_cast<HFONT>(::SendMessageW(hFontSource, WM_GETFONT, 0, 0));
    if (hFont == NULL)
        hFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW lf = {};
    if (::GetObjectW(hFont, sizeof(lf), &lf) == 0)
        return 1;  // no font to copy: the title keeps the dialog's own
    lf.lfWeight = kTitleFontWeight;
    if (g_fontBrowseTitle.GetSafeHandle() == NULL && !g_fontBrowseTitle.CreateFontIndirect(&lf))
        return 1;
    ::SendMessageW(hTitle, WM_SETFONT, reinterpret_cast<WPARAM>(g_fontBrowseTitle.GetSafeHandle()), FALSE);
    return 1;
}

LRESULT CALLBACK BrowseTitleWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = ::CallWindowProcW(g_pfnOldBrowseProc, hwnd, uMsg, wParam, lParam);
    if (uMsg == WM_CTLCOLORSTATIC && wParam != 0 && ::IsWindow(reinterpret_cast<HWND>(lParam))) {
        WCHAR szText[kTitleCompareChars] = {};
        ::GetWindowTextW(reinterpret_cast<HWND>(lParam), szText, kTitleCompareChars);
        if (LoadStr(IDS_PICK_SOURCE) == szText || LoadStr(IDS_PICK_OUTPUT) == szText)
            ::SetTextColor(reinterpret_cast<HDC>(wParam), kTitleColour);
    }
    return result;
}
