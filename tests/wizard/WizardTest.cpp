// The wizard's own faults mended, in real windows under Xvfb: threads that cannot start or fail,
// a tree cleared under a selection, the wait for workers at the end, a listing ended or replaced
// while its thread runs, Next and Back while workers start, the picker on a thread without COM.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <atomic>
#include <new>
#include <string>
#include <thread>

#include "tests/app/FailingAllocations.h"
#include "app/FolderPicker.h"
#include "app/QuillmendDlg.h"
#include "classlib/CWinApp.h"
#include "controls/WindowTestUtil.h"
#include "resources/LoadStr.h"
#include "resources/resource.h"
#include "testutil.h"

CFont g_fontBrowseTitle;  // the program defines it beside its application object

namespace {
CWinApp g_app;
std::atomic<int> g_nStarts(0);

CWinThread* CannotStart(AFX_THREADPROC, LPVOID, int, UINT, DWORD, LPSECURITY_ATTRIBUTES)
{
    ++g_nStarts;
    return nullptr;
}

// A worker started by StartHeld waits, before or after its work, until a timer on the test's
// thread lets it go: that timer runs only while the test's thread dispatches messages, as the
// page does while it waits for a worker.
AFX_THREADPROC g_pfnHeld = nullptr;
bool g_bHoldAfterWork = false;
HANDLE g_hRelease = NULL;
std::atomic<bool> g_bOldTreeKeptUntilRelease(false);

UINT HeldWorker(LPVOID pParam)
{
    CStep2Dlg* pPage = static_cast<CStep2Dlg*>(pParam);
    if (!g_bHoldAfterWork)
        ::WaitForSingleObject(g_hRelease, INFINITE);
    const UINT nResult = g_pfnHeld(pParam);
    if (g_bHoldAfterWork) {
        ::WaitForSingleObject(g_hRelease, INFINITE);
        // The old tree holds the document; a new root has no children yet. (A pointer test would
        // not do: the new root may take the freed root's place.)
        g_bOldTreeKeptUntilRelease = pPage->m_pRoot->arChildren.GetSize() > 0;
    }
    return nResult;
}

CWinThread* StartHeld(AFX_THREADPROC pfn, LPVOID pParam, int nPriority, UINT nStack, DWORD dwFlags,
                      LPSECURITY_ATTRIBUTES pSecurity)
{
    g_pfnHeld = pfn;
    return AfxBeginThread(&HeldWorker, pParam, nPriority, nStack, dwFlags, pSecurity);
}

void CALLBACK ReleaseHeldWorker(HWND, UINT, UINT_PTR nId, DWORD)
{
    ::KillTimer(NULL, nId);
    ::SetEvent(g_hRelease);
}

void ReleaseWhenMessagesAreDispatched()
{
    ::SetTimer(NULL, 0, 1, &ReleaseHeldWorker);
}

// A preview held in its salvage until it is asked to stop (at most the failure limit, so that a
// lost stop is a failure and not a hang); counts its calls.
std::atomic<int> g_nHeld(0);
CString* HoldUntilStopped(const tagNode*, const StopFlag* stop)
{
    ++g_nHeld;
    const ULONGLONG end = ::GetTickCount64() + kFailureLimitMs;
    while (!StopAsked(stop) && ::GetTickCount64() < end)
        ::Sleep(1);
    return new CString(L"预览");
}

CString* OutOfMemory(const tagNode*, const StopFlag*) { throw std::bad_alloc(); }

// A listing whose first allocation fails, as when memory runs out while the tree is built.
AFX_THREADPROC g_pfnListing = nullptr;
UINT ListingOutOfMemory(LPVOID pParam)
{
    FailNthAllocationOn(::GetCurrentThreadId(), 1);
    return g_pfnListing(pParam);
}

CWinThread* StartOutOfMemory(AFX_THREADPROC pfn, LPVOID pParam, int nPriority, UINT nStack, DWORD dwFlags,
                             LPSECURITY_ATTRIBUTES pSecurity)
{
    g_pfnListing = pfn;
    return AfxBeginThread(&ListingOutOfMemory, pParam, nPriority, nStack, dwFlags, pSecurity);
}

// Answers, from its own thread, every message box that this process opens (boxes are modal on
// the test's thread) with OK, keeping the last text and the count, until it is destroyed.
class BoxAnswerer {
public:
    BoxAnswerer() : m_thread([this] { Answer(); }) {}
    ~BoxAnswerer()
    {
        m_bDone = true;
        m_thread.join();
    }
    int Count() const { return m_nBoxes; }
    std::string LastText() const { return m_strText; }

private:
    static BOOL CALLBACK FindBox(HWND hWnd, LPARAM lParam)
    {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hWnd, &pid);
        if (pid == ::GetCurrentProcessId() && ::IsWindowVisible(hWnd) && ::GetDlgItem(hWnd, 0xFFFF) != NULL) {
            *reinterpret_cast<HWND*>(lParam) = hWnd;
            return FALSE;
        }
        return TRUE;
    }
    void Answer()
    {
        while (!m_bDone) {
            HWND hBox = NULL;
            ::EnumWindows(FindBox, reinterpret_cast<LPARAM>(&hBox));
            if (hBox != NULL && hBox != m_hLast) {
                WCHAR text[256] = {};
                ::GetDlgItemTextW(hBox, 0xFFFF, text, 256);
                m_strText = Utf8(text);
                m_hLast = hBox;
                ++m_nBoxes;
                ::PostMessageW(hBox, WM_COMMAND, IDOK, 0);
            }
            ::Sleep(10);
        }
    }
    std::atomic<bool> m_bDone{false};
    std::atomic<int> m_nBoxes{0};
    std::string m_strText;
    HWND m_hLast = NULL;
    std::thread m_thread;
};

