// The step-3 page: whole runs on its repair thread, in a real window under Xvfb.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <functional>
#include <initializer_list>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "tests/app/FailingAllocations.h"
#include "app/Step3Dlg.h"
#include "classlib/CWinApp.h"
#include "controls/WindowTestUtil.h"
#include "engine/CharTables.h"
#include "engine/SalvageFile.h"
#include "repair/PathHelpers.h"
#include "resources/resource.h"
#include "testutil.h"
#include "tests/fakeword/FakeWordConfig.h"
#include "tests/fakeword/FakeWordControl.h"

namespace {

CWinApp g_app;  // the main window the repair thread looks for

class Environment : public ::testing::Environment {
public:
    void SetUp() override
    {
        AfxWinInit(::GetModuleHandleW(nullptr), nullptr, nullptr, SW_SHOW);
        ASSERT_TRUE(BuildCharTables());
    }
    void TearDown() override { FreeCharTables(); }
};
const ::testing::Environment* const g_env = ::testing::AddGlobalTestEnvironment(new Environment);

// Text that the salvage keeps: a long run of common Chinese characters, UTF-16LE.
void MakeDocument(const CString& path, int repeats = 40)
{
    std::wstring text;
    for (int i = 0; i < repeats; ++i)
        text += L"我们在这里写下一段用来恢复的中文内容，它应当被完整地找回来。";
    HANDLE h = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    ::WriteFile(h, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &n, nullptr);
    ::CloseHandle(h);
}

// What the text writer must have written for a source: FF FE and the salvaged units.
std::string ExpectedTextFile(const tagNode& node)
{
    StopFlag stop(FALSE);
    std::unique_ptr<CString> text(SalvageFile(&node, &stop));
    return std::string("\xFF\xFE") +
           std::string(reinterpret_cast<const char*>(text->GetString()), text->GetLength() * sizeof(WCHAR));
}

// Salvages that the page calls instead of SalvageFile, counted.
std::atomic<int> g_nSalvages(0);
const ULONGLONG kHoldMs = kFailureLimitMs;

// Holds the run in the salvage until it is asked to stop, so that the test acts while the
// salvage surely runs. A stop that never comes (the run lost it) ends the hold after kHoldMs
// with a text, which the run then saves: a failure, not a hang.
CString* HoldUntilStopped(const tagNode*, const StopFlag* stop)
{
    ++g_nSalvages;
    const ULONGLONG end = ::GetTickCount64() + kHoldMs;
    while (!StopAsked(stop) && ::GetTickCount64() < end)
        ::Sleep(1);
    return new CString(L"找回的一部分中文内容");
}

// Holds the salvage of "d03.doc" as HoldUntilStopped does; salvages every other document.
CString* HoldTheFourth(const tagNode* node, const StopFlag* stop)
{
    if (node->strName == L"d03.doc")
        return HoldUntilStopped(node, stop);
    ++g_nSalvages;
    return SalvageFile(node, stop);
}

// Salvages every document as this text, and arms the failure of the g_nFailAt-th allocation that
// g_dwFailThread makes after the salvage of "a.doc" (the first document of a run).
const wchar_t kSalvaged[] = L"找回的一段中文内容";
std::atomic<int> g_nFailAt(0);
std::atomic<DWORD> g_dwFailThread(0);
CString* SalvageThenFail(const tagNode* node, const StopFlag*)
{
    CString* text = new CString(kSalvaged);
    if (node->strName == L"a.doc")
        FailNthAllocationOn(g_dwFailThread != 0 ? g_dwFailThread.load() : ::GetCurrentThreadId(), g_nFailAt);
    return text;
}

// Runs out of memory on "bad.doc"; salvages every other document.
CString* OutOfMemoryOnBad(const tagNode* node, const StopFlag* stop)
{
    ++g_nSalvages;
    if (node->strName == L"bad.doc")
        throw std::bad_alloc();
    return SalvageFile(node, stop);
}

tagNode* AddNode(tagNode* parent, const CString& path, BOOL bDir)
{
    tagNode* node = new tagNode;
    node->strPath = path;
    node->strName = path.Mid(path.ReverseFind(L'\\') + 1);
    node->bDir = bDir;
    parent->arChildren.Add(node);
    return node;
}

std::string Text(HWND hWnd)
{
    CString text;
    CWnd::FromHandle(hWnd)->GetWindowText(text);
    return Utf8(text);
}

// The lines of a log's text (CR LF between them).
std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    for (size_t start = 0; !text.empty();) {
        const size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 2;
    }
    return lines;
}

