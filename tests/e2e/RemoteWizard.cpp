#include "RemoteWizard.h"

#include <commctrl.h>
#include <shlobj.h>

namespace {
const wchar_t kCaption[] = L"Quillmender墨愈文档修复工具 V2.0";
const int kFileNameEdit = 0x47C;      // the file-open dialog's file name box
const int kMessageTextId = 0xFFFF;    // a message box's text

struct FindCtx {
    DWORD pid;
    HWND hExclude;
    const wchar_t* caption;
    HWND found;
};

BOOL CALLBACK FindTopLevel(HWND hWnd, LPARAM lParam)
{
    FindCtx* ctx = reinterpret_cast<FindCtx*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (pid != ctx->pid || hWnd == ctx->hExclude || !::IsWindowVisible(hWnd))
        return TRUE;
    wchar_t cls[64] = {};
    ::GetClassNameW(hWnd, cls, 64);
    if (ctx->caption != nullptr ? WindowText(hWnd) != ctx->caption : lstrcmpW(cls, L"#32770") != 0)
        return TRUE;
    ctx->found = hWnd;
    return FALSE;
}

struct DescendantCtx {
    const wchar_t* cls;
    int id;
    HWND found;
};

BOOL CALLBACK MatchDescendant(HWND h, LPARAM l)
{
    DescendantCtx* c = reinterpret_cast<DescendantCtx*>(l);
    wchar_t name[64] = {};
    ::GetClassNameW(h, name, 64);
    if ((c->cls == nullptr || lstrcmpiW(name, c->cls) == 0) && (c->id == -2 || ::GetDlgCtrlID(h) == c->id)) {
        c->found = h;
        return FALSE;
    }
    return TRUE;
}

// The first descendant of hParent with class cls (any class when NULL) and id nId (any when -2).
HWND FindDescendant(HWND hParent, const wchar_t* cls, int nId)
{
    DescendantCtx ctx = {cls, nId, NULL};
    ::EnumChildWindows(hParent, MatchDescendant, reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

std::wstring LastComponent(std::wstring path)
{
    while (!path.empty() && path.back() == L'\\')
        path.pop_back();
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}
}  // namespace

bool WaitUntil(const std::function<bool()>& cond, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    while (!cond()) {
        if (::GetTickCount() - start > timeoutMs)
            return cond();
        ::Sleep(20);
    }
    return true;
}

std::wstring WindowText(HWND hWnd)
{
    wchar_t buf[4096] = {};
    ::SendMessageTimeoutW(hWnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buf), SMTO_NORMAL, kLimitMs, nullptr);
    return buf;
}

RemoteWizard::RemoteWizard(const std::wstring& exePath) : m_pi(), m_hMain(NULL)
{
    std::wstring cmd = L"\"" + exePath + L"\"";
    std::wstring dir = exePath.substr(0, exePath.rfind(L'\\'));
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    if (!::CreateProcessW(exePath.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &m_pi))
        m_pi = PROCESS_INFORMATION();
}

RemoteWizard::~RemoteWizard()
{
    for (void* p : m_remote)
        ::VirtualFreeEx(m_pi.hProcess, p, 0, MEM_RELEASE);
    if (m_pi.hProcess != NULL && !WaitExit(0)) {
        ::TerminateProcess(m_pi.hProcess, 1);
        WaitExit(5000);
    }
    if (m_pi.hProcess != NULL) {
        ::CloseHandle(m_pi.hProcess);
        ::CloseHandle(m_pi.hThread);
    }
}

bool RemoteWizard::Attach(DWORD timeoutMs)
{
    return WaitUntil([this] {
        FindCtx ctx = {m_pi.dwProcessId, NULL, kCaption, NULL};
        ::EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&ctx));
        m_hMain = ctx.found;
        return m_hMain != NULL && Page(1033) != NULL;
    }, timeoutMs);
}