// Marks the wizard's end (the flag at dwRefData) when the tree receives its first item.
LRESULT CALLBACK EndOnFirstInsert(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR dwRefData)
{
    if (msg == TVM_INSERTITEMW)
        *reinterpret_cast<std::atomic<BOOL>*>(dwRefData) = TRUE;
    return ::DefSubclassProc(hWnd, msg, wParam, lParam);
}

void WriteDocument(const CString& path, int nRepeats)
{
    std::wstring text;
    for (int i = 0; i < nRepeats; ++i)
        text += L"这是一段用来预览的中文内容，它应当被完整地找回来。";
    HANDLE h = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    ::WriteFile(h, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &n, nullptr);
    ::CloseHandle(h);
}

// The wizard as the program runs it, but modeless so that the test keeps the thread.
class Wizard : public ::testing::Test {
protected:
    void SetUp() override
    {
        AfxWinInit(::GetModuleHandleW(nullptr), nullptr, nullptr, SW_SHOW);
        m_dlg.reset(new CQuillmendDlg(nullptr));
        ASSERT_TRUE(m_dlg->TablesBuilt());
        g_app.m_pMainWnd = m_dlg.get();
        ASSERT_TRUE(m_dlg->Create(IDD_QUILLMEND_DIALOG, nullptr));
        g_nStarts = 0;
        g_hRelease = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }
    void TearDown() override
    {
        m_dlg->DestroyWindow();
        m_dlg.reset();
        g_app.m_pMainWnd = nullptr;
        ::CloseHandle(g_hRelease);
    }
    // Lists the folder (on the listing thread) and waits until the listing thread has ended: it
    // still reads the tree after the tree is filled.
    void List(const CString& folder)
    {
        CStep2Dlg& page = m_dlg->m_dlgStep2;
        page.m_strSource = folder;
        page.m_nMode = 0;
        page.StartListing();
        ASSERT_TRUE(PumpUntil([&] { return !page.m_listingThread.IsRunning() && !page.m_bPreviewing; }));
    }
    // Starts a listing of a folder of one document, its thread held before or after its walk.
    void StartHeldListing(bool bHoldAfterWork)
    {
        CStep2Dlg& page = m_dlg->m_dlgStep2;
        WriteDocument(m_dir.Path(L"a.doc"), 20);
        g_bHoldAfterWork = bHoldAfterWork;
        page.m_listingThread.m_pfnBegin = &StartHeld;
        page.m_strSource = m_dir.Root();
        page.m_nMode = 0;
        page.StartListing();
    }
    std::unique_ptr<CQuillmendDlg> m_dlg;
    TempDir m_dir;
};
}  // namespace