// A log's subclass that keeps the log's last text (in the std::string at dwRefData) when the log
// is destroyed.
LRESULT CALLBACK KeepTextWhenDestroyed(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR dwRefData)
{
    if (msg == WM_DESTROY)
        *reinterpret_cast<std::string*>(dwRefData) = Text(hWnd);
    return ::DefSubclassProc(hWnd, msg, wParam, lParam);
}

// The page on a stand-in main window that has the wizard's Next and Back buttons.
class Step3Page : public ::testing::Test {
protected:
    void SetUp() override
    {
        CWnd& main = SharedParent(700, 500);
        g_app.m_pMainWnd = &main;
        m_hNext = ::CreateWindowW(L"BUTTON", L"下一步", WS_CHILD | WS_VISIBLE, 600, 450, 80, 24, main.GetSafeHwnd(),
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_NEXT)), nullptr, nullptr);
        m_hBack = ::CreateWindowW(L"BUTTON", L"上一步", WS_CHILD | WS_VISIBLE, 500, 450, 80, 24, main.GetSafeHwnd(),
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_BACK)), nullptr, nullptr);
    }
    void TearDown() override { g_app.m_pMainWnd = nullptr; }

    // A folder root "src" with the named documents (small ones), in that order.
    void MakeTree(tagNode& root, std::initializer_list<const wchar_t*> names)
    {
        root.strPath = m_dir.Path(L"src");
        root.bDir = TRUE;
        ASSERT_TRUE(::CreateDirectoryW(root.strPath, nullptr));
        for (const wchar_t* name : names)
            MakeDocument(AddNode(&root, root.strPath + L"\\" + name, FALSE)->strPath);
    }

    // Creates the page: the Word probe runs now, so register the test server before.
    void CreatePage()
    {
        m_page.reset(new CStep3Dlg(g_app.m_pMainWnd));
        ASSERT_TRUE(m_page->Create(IDD_STEP3, g_app.m_pMainWnd));
        m_page->ShowWindow(SW_SHOW);
    }

    // One whole run, as the main dialog starts it; returns the log's lines.
    std::vector<std::string> Run(tagNode* root, const CString& outDir, BOOL bSaveInPlace)
    {
        m_page->m_pRoot = root;
        m_page->m_strOutDir = outDir;
        m_page->m_bSaveInPlace = bSaveInPlace;
        m_page->StartRepair();
        EXPECT_TRUE(PumpUntil([this] { return !m_page->m_bBusy; }));
        m_page->m_repairThread.Join();  // it still ends COM after the page reads idle
        return LogLines();
    }

    // The page after a run: idle, Next leading back to the start, Back and Stop off, the bar still.
    void ExpectEndOfRun(bool bRestartCaption = true)
    {
        EXPECT_FALSE(m_page->m_bBusy);
        if (bRestartCaption) {
            EXPECT_EQ(Text(m_hNext), "重新开始");
        }
        EXPECT_TRUE(::IsWindowEnabled(m_hNext));
        EXPECT_FALSE(::IsWindowEnabled(m_hBack));
        EXPECT_FALSE(::IsWindowEnabled(Stop()));
        EXPECT_FALSE(m_page->m_progress.IsAnimating());
    }

    std::vector<std::string> LogLines() { return SplitLines(Text(m_page->m_editLog.GetSafeHwnd())); }

    HWND Stop() { return ::GetDlgItem(m_page->GetSafeHwnd(), IDC_STOP); }

    std::unique_ptr<CStep3Dlg> m_page;
    HWND m_hNext = NULL;
    HWND m_hBack = NULL;
    TempDir m_dir;
};

}  // namespace