bool RemoteWizard::WaitExit(DWORD timeoutMs)
{
    return m_pi.hProcess != NULL && ::WaitForSingleObject(m_pi.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

bool RemoteWizard::WaitExitOr(HANDLE hEvent, DWORD timeoutMs)
{
    const HANDLE handles[] = {m_pi.hProcess, hEvent};
    return m_pi.hProcess != NULL && ::WaitForMultipleObjects(2, handles, FALSE, timeoutMs) == WAIT_OBJECT_0;
}

DWORD RemoteWizard::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(m_pi.hProcess, &code);
    return code;
}

HWND RemoteWizard::FindDialog() const
{
    FindCtx ctx = {m_pi.dwProcessId, m_hMain, nullptr, NULL};
    ::EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

HWND RemoteWizard::WaitDialog(DWORD timeoutMs) const
{
    HWND hDlg = NULL;
    WaitUntil([&] { return (hDlg = FindDialog()) != NULL; }, timeoutMs);
    return hDlg;
}

HWND RemoteWizard::Page(int nMarkId) const
{
    for (HWND h = ::GetWindow(m_hMain, GW_CHILD); h != NULL; h = ::GetWindow(h, GW_HWNDNEXT)) {
        wchar_t cls[64] = {};
        ::GetClassNameW(h, cls, 64);
        if (lstrcmpW(cls, L"#32770") == 0 && ::GetDlgItem(h, nMarkId) != NULL)
            return h;
    }
    return NULL;
}

void RemoteWizard::Click(HWND hParent, int nId) const
{
    ::PostMessageW(hParent, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(hParent, nId)));
}

void RemoteWizard::CheckRadio(HWND hPage, int nId, int nFirst, int nLast) const
{
    for (int id = nFirst; id <= nLast; ++id)
        ::SendDlgItemMessageW(hPage, id, BM_SETCHECK, id == nId ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool RemoteWizard::AnswerMessage(const std::wstring& expected, int nButton, std::wstring* pSeen)
{
    HWND hBox = WaitDialog();
    if (hBox == NULL || ::GetDlgItem(hBox, kMessageTextId) == NULL) {
        if (pSeen != nullptr)
            *pSeen = hBox == NULL ? L"(no dialog)" : L"(a dialog without a message: " + WindowText(hBox) + L")";
        return false;
    }
    const std::wstring text = WindowText(::GetDlgItem(hBox, kMessageTextId));
    if (pSeen != nullptr)
        *pSeen = text;
    if (text != expected)
        return false;
    ::PostMessageW(hBox, WM_COMMAND, MAKEWPARAM(nButton, BN_CLICKED), 0);
    return WaitUntil([&] { return !::IsWindow(hBox); });
}

void* RemoteWizard::RemoteAlloc(size_t cb) const
{
    void* p = ::VirtualAllocEx(m_pi.hProcess, nullptr, cb, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    m_remote.push_back(p);
    return p;
}

// The picker walks its tree to the folder it is given while it handles the message, so each
// answer is a whole walk, and the selection is known when the message returns. Wine's picker often
// ends the first walk of a process on the desktop; the next walk finds the folder. The folder is
// given once the tree shows its first items, and again after each walk that did not end on it.
bool RemoteWizard::AnswerPicker(const std::wstring& folder)
{
    const DWORD kPauseMs = 250;  // between two walks: the picker's own messages get their turn
    HWND hDlg = WaitDialog();
    HWND hTree = hDlg != NULL ? FindDescendant(hDlg, WC_TREEVIEWW, -2) : NULL;
    if (hTree == NULL || !WaitUntil([&] { return ::SendMessageW(hTree, TVM_GETCOUNT, 0, 0) > 0; }))
        return false;
    const size_t cb = (folder.size() + 1) * sizeof(wchar_t);
    void* pPath = RemoteAlloc(cb);
    ::WriteProcessMemory(m_pi.hProcess, pPath, folder.c_str(), cb, nullptr);
    const std::wstring want = LastComponent(folder);
    const DWORD start = ::GetTickCount();
    bool selected = false;
    while (!selected && ::GetTickCount() - start < kLimitMs) {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutW(hDlg, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(pPath), SMTO_NORMAL, kLimitMs,
                              &result);
        selected = SelectedItemText(hTree) == want;
        if (!selected)
            ::Sleep(kPauseMs);
    }
    if (!selected)
        return false;
    ::PostMessageW(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return WaitUntil([&] { return !::IsWindow(hDlg); });
}

bool RemoteWizard::AnswerFileOpen(const std::wstring& file)
{
    HWND hDlg = WaitDialog();
    HWND hEdit = hDlg != NULL ? FindDescendant(hDlg, nullptr, kFileNameEdit) : NULL;
    if (hEdit == NULL)
        return false;
    ::SendMessageW(hEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
    ::PostMessageW(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return WaitUntil([&] { return !::IsWindow(hDlg); });
}

std::wstring RemoteWizard::SelectedItemText(HWND hTree) const
{
    HTREEITEM hSel = reinterpret_cast<HTREEITEM>(::SendMessageW(hTree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    return hSel != NULL ? RemoteItemText(hTree, hSel) : std::wstring();
}

std::wstring RemoteWizard::RemoteItemText(HWND hTree, HTREEITEM hItem) const
{
    const int kChars = 520;
    struct Block { TVITEMW item; wchar_t text[kChars]; };
    Block* pRemote = static_cast<Block*>(RemoteAlloc(sizeof(Block)));
    Block local = {};
    local.item.mask = TVIF_TEXT;
    local.item.hItem = hItem;
    local.item.pszText = pRemote->text;
    local.item.cchTextMax = kChars;
    ::WriteProcessMemory(m_pi.hProcess, pRemote, &local, sizeof(local), nullptr);
    ::SendMessageW(hTree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(pRemote));
    ::ReadProcessMemory(m_pi.hProcess, pRemote, &local, sizeof(local), nullptr);
    local.text[kChars - 1] = 0;
    return local.text;
}

std::vector<std::wstring> RemoteWizard::TreeItems(HWND hTree) const
{
    std::vector<std::wstring> items;
    std::function<void(HTREEITEM, int)> walk = [&](HTREEITEM h, int depth) {
        for (; h != NULL; h = reinterpret_cast<HTREEITEM>(::SendMessageW(hTree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(h)))) {
            items.push_back(std::wstring(2 * depth, L' ') + RemoteItemText(hTree, h));
            walk(reinterpret_cast<HTREEITEM>(::SendMessageW(hTree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(h))), depth + 1);
        }
    };
    walk(reinterpret_cast<HTREEITEM>(::SendMessageW(hTree, TVM_GETNEXTITEM, TVGN_ROOT, 0)), 0);
    return items;
}

bool RemoteWizard::SelectTreeItem(HWND hTree, const std::wstring& text) const
{
    std::function<HTREEITEM(HTREEITEM)> find = [&](HTREEITEM h) -> HTREEITEM {
        for (; h != NULL; h = reinterpret_cast<HTREEITEM>(::SendMessageW(hTree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(h)))) {
            if (RemoteItemText(hTree, h) == text)
                return h;
            if (HTREEITEM hChild = find(reinterpret_cast<HTREEITEM>(::SendMessageW(hTree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(h)))))
                return hChild;
        }
        return NULL;
    };
    HTREEITEM hItem = find(reinterpret_cast<HTREEITEM>(::SendMessageW(hTree, TVM_GETNEXTITEM, TVGN_ROOT, 0)));
    return hItem != NULL && ::SendMessageW(hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hItem)) != 0;
}

namespace {
// The window's client area as it is on the screen, in 32-bit pixels, top row first.
std::vector<DWORD> Capture(HWND hWnd, RECT* pRect, bool bClient)
{
    RECT rc;
    if (bClient) {
        ::GetClientRect(hWnd, &rc);
        ::MapWindowPoints(hWnd, NULL, reinterpret_cast<POINT*>(&rc), 2);
    } else {
        ::GetWindowRect(hWnd, &rc);
    }
    *pRect = rc;
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    std::vector<DWORD> pixels(static_cast<size_t>(w > 0 ? w : 0) * (h > 0 ? h : 0));
    if (pixels.empty())
        return pixels;
    HDC hScreen = ::GetDC(NULL);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* pBits = nullptr;
    HBITMAP hBmp = ::CreateDIBSection(hScreen, &bi, DIB_RGB_COLORS, &pBits, NULL, 0);
    HGDIOBJ hOld = ::SelectObject(hMem, hBmp);
    ::BitBlt(hMem, 0, 0, w, h, hScreen, rc.left, rc.top, SRCCOPY);
    ::GdiFlush();
    memcpy(pixels.data(), pBits, pixels.size() * sizeof(DWORD));
    ::SelectObject(hMem, hOld);
    ::DeleteObject(hBmp);
    ::DeleteDC(hMem);
    ::ReleaseDC(NULL, hScreen);
    return pixels;
}
}  // namespace

int RemoteWizard::DarkPixels(HWND hWnd) const
{
    const int kEdge = 20;  // leaves out the border and the scroll bars
    RECT rc;
    const std::vector<DWORD> pixels = Capture(hWnd, &rc, true);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    int dark = 0;
    for (int y = kEdge; y < h - kEdge; ++y)
        for (int x = kEdge; x < w - kEdge; ++x) {
            const DWORD px = pixels[static_cast<size_t>(y) * w + x];
            dark += ((px & 0xFF) + ((px >> 8) & 0xFF) + ((px >> 16) & 0xFF)) < 3 * 128;
        }
    return dark;
}

bool RemoteWizard::Screenshot(HWND hWnd, const std::wstring& path) const
{
    RECT rc;
    std::vector<DWORD> pixels = Capture(hWnd, &rc, false);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    if (pixels.empty())
        return false;
    const int stride = (w * 3 + 3) & ~3;
    BITMAPFILEHEADER fh = {0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + stride * h), 0, 0,
                           sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    BITMAPINFOHEADER ih = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<BYTE> rows(static_cast<size_t>(stride) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            memcpy(&rows[static_cast<size_t>(h - 1 - y) * stride + x * 3], &pixels[static_cast<size_t>(y) * w + x], 3);
    HANDLE f = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD n = 0;
    BOOL ok = ::WriteFile(f, &fh, sizeof(fh), &n, nullptr) && ::WriteFile(f, &ih, sizeof(ih), &n, nullptr) &&
              ::WriteFile(f, rows.data(), static_cast<DWORD>(rows.size()), &n, nullptr);
    ::CloseHandle(f);
    return ok != FALSE;
}