TEST_F(Wizard, WorkersThatCannotStartOrFailLeaveNothingBusy)
{
    CStep2Dlg& page = m_dlg->m_dlgStep2;
    page.m_listingThread.m_pfnBegin = &CannotStart;
    page.m_strSource = m_dir.Root();
    page.StartListing();
    EXPECT_EQ(g_nStarts, 1);
    EXPECT_FALSE(page.m_bListing);
    m_dlg->GoToStep(2);
    EXPECT_TRUE(m_dlg->GetDlgItem(IDC_BACK)->IsWindowEnabled());

    WriteDocument(m_dir.Path(L"a.doc"), 20);
    page.m_listingThread.m_pfnBegin = &AfxBeginThread;
    page.m_previewThread.m_pfnBegin = &CannotStart;
    List(m_dir.Root());
    ASSERT_TRUE(page.m_tree.Select(page.m_tree.GetNextItem(page.m_tree.GetRootItem(), TVGN_CHILD), TVGN_CARET));
    EXPECT_EQ(g_nStarts, 2);
    EXPECT_FALSE(page.m_bPreviewing);
    EXPECT_TRUE(m_dlg->GetDlgItem(IDC_NEXT)->IsWindowEnabled());
    EXPECT_TRUE(page.m_tree.IsWindowEnabled());

    // A preview whose salvage runs out of memory ends as a stopped one.
    page.m_previewThread.m_pfnBegin = &AfxBeginThread;
    page.m_pfnSalvage = &OutOfMemory;
    ASSERT_TRUE(page.m_tree.Select(page.m_tree.GetRootItem(), TVGN_CARET));
    ASSERT_TRUE(page.m_tree.Select(page.m_tree.GetNextItem(page.m_tree.GetRootItem(), TVGN_CHILD), TVGN_CARET));
    ASSERT_TRUE(PumpUntil([&] { return !page.m_bPreviewing && page.m_tree.IsWindowEnabled(); }));
    EXPECT_TRUE(m_dlg->GetDlgItem(IDC_NEXT)->IsWindowEnabled());
    EXPECT_TRUE(m_dlg->GetDlgItem(IDC_BACK)->IsWindowEnabled());
    EXPECT_FALSE(page.GetDlgItem(IDC_STOP_PREVIEW)->IsWindowEnabled());
    EXPECT_EQ(page.m_wndText.GetRowCount(), 0);
}

// While a tree control deletes its items, Windows moves the selection to a neighbour of each
// selected item it deletes, with a TVN_SELCHANGED each time (Wine's tree clears the selection at
// once). This page procedure does what Windows does when it hears of a deleted item.
LRESULT CALLBACK MoveSelectionOnDelete(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == TVN_DELETEITEMW) {
        const NMTREEVIEWW* pNm = reinterpret_cast<NMTREEVIEWW*>(lParam);
        HWND hTree = pNm->hdr.hwndFrom;
        LPARAM hNext = ::SendMessageW(hTree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(pNm->itemOld.hItem));
        if (hNext != 0)
            ::SendMessageW(hTree, TVM_SELECTITEM, TVGN_CARET, hNext);
    }
    return ::DefSubclassProc(hWnd, msg, wParam, lParam);
}

TEST_F(Wizard, ClearingTheTreeStartsNoPreview)
{
    CStep2Dlg& page = m_dlg->m_dlgStep2;
    for (const wchar_t* name : {L"a.doc", L"b.doc", L"c.doc"})
        WriteDocument(m_dir.Path(name), 20);
    List(m_dir.Root());
    page.m_previewThread.m_pfnBegin = &CannotStart;
    page.m_listingThread.m_pfnBegin = &CannotStart;
    ASSERT_TRUE(::SetWindowSubclass(page.GetSafeHwnd(), MoveSelectionOnDelete, 1, 0));
    HTREEITEM hFirst = page.m_tree.GetNextItem(page.m_tree.GetRootItem(), TVGN_CHILD);
    page.m_tree.DeleteItem(hFirst);  // the control's own deletion moves the selection: a preview
    ASSERT_EQ(g_nStarts, 1);
    page.StartListing();             // the page's clearing, with the same moves, starts none
    EXPECT_EQ(g_nStarts, 2);         // the listing's own start
    EXPECT_EQ(page.m_tree.SendMessage(TVM_GETCOUNT), 0);
    ::RemoveWindowSubclass(page.GetSafeHwnd(), MoveSelectionOnDelete, 1);
}