TEST_F(Step3Page, NewFolderRunThenASecondRunIntoTheSameFolder)
{
    CreatePage();
    ASSERT_FALSE(m_page->m_bHasWord);  // no Word here: text files
    ASSERT_TRUE(::CreateDirectoryW(m_dir.Path(L"src"), nullptr));
    ASSERT_TRUE(::CreateDirectoryW(m_dir.Path(L"src\\Sub"), nullptr));
    tagNode root;
    root.strPath = m_dir.Path(L"src");
    root.bDir = TRUE;
    tagNode* sub = AddNode(&root, m_dir.Path(L"src\\Sub"), TRUE);
    tagNode* inner = AddNode(sub, m_dir.Path(L"src\\Sub\\内.DOC"), FALSE);
    tagNode* top = AddNode(&root, m_dir.Path(L"src\\top.doc"), FALSE);
    tagNode* empty = AddNode(&root, m_dir.Path(L"src\\empty.doc"), FALSE);
    MakeDocument(inner->strPath);
    MakeDocument(top->strPath);
    MakeDocument(empty->strPath, 0);
    const CString out = m_dir.Path(L"out\\new");  // two levels created, neither logged

    const std::string o = Utf8(out);
    EXPECT_EQ(Run(&root, out, FALSE),
              (std::vector<std::string>{" 1.  创建目录成功! [" + o + "\\Sub]",
                                        " 2.  保存文件成功! [内.DOC] -> [" + o + "\\Sub\\内.txt]",
                                        " 3.  保存文件成功! [top.doc] -> [" + o + "\\top.txt]",
                                        " 4.  文件[empty.doc]没有修复出内容"}));
    EXPECT_EQ(ReadFileBytes(out + L"\\top.txt"), ExpectedTextFile(*top));
    ExpectEndOfRun();
    EXPECT_TRUE(Utf8(m_page->m_progress.GetText()).empty());

    // The earlier run's .txt files are taken: rename form, numbering from 1 again, no folder line.
    const std::vector<std::string> again = Run(&root, out, FALSE);
    ASSERT_EQ(again.size(), 3u);
    EXPECT_EQ(again[0].rfind(" 1.  保存文件成功! [内.DOC] -> [" + o + "\\Sub\\内_[QuillmendRename_", 0), 0u) << again[0];
    EXPECT_EQ(again[1].rfind(" 2.  保存文件成功! [top.doc] -> [" + o + "\\top_[QuillmendRename_", 0), 0u) << again[1];
    EXPECT_EQ(ReadFileBytes(out + L"\\top.txt"), ExpectedTextFile(*top));  // untouched

    // The log follows the page's size, below the Stop button.
    m_page->MoveWindow(0, 0, 600, 400);
    CRect rcLog;
    m_page->m_editLog.GetWindowRect(&rcLog);
    m_page->ScreenToClient(&rcLog);
    EXPECT_EQ(rcLog.left, 10);
    EXPECT_EQ(rcLog.right, 590);
    EXPECT_EQ(rcLog.bottom, 390);
}

