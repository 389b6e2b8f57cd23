// Measures the repair run and its log on the step-3 page, under Wine with a display:
//   repair_bench.exe [documents] [big-MB] [log-lines]     (defaults 2000, 100, 10000)
// 1. A run over that many small documents (about 4 KB each) saved as text files: time per document,
//    with the page hidden (the run's own work) and with the page visible (what a user waits for).
// 2. A run over one document of big-MB megabytes: MB/s of salvage plus write.
// 3. The log: log-lines lines appended from the repair thread; then, on up to 1,000 lines, the
//    same appends, the whole text rewritten per line (read all, append, write all), and the
//    appends to a visible log.
// The page is hidden except for the second small-document run and the last log figure: while it is
// visible, Wine's edit control spends time in proportion to its whole text on every change.
// Inputs go to a fresh folder under the temporary folder, removed at the end.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/Step3Dlg.h"
#include "bench/BenchClock.h"
#include "classlib/CWinApp.h"
#include "engine/CharTables.h"
#include "repair/RepairLog.h"
#include "resources/resource.h"
#include "tests/testutil.h"

namespace {

void PumpMessages()
{
    MSG msg;
    while (::PeekMessage(&msg, NULL, 0, 0, PM_REMOVE))
        ::DispatchMessage(&msg);
}

void PumpUntilIdle(const CStep3Dlg& page)
{
    while (page.m_bBusy) {
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, 5, QS_ALLINPUT);
        PumpMessages();
    }
}

const std::wstring kSentence = L"我们在这里写下一段用来恢复的中文内容，它应当被完整地找回来。";

// A document of about the given size: the sentence repeated.
void WriteDocument(const CString& path, size_t bytes)
{
    std::wstring text;
    while (text.size() * sizeof(wchar_t) < bytes)
        text += kSentence;
    HANDLE h = ::CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD n = 0;
    if (h == INVALID_HANDLE_VALUE || !::WriteFile(h, text.data(), static_cast<DWORD>(text.size() * 2), &n, NULL)) {
        std::fprintf(stderr, "cannot write the input %ls\n", path.GetString());
        std::exit(1);
    }
    ::CloseHandle(h);
}

CString MakeFolder(const CString& parent, LPCWSTR name)
{
    CString path = parent + L"\\" + name;
    ::CreateDirectoryW(path, NULL);  // an existing folder is fine
    return path;
}

double TimedRun(CStep3Dlg& page, tagNode* root, const CString& outDir)
{
    page.m_pRoot = root;
    page.m_strOutDir = outDir;
    page.m_bSaveInPlace = FALSE;
    const double t0 = Now();
    page.StartRepair();
    PumpUntilIdle(page);
    return Now() - t0;
}

void PrintSmallRun(int nDocs, size_t bytes, double seconds, const CStep3Dlg& page, LPCWSTR how)
{
    std::printf("%d documents of %u bytes, text output, %ls: %.3f s, %.2f ms per document (log %d lines)\n", nDocs,
                static_cast<unsigned>(bytes), how, seconds, seconds * 1000.0 / nDocs, page.m_nLogLine);
}

tagNode* AddFile(tagNode* parent, const CString& path, LPCWSTR name)
{
    tagNode* node = new tagNode;
    node->strName = name;
    node->strPath = path;
    parent->arChildren.Add(node);
    return node;
}


const int kFewLines = 1000;  // the slow ways are timed on this many lines at most

struct LogJob {
    CStep3Dlg* page;
    const CString* message;
    int lines;
};

DWORD WINAPI AppendLines(LPVOID p)
{
    LogJob* job = static_cast<LogJob*>(p);
    for (int i = 0; i < job->lines; ++i)
        job->page->AppendLog(*job->message);
    return 0;
}

// The length of a log of nLines lines of the message.
int LogLength(const CString& message, int nLines)
{
    int nLength = 0;
    for (int i = 1; i <= nLines; ++i)
        nLength += FormatLogLine(i, i == 1, message).GetLength();
    return nLength;
}

double TimeLogAppends(CStep3Dlg& page, const CString& message, int nLines)
{
    page.m_nLogLine = 0;
    page.m_editLog.SetWindowText(L"");
    LogJob job = {&page, &message, nLines};
    const double t0 = Now();
    HANDLE hThread = ::CreateThread(NULL, 0, AppendLines, &job, 0, NULL);
    if (hThread == NULL)
        return -1.0;
    while (::MsgWaitForMultipleObjects(1, &hThread, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
        PumpMessages();
    ::CloseHandle(hThread);
    // The page shows the queued lines on its timer: the figure ends when the last one is in.
    const HWND hLog = page.m_editLog.GetSafeHwnd();
    const int nExpected = LogLength(message, nLines);
    while (::GetWindowTextLengthW(hLog) < nExpected) {
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, 5, QS_ALLINPUT);
        PumpMessages();
    }
    return Now() - t0;
}

// The same lines by reading the whole text, appending and writing it all back, per line.
double TimeLogRewrites(CStep3Dlg& page, const CString& message, int nLines)
{
    const HWND hLog = page.m_editLog.GetSafeHwnd();
    ::SetWindowTextW(hLog, L"");
    const double t0 = Now();
    for (int i = 1; i <= nLines; ++i) {
        CString text;
        page.m_editLog.GetWindowText(text);
        CString line;
        line.Format(text.IsEmpty() ? L" %d.  " : L"\r\n %d.  ", i);
        ::SetWindowTextW(hLog, text + line + message);
    }
    return Now() - t0;
}

}  // namespace