TEST_F(Wizard, TheEndWaitsForARunningPreview)
{
    CStep2Dlg& page = m_dlg->m_dlgStep2;
    WriteDocument(m_dir.Path(L"a.doc"), 20);
    List(m_dir.Root());
    page.m_pfnSalvage = &HoldUntilStopped;
    g_nHeld = 0;
    ASSERT_TRUE(page.m_tree.Select(page.m_tree.GetNextItem(page.m_tree.GetRootItem(), TVGN_CHILD), TVGN_CARET));
    ASSERT_TRUE(PumpUntil([] { return g_nHeld == 1; }));
    page.StopAndWait();
    EXPECT_FALSE(page.m_previewThread.IsRunning());
    EXPECT_FALSE(page.m_bPreviewing);
    EXPECT_EQ(page.m_wndText.GetRowCount(), 0);  // a stopped preview shows nothing
    // No new preview after the end was asked for.
    ASSERT_TRUE(page.m_tree.Select(page.m_tree.GetRootItem(), TVGN_CARET));
    ASSERT_TRUE(page.m_tree.Select(page.m_tree.GetNextItem(page.m_tree.GetRootItem(), TVGN_CHILD), TVGN_CARET));
    EXPECT_FALSE(page.m_bPreviewing);
    EXPECT_EQ(g_nHeld, 1);
}

// Next and Back go off on the window's thread before a listing, a preview or a repair starts: a
// click before the worker got going would start a repair over a tree still being built, or leave
// step 3 during a repair. The workers' own disabling waits for this thread's messages, so the
// look right after each start sees only what this thread did.
TEST_F(Wizard, NextAndBackAreOffBeforeAWorkerRuns)
{
    CStep2Dlg& page = m_dlg->m_dlgStep2;
    CWnd* pNext = m_dlg->GetDlgItem(IDC_NEXT);
    CWnd* pBack = m_dlg->GetDlgItem(IDC_BACK);
    WriteDocument(m_dir.Path(L"a.doc"), 20);
    m_dlg->GoToStep(2);
    ASSERT_TRUE(pBack->IsWindowEnabled());
    page.m_strSource = m_dir.Root();
    page.m_nMode = 0;
    page.StartListing();
    EXPECT_FALSE(pNext->IsWindowEnabled());
    EXPECT_FALSE(pBack->IsWindowEnabled());
    ASSERT_TRUE(PumpUntil([&] { return !page.m_listingThread.IsRunning() && pNext->IsWindowEnabled(); }));

    ASSERT_TRUE(page.m_tree.Select(page.m_tree.GetNextItem(page.m_tree.GetRootItem(), TVGN_CHILD), TVGN_CARET));
    EXPECT_FALSE(pNext->IsWindowEnabled());
    EXPECT_FALSE(pBack->IsWindowEnabled());
    ASSERT_TRUE(PumpUntil([&] { return !page.m_bPreviewing && pNext->IsWindowEnabled(); }));

    CStep3Dlg& repair = m_dlg->m_dlgStep3;
    repair.m_pRoot = page.m_pRoot;
    repair.m_strOutDir = m_dir.Path(L"out");
    repair.StartRepair();
    EXPECT_FALSE(pNext->IsWindowEnabled());
    EXPECT_FALSE(pBack->IsWindowEnabled());
    ASSERT_TRUE(PumpUntil([&] { return !repair.m_bBusy; }));
}

// A listing clears its busy flag before its last look at the tree: the next listing frees the old
// tree only once that listing has ended.
TEST_F(Wizard, ANewListingFreesTheOldTreeAfterTheOldListingEnded)
{
    CStep2Dlg& page = m_dlg->m_dlgStep2;
    StartHeldListing(true);
    // Listed, but its thread is held before it ends.
    ASSERT_TRUE(PumpUntil([&] { return !page.m_bListing && !page.m_bPreviewing; }));
    page.m_listingThread.m_pfnBegin = &CannotStart;
    ReleaseWhenMessagesAreDispatched();
    page.StartListing();
    EXPECT_TRUE(g_bOldTreeKeptUntilRelease);
}

// The wizard's end during a listing: the walk and the listing thread see the closing flag and
// end without listing or filling anything more.
TEST_F(Wizard, TheEndStopsARunningListing)
{
    CStep2Dlg& page = m_dlg->m_dlgStep2;
    StartHeldListing(false);
    ReleaseWhenMessagesAreDispatched();
    page.StopAndWait();
    EXPECT_EQ(page.m_pRoot->arChildren.GetSize(), 0);
    EXPECT_FALSE(page.m_bListing);
    EXPECT_EQ(page.m_tree.SendMessage(TVM_GETCOUNT), 0);
}