TEST_F(Step3Page, BesideTheSourceAndBadInput)
{
    CreatePage();
    tagNode doc;
    doc.strPath = m_dir.Path(L"one.doc");
    doc.strName = L"one.doc";
    MakeDocument(doc.strPath);
    EXPECT_EQ(Run(&doc, doc.strPath, TRUE),
              std::vector<std::string>{" 1.  保存文件成功! [one.doc] -> [" + Utf8(m_dir.Path(L"one_[Quillmend].txt")) + "]"});

    const CString blocked = m_dir.Path(L"one.doc\\out");  // under a file: cannot be created
    EXPECT_EQ(Run(&doc, blocked, FALSE), std::vector<std::string>{" 1.  创建目录错误! [" + Utf8(blocked) + "]"});

    tagNode gone;
    gone.strPath = m_dir.Path(L"gone.doc");
    gone.strName = L"gone.doc";
    EXPECT_EQ(Run(&gone, m_dir.Path(L"out"), FALSE), std::vector<std::string>{" 1.  文件[gone.doc]没有修复出内容"});

    // The planned name and every rename form taken: line 133 and the run ends.
    ASSERT_TRUE(::CreateDirectoryW(m_dir.Path(L"taken"), nullptr));
    for (int k = -1; k < 1000; ++k) {
        CString name = L"taken\\one.txt";
        if (k >= 0)
            name.Format(L"taken\\one_[QuillmendRename_%d].txt", k);
        ::CloseHandle(::CreateFileW(m_dir.Path(name), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    }
    const std::vector<std::string> taken = Run(&doc, m_dir.Path(L"taken"), FALSE);
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].rfind(" 1.  文件已经存在！请保存到另外一个空目录中。[" + Utf8(m_dir.Path(L"taken\\one_[QuillmendRename_")), 0), 0u)
        << taken[0];

    // The text file's place is a folder: neither writer can save; the run goes on.
    ASSERT_TRUE(::CreateDirectoryW(m_dir.Path(L"out2"), nullptr));
    ASSERT_TRUE(::CreateDirectoryW(m_dir.Path(L"out2\\one.txt"), nullptr));
    EXPECT_EQ(Run(&doc, m_dir.Path(L"out2"), FALSE),
              std::vector<std::string>{" 1.  保存文件失败 [one.doc] -- [" + Utf8(m_dir.Path(L"out2\\one.txt")) + "]"});
}

// Stop while a document is being salvaged: that document gets no line and no file, the run ends.
TEST_F(Step3Page, StopDuringTheSalvage)
{
    CreatePage();
    m_page->m_pfnSalvage = &HoldUntilStopped;
    g_nSalvages = 0;
    tagNode root;
    MakeTree(root, {L"first.doc", L"next.doc"});
    m_page->m_pRoot = &root;
    m_page->m_strOutDir = m_dir.Path(L"out");
    m_page->m_bSaveInPlace = FALSE;
    m_page->StartRepair();
    ASSERT_TRUE(PumpUntil([] { return g_nSalvages == 1; }));
    // The status is queued before the salvage starts and shown by this thread later.
    EXPECT_TRUE(PumpUntil([this] { return Utf8(m_page->m_progress.GetText()) == "正在修复 [first.doc]"; }))
        << Utf8(m_page->m_progress.GetText());
    EXPECT_TRUE(m_page->m_progress.IsAnimating());
    EXPECT_TRUE(::IsWindowEnabled(Stop()));
    ::SendMessage(m_page->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_STOP, BN_CLICKED), reinterpret_cast<LPARAM>(Stop()));
    EXPECT_FALSE(::IsWindowEnabled(Stop()));
    ASSERT_TRUE(PumpUntil([this] { return !m_page->m_bBusy; }));
    EXPECT_EQ(LogLines().size(), 0u);
    EXPECT_EQ(g_nSalvages, 1);
    EXPECT_FALSE(IsFile(m_dir.Path(L"out\\first.txt")));
    EXPECT_FALSE(IsFile(m_dir.Path(L"out\\next.txt")));
    EXPECT_EQ(Text(m_hNext), "重新开始");
    EXPECT_TRUE(Utf8(m_page->m_progress.GetText()).empty());
}

