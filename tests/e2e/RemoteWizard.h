// Drives a running Quillmend.exe from another process, the way a user would: finds its windows
// by caption, class and control id, posts clicks, answers the folder picker, the file-open
// dialog and message boxes, and reads texts, button states and the source tree.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

// The limit of every wait for something the program does: it only detects a failure (a wait
// ends as soon as the thing is there), so it is generous enough for a busy machine.
const DWORD kLimitMs = 60000;

// Polls cond every 20 ms until it holds or timeoutMs passes; the answer of its last call.
bool WaitUntil(const std::function<bool()>& cond, DWORD timeoutMs = kLimitMs);
std::wstring WindowText(HWND hWnd);

class RemoteWizard {
public:
    // Starts exePath in its own folder; the wizard itself is found by Attach.
    explicit RemoteWizard(const std::wstring& exePath);
    ~RemoteWizard();  // ends the process if it is still running

    bool Attach(DWORD timeoutMs = kLimitMs);   // waits for the main window
    bool WaitExit(DWORD timeoutMs);
    // Waits until the program has ended (true) or hEvent is set (false), at most timeoutMs.
    bool WaitExitOr(HANDLE hEvent, DWORD timeoutMs);
    DWORD ExitCode() const;
    // A visible top-level dialog of the process other than the wizard, or NULL.
    HWND FindDialog() const;
    HWND WaitDialog(DWORD timeoutMs = kLimitMs) const;

    HWND Main() const { return m_hMain; }
    // The page (child dialog) that holds control nMarkId: 1033 page 1, 1032 page 2, 1004 page 3.
    HWND Page(int nMarkId) const;
    HWND Item(int nMarkId, int nId) const { return ::GetDlgItem(Page(nMarkId), nId); }
    bool Enabled(int nId) const { return ::IsWindowEnabled(::GetDlgItem(m_hMain, nId)) != FALSE; }
    void Click(HWND hParent, int nId) const;  // posted: a click that opens a modal box never blocks us
    void ClickNext() const { Click(m_hMain, 1004); }
    void ClickBack() const { Click(m_hMain, 1005); }
    void Close() const { ::PostMessageW(m_hMain, WM_SYSCOMMAND, SC_CLOSE, 0); }
    void CheckRadio(HWND hPage, int nId, int nFirst, int nLast) const;

    // Answers the next dialog: a message box whose text must be expected (then button), the
    // folder picker (folder) or the file-open dialog (file). False when it did not appear or
    // did not match.
    bool AnswerMessage(const std::wstring& expected, int nButton, std::wstring* pSeen = nullptr);
    bool AnswerPicker(const std::wstring& folder);
    bool AnswerFileOpen(const std::wstring& file);

    // Texts of the source tree's items, depth first, each indented by two blanks per level.
    std::vector<std::wstring> TreeItems(HWND hTree) const;
    bool SelectTreeItem(HWND hTree, const std::wstring& text) const;
    // Pixels of the window's client area that are clearly darker than its background.
    int DarkPixels(HWND hWnd) const;
    // Saves what the screen shows of the window as a 24-bit BMP.
    bool Screenshot(HWND hWnd, const std::wstring& path) const;

private:
    std::wstring RemoteItemText(HWND hTree, HTREEITEM hItem) const;
    std::wstring SelectedItemText(HWND hTree) const;
    void* RemoteAlloc(size_t cb) const;

    PROCESS_INFORMATION m_pi;
    HWND m_hMain;
    mutable std::vector<void*> m_remote;
};