// A listing that fails (out of memory) lists nothing: it says that no document was found, as an
// empty folder does, and leads back to step 1.
TEST_F(Wizard, AFailedListingSaysSoAndLeadsBackToStepOne)
{
    CStep2Dlg& page = m_dlg->m_dlgStep2;
    WriteDocument(m_dir.Path(L"a.doc"), 20);
    m_dlg->GoToStep(2);
    page.m_listingThread.m_pfnBegin = &StartOutOfMemory;
    page.m_strSource = m_dir.Root();
    page.m_nMode = 0;
    BoxAnswerer boxes;
    page.StartListing();
    ASSERT_TRUE(PumpUntil([&] { return m_dlg->m_nStep == 1 && !page.m_listingThread.IsRunning(); }));
    EXPECT_TRUE(TakeAllocationFailure());
    EXPECT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.LastText(), Utf8(LoadStr(IDS_NO_DOCUMENT)));
    EXPECT_FALSE(page.m_bListing);
    EXPECT_EQ(page.m_pRoot->arChildren.GetSize(), 0);
    EXPECT_EQ(page.m_tree.SendMessage(TVM_GETCOUNT), 0);
}

// The wizard's end after a listing that found nothing: the "no document" message, not yet shown
// when the end is asked, is never shown (a box then would enable the ending wizard again).
TEST_F(Wizard, NoMessageAfterTheEndIsAsked)
{
    CStep2Dlg& page = m_dlg->m_dlgStep2;
    page.m_strSource = m_dir.Root();
    page.m_nMode = 0;
    page.StartListing();
    // The listing ends and leaves its message to this thread, which has not shown it yet.
    ASSERT_TRUE(ServeSendsUntil([&] { return !page.m_listingThread.IsRunning(); }));
    BoxAnswerer boxes;
    page.StopAndWait();
    PumpFor(0);  // what the listing left for this thread is handled now, after the end was asked
    EXPECT_EQ(boxes.Count(), 0);
}

// The wizard's end while the tree is being filled: the fill stops at the next item.
TEST_F(Wizard, TheEndStopsFillingTheTree)
{
    CStep2Dlg& page = m_dlg->m_dlgStep2;
    delete page.m_pRoot;
    page.m_pRoot = new tagNode;
    page.m_pRoot->bDir = TRUE;
    for (int i = 0; i < 100; ++i) {
        tagNode* pDoc = new tagNode;
        pDoc->strName.Format(L"d%d.doc", i);
        page.m_pRoot->arChildren.Add(pDoc);
    }
    ASSERT_TRUE(::SetWindowSubclass(page.m_tree.GetSafeHwnd(), &EndOnFirstInsert, 1,
                                    reinterpret_cast<DWORD_PTR>(&page.m_bClosing)));
    RunWorkerPumping([&page] { page.FillTree(); });  // on a worker, as the listing fills it
    ::RemoveWindowSubclass(page.m_tree.GetSafeHwnd(), &EndOnFirstInsert, 1);
    EXPECT_EQ(page.m_tree.SendMessage(TVM_GETCOUNT), 1);
}

// The picker's new-style dialog needs COM on the calling thread: it opens on a thread that never
// initialised COM and leaves the thread's COM as it was. (Wine's picker starts COM itself, so
// only Windows would show a picker without it; an unbalanced start shows everywhere.)
TEST(FolderPicker, OpensOnAThreadWithoutCom)
{
    g_app.m_pMainWnd = nullptr;
    std::atomic<int> nResult(0);
    std::atomic<HRESULT> hrAfter(E_FAIL);
    std::thread picker([&] {
        WCHAR szPath[MAX_PATH] = {};
        nResult = BrowseForFolder(szPath);
        hrAfter = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ::CoUninitialize();
    });
    HWND hTree = NULL;
    EXPECT_TRUE(PumpUntil([&] {
        HWND hDlg = ::FindWindowW(L"#32770", nullptr);
        hTree = hDlg ? ::FindWindowExW(hDlg, NULL, WC_TREEVIEWW, nullptr) : NULL;
        if (hTree == NULL && hDlg != NULL)
            hTree = ::GetDlgItem(hDlg, 0x3741);
        return hTree != NULL && ::SendMessageW(hTree, TVM_GETCOUNT, 0, 0) > 0;
    }));
    ::PostMessageW(::GetAncestor(hTree, GA_ROOT), WM_COMMAND, IDCANCEL, 0);
    picker.join();
    EXPECT_EQ(nResult, 2);
    EXPECT_EQ(hrAfter, S_OK);  // not S_FALSE: the picker ended the COM it started
}