// Out of memory in the salvage of one document: a line names it, the run goes on with the next
// one and ends as usual, and the page takes the next run.
TEST_F(Step3Page, FailureInOneDocument)
{
    CreatePage();
    m_page->m_pfnSalvage = &OutOfMemoryOnBad;
    tagNode root;
    MakeTree(root, {L"bad.doc", L"good.doc"});
    const CString out = m_dir.Path(L"out");
    const std::string o = Utf8(out);
    const std::vector<std::string> want{" 1.  保存文件失败 [bad.doc] -- [" + o + "\\bad.doc]",
                                        " 2.  保存文件成功! [good.doc] -> [" + o + "\\good.txt]"};
    EXPECT_EQ(Run(&root, out, FALSE), want);
    ExpectEndOfRun();
    g_nSalvages = 0;
    EXPECT_EQ(Run(&root, m_dir.Path(L"out2"), FALSE).size(), 2u);
    EXPECT_EQ(g_nSalvages, 2);
}

// The wizard closed during a run: destroying the page stops the run and waits for its thread,
// which leaves the main window's buttons alone.
TEST_F(Step3Page, DestroyedDuringARun)
{
    CreatePage();
    m_page->m_pfnSalvage = &HoldUntilStopped;
    g_nSalvages = 0;
    tagNode doc;
    doc.strPath = m_dir.Path(L"big.doc");
    doc.strName = L"big.doc";
    MakeDocument(doc.strPath);
    m_page->m_pRoot = &doc;
    m_page->m_strOutDir = m_dir.Path(L"out");
    // Asked to stop before the thread got going (its first step waits for this thread's
    // messages): the thread keeps the request.
    m_page->StartRepair();
    m_page->StopAndWait();
    EXPECT_FALSE(m_page->m_bBusy);
    EXPECT_EQ(LogLines().size(), 0u);
    EXPECT_FALSE(IsFile(m_dir.Path(L"out\\big.txt")));

    ::SetWindowTextW(m_hNext, L"下一步");
    g_nSalvages = 0;
    m_page->StartRepair();
    ASSERT_TRUE(PumpUntil([] { return g_nSalvages == 1; }));
    m_page->DestroyWindow();
    EXPECT_FALSE(m_page->m_bBusy);
    EXPECT_EQ(Text(m_hNext), "下一步");
    EXPECT_FALSE(IsFile(m_dir.Path(L"out\\big.txt")));
    m_page.reset();
}

TEST_F(Step3Page, WordPathWithFallbackToText)
{
    FakeWordServer word;
    ASSERT_TRUE(word.IsRegistered());
    CreatePage();
    ASSERT_TRUE(m_page->m_bHasWord);
    tagNode doc;
    doc.strPath = m_dir.Path(L"a.doc");
    doc.strName = L"a.doc";
    MakeDocument(doc.strPath);
    const std::string out = Utf8(m_dir.Path(L"out"));

    EXPECT_EQ(Run(&doc, m_dir.Path(L"out"), FALSE),
              std::vector<std::string>{" 1.  保存文件成功! [a.doc] -> [" + out + "\\a.doc]"});
    EXPECT_EQ(ReadFileBytes(m_dir.Path(L"out\\a.doc")).substr(2, 10), std::string("Q\0U\0I\0L\0L\0", 10));

    word.FailPath(L"\\out2\\");  // SaveAs fails: the text file is written instead
    EXPECT_EQ(Run(&doc, m_dir.Path(L"out2"), FALSE),
              std::vector<std::string>{" 1.  保存文件成功! [a.doc] -> [" + Utf8(m_dir.Path(L"out2\\a.txt")) + "]"});

    word.FailCreation(true);  // Word gone since the probe
    EXPECT_EQ(Run(&doc, m_dir.Path(L"out3"), FALSE),
              std::vector<std::string>{" 1.  保存文件成功! [a.doc] -> [" + Utf8(m_dir.Path(L"out3\\a.txt")) + "]"});

    word.FailCreation(false);  // both fail: 138 with the .txt name
    word.FailPath(L"\\out4\\");
    ASSERT_TRUE(::CreateDirectoryW(m_dir.Path(L"out4"), nullptr));
    ASSERT_TRUE(::CreateDirectoryW(m_dir.Path(L"out4\\a.txt"), nullptr));
    EXPECT_EQ(Run(&doc, m_dir.Path(L"out4"), FALSE),
              std::vector<std::string>{" 1.  保存文件失败 [a.doc] -- [" + Utf8(m_dir.Path(L"out4\\a.txt")) + "]"});
    EXPECT_EQ(word.RunningInstances(), 0);
    m_page.reset();
    EXPECT_EQ(word.LiveObjects(), 0);
}