CWinApp theApp;

int wmain(int argc, wchar_t** argv)
{
    const int nDocs = argc > 1 ? _wtoi(argv[1]) : 2000;
    const int nBigMB = argc > 2 ? _wtoi(argv[2]) : 100;
    const int nLines = argc > 3 ? _wtoi(argv[3]) : 10000;
    if (nDocs < 1 || nBigMB < 1 || nLines < 1) {
        std::fprintf(stderr, "usage: repair_bench [documents] [big-MB] [log-lines], each at least 1\n");
        return 2;
    }
    AfxWinInit(::GetModuleHandleW(NULL), NULL, NULL, SW_SHOW);
    if (!BuildCharTables())
        return 1;
    CWnd parent;
    parent.Attach(::CreateWindowExW(0, L"STATIC", L"repair bench", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, NULL, NULL,
                                    NULL, NULL));
    std::unique_ptr<CStep3Dlg> page(new CStep3Dlg(&parent));
    if (!page->Create(IDD_STEP3, &parent)) {
        std::fprintf(stderr, "cannot create the page\n");
        return 1;
    }
    page->ShowWindow(SW_HIDE);

    const TempDir folder;  // removed with its contents at the end
    const CString& base = folder.Root();

    const size_t kSmallBytes = 4096;
    tagNode small;
    small.bDir = TRUE;
    const CString smallDir = MakeFolder(base, L"small");
    for (int i = 0; i < nDocs; ++i) {
        CString name;
        name.Format(L"doc%04d.doc", i);
        WriteDocument(smallDir + L"\\" + name, kSmallBytes);
        AddFile(&small, smallDir + L"\\" + name, name);
    }
    const double tSmall = TimedRun(*page, &small, base + L"\\out-small");
    PrintSmallRun(nDocs, kSmallBytes, tSmall, *page, L"page hidden");
    // What a user sees: the same run with the page, its log and its busy bar on the screen.
    page->ShowWindow(SW_SHOW);
    const double tShown = TimedRun(*page, &small, base + L"\\out-small-shown");
    PrintSmallRun(nDocs, kSmallBytes, tShown, *page, L"page visible");
    page->ShowWindow(SW_HIDE);

    tagNode big;
    big.bDir = TRUE;
    const CString bigDir = MakeFolder(base, L"big");
    WriteDocument(bigDir + L"\\big.doc", static_cast<size_t>(nBigMB) << 20);
    AddFile(&big, bigDir + L"\\big.doc", L"big.doc");
    const double tBig = TimedRun(*page, &big, base + L"\\out-big");
    std::printf("one document of %d MB, text output: %.3f s, %.1f MB/s\n", nBigMB, tBig, nBigMB / tBig);

    // The log as the run writes it: from another thread, the page's thread serving its sends.
    // Wine's edit control costs time in proportion to its whole text for every change while it is
    // visible, so the two ways of appending are compared on the hidden log, and the visible log
    // is timed on its own.
    const CString message = L"保存文件成功! [doc0001.doc] -> [C:\\output\\folder\\doc0001.txt]";
    const double tAppend = TimeLogAppends(*page, message, nLines);
    std::printf("log, %d lines appended at the end from the repair thread (log hidden): %.3f s (%d characters)\n",
                nLines, tAppend, ::GetWindowTextLengthW(page->m_editLog.GetSafeHwnd()));
    const int nVisible = nLines < kFewLines ? nLines : kFewLines;
    std::printf("log, %d lines appended at the end (log hidden): %.3f s\n", nVisible,
                TimeLogAppends(*page, message, nVisible));
    std::printf("log, %d lines by rewriting the whole text per line (log hidden): %.3f s\n", nVisible,
                TimeLogRewrites(*page, message, nVisible));
    page->ShowWindow(SW_SHOW);
    std::printf("log, %d lines appended at the end (log visible): %.3f s\n", nVisible,
                TimeLogAppends(*page, message, nVisible));

    page.reset();
    parent.DestroyWindow();
    FreeCharTables();
    return 0;
}