// The repair thread queues its lines and the page shows them on a timer. Whether the run ends, is
// stopped, or the page is destroyed with the wizard, every queued line is in the log, numbered and
// in order, by the time the page reads idle (or its log goes). The stopped and the destroyed runs
// are held in their fourth document, so they are surely cut short there.
TEST_F(Step3Page, QueuedLinesReachTheLogAtTheEndAtStopAndAtClose)
{
    CreatePage();
    const int kDocs = 40;
    tagNode root;
    root.strPath = m_dir.Path(L"src");
    root.bDir = TRUE;
    ASSERT_TRUE(::CreateDirectoryW(root.strPath, nullptr));
    for (int i = 0; i < kDocs; ++i) {
        CString name;
        name.Format(L"src\\d%02d.doc", i);
        MakeDocument(AddNode(&root, m_dir.Path(name), FALSE)->strPath);
    }
    auto start = [&](LPCWSTR out) {
        g_nSalvages = 0;
        m_page->m_pRoot = &root;
        m_page->m_strOutDir = m_dir.Path(out);
        m_page->m_bSaveInPlace = FALSE;
        m_page->StartRepair();
    };
    auto expectWholeLog = [&](const std::vector<std::string>& lines, size_t nLines, LPCWSTR out) {
        EXPECT_EQ(lines.size(), nLines) << Utf8(out);
        for (size_t i = 0; i < lines.size(); ++i) {
            CString line;
            line.Format(L" %d.  保存文件成功! [d%02d.doc] -> [%s\\d%02d.txt]", static_cast<int>(i + 1),
                        static_cast<int>(i), m_dir.Path(out).GetString(), static_cast<int>(i));
            EXPECT_EQ(lines[i], Utf8(line));
        }
    };
    auto idle = [this] { return !m_page->m_bBusy; };
    auto heldInTheFourth = [] { return g_nSalvages == 4; };

    start(L"end");
    ASSERT_TRUE(ServeSendsUntil(idle));
    expectWholeLog(LogLines(), kDocs, L"end");

    // Stopped in the fourth document: three lines, and nothing of the rest.
    m_page->m_pfnSalvage = &HoldTheFourth;
    start(L"stop");
    ASSERT_TRUE(ServeSendsUntil(heldInTheFourth));
    ::SendMessage(m_page->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_STOP, BN_CLICKED), reinterpret_cast<LPARAM>(Stop()));
    ASSERT_TRUE(ServeSendsUntil(idle));
    expectWholeLog(LogLines(), 3, L"stop");
    EXPECT_EQ(g_nSalvages, 4);
    EXPECT_EQ(Text(m_hNext), "重新开始");

    // The wizard closed: destroying the page stops the run and waits for it; the log, destroyed
    // after the page, still receives every line. What it holds then is kept as it goes.
    start(L"close");
    ASSERT_TRUE(ServeSendsUntil(heldInTheFourth));
    std::string lastLog;
    ASSERT_TRUE(::SetWindowSubclass(m_page->m_editLog.GetSafeHwnd(), &KeepTextWhenDestroyed, 1,
                                    reinterpret_cast<DWORD_PTR>(&lastLog)));
    m_page->DestroyWindow();
    EXPECT_FALSE(m_page->m_bBusy);
    expectWholeLog(SplitLines(lastLog), 3, L"close");
    EXPECT_EQ(g_nSalvages, 4);
    m_page.reset();
}

// Whatever allocation fails on the repair thread after a document was salvaged, the run goes on
// or ends as any run ends: every line numbered in turn, a saved document never reported as not
// saved, no output left half made, and the page idle with Next leading back to the start.
TEST_F(Step3Page, OutOfMemoryAnywhereInTheWalk)
{
    CreatePage();
    m_page->ShowWindow(SW_HIDE);  // a run per allocation: no painting makes them quick
    m_page->m_pfnSalvage = &SalvageThenFail;
    g_dwFailThread = 0;  // the repair thread itself
    tagNode root;
    MakeTree(root, {L"a.doc"});
    AddNode(&root, root.strPath + L"\\sub", TRUE);  // its line is no document's
    const std::string whole = "\xFF\xFE" + std::string(reinterpret_cast<const char*>(kSalvaged), sizeof(kSalvaged) - 2);
    for (int k = 1;; ++k) {
        ASSERT_LT(k, 1000) << "an allocation fails at every count";
        g_nFailAt = k;
        CString outName;
        outName.Format(L"out%d", k);
        const CString out = m_dir.Path(outName);
        const std::vector<std::string> lines = Run(&root, out, FALSE);
        const bool bFailed = TakeAllocationFailure();
        ExpectEndOfRun();
        for (size_t i = 0; i < lines.size(); ++i)
            EXPECT_EQ(lines[i].rfind(" " + std::to_string(i + 1) + ".  ", 0), 0u) << "allocation " << k << ": " << lines[i];
        int saved = 0, failed = 0;
        for (const std::string& line : lines) {
            saved += line.find("保存文件成功! [a.doc]") != std::string::npos;
            failed += line.find("保存文件失败 [a.doc]") != std::string::npos;
        }
        if (IsFile(out + L"\\a.txt")) {
            EXPECT_EQ(ReadFileBytes(out + L"\\a.txt"), whole) << "allocation " << k;
            EXPECT_EQ(saved, 1) << "allocation " << k;
            EXPECT_EQ(failed, 0) << "allocation " << k;
        } else {
            EXPECT_EQ(saved, 0) << "allocation " << k;
        }
        if (::testing::Test::HasFailure() || !bFailed)
            break;  // past the last allocation of the run: each one has failed once
    }
}

// Whatever allocation fails on the window's thread while it shows the end of a run, the page ends
// idle with every line in the log, and the wizard's buttons lead on. Only sent calls are served meanwhile, so the failure
// falls into the end of the run itself.
TEST_F(Step3Page, OutOfMemoryWhileTheEndOfARunIsShown)
{
    CreatePage();
    m_page->m_pfnSalvage = &SalvageThenFail;
    g_dwFailThread = ::GetCurrentThreadId();
    tagNode root;
    MakeTree(root, {L"a.doc"});
    for (int k = 1;; ++k) {
        ASSERT_LT(k, 100) << "an allocation fails at every count";
        g_nFailAt = k;
        ::SetWindowTextW(m_hNext, L"下一步");
        CString out;
        out.Format(L"out%d", k);
        m_page->m_pRoot = &root;
        m_page->m_strOutDir = m_dir.Path(out);
        m_page->StartRepair();
        EXPECT_TRUE(ServeSendsUntil([this] { return !m_page->m_bBusy; })) << "allocation " << k;
        m_page->m_repairThread.Join();
        const bool bFailed = TakeAllocationFailure();
        ExpectEndOfRun(false);
        EXPECT_EQ(LogLines().size(), static_cast<size_t>(m_page->m_nLogLine)) << "allocation " << k;
        if (::testing::Test::HasFailure() || !bFailed)
            break;
    }
    g_dwFailThread = 0;
}
