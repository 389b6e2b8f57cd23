#include "app/Step3Dlg.h"

#include <memory>

#include "app/PageBackground.h"
#include "classlib/CBrush.h"
#include "classlib/CDataExchange.h"
#include "classlib/WindowThreadCall.h"
#include "repair/OutputNames.h"
#include "repair/PathHelpers.h"
#include "repair/RepairLog.h"
#include "repair/TextFileOutput.h"
#include "repair/WordOutput.h"
#include "resources/LoadStr.h"
#include "resources/resource.h"

namespace {

const COLORREF kLogBack = RGB(240, 240, 255);
const COLORREF kLogText = RGB(50, 10, 20);
const int kLogMargin = 10;  // between the log and the page's edges, and below the Stop button
// After showing the repair thread's lines and status, the page waits this long before it shows
// more: while lines come faster, each tick takes them all in one append.
const UINT_PTR kUpdateTimerId = 1;
const UINT kUpdateMs = 100;

void EnableDlgItem(HWND hDlg, int nID, BOOL bEnable)
{
    // A missing window (no main dialog, a page without its buttons) leaves nothing to enable.
    ::EnableWindow(::GetDlgItem(hDlg, nID), bEnable);
}

}  // namespace

IMPLEMENT_DYNAMIC(CStep3Dlg, CDialog)

BEGIN_MESSAGE_MAP(CStep3Dlg, CDialog)
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_STOP, &CStep3Dlg::OnStop)
END_MESSAGE_MAP()

CStep3Dlg::CStep3Dlg(CWnd* pParent)
    : CDialog(IDD_STEP3, pParent),
      m_pRoot(NULL),
      m_bSaveInPlace(FALSE),
      m_bBusy(FALSE),
      m_bStop(FALSE),
      m_nLogLine(0),
      m_bHasWord(FALSE),
      m_pfnSalvage(&SalvageFile),
      m_bPageClosing(FALSE),
      m_bStatusPending(FALSE),
      m_bUpdateAsked(FALSE),
      m_nUpdateTimer(0)
{
}

// The thread calls this page's members to its end: it must be over before the page goes.
CStep3Dlg::~CStep3Dlg() { StopAndWait(); }

void CStep3Dlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LOG, m_editLog);
    DDX_Control(pDX, IDC_BUSY_BAR, m_progress);
}

BOOL CStep3Dlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_btn[0].SubclassDlgItem(IDC_STOP, this);
    m_bHasWord = ProbeWord();
    m_editLog.SendMessage(EM_SETREADONLY, TRUE);
    // The log is appended to at its end, which the edit control's text limit would cut short.
    m_editLog.SendMessage(EM_SETLIMITTEXT, 0);
    return TRUE;
}

// ---- the run's start and end ----

void CStep3Dlg::StartRepair()
{
    if (m_bBusy)
        return;
    m_repairThread.Join();  // the previous run's thread may still be ending COM
    m_nLogLine = 0;
    m_bBusy = TRUE;
    m_bStop = FALSE;
    m_bPageClosing = FALSE;
    m_editLog.SetWindowText(L"");
    // Off before the thread exists, not when it gets going: a click in between would take the
    // wizard to step 1, whose Next frees the tree that the run reads.
    EnableWizardButtons(FALSE);
    if (!m_repairThread.Start(&RepairThread, this, THREAD_PRIORITY_BELOW_NORMAL)) {
        m_bBusy = FALSE;  // no thread, no run: the page stays idle
        EnableWizardButtons(TRUE);
    }
}

void CStep3Dlg::StopAndWait()
{
    AskToStop();
    m_repairThread.Join();
    // A thread that found the page's window gone did not show the end of its run: the page is
    // idle all the same once the thread has ended.
    m_bBusy = FALSE;
}

UINT CStep3Dlg::RepairThread(LPVOID pParam)
{
    static_cast<CStep3Dlg*>(pParam)->RunRepairThread();
    return 0;
}

void CStep3Dlg::RunRepairThread()
{
    tagNode* pRoot = m_pRoot;
    CWnd* pMain = AfxGetMainWnd();
    const HWND hMain = pMain != NULL ? pMain->GetSafeHwnd() : NULL;
    // StartRepair turned Next and Back off and cleared the stop flag; clearing it here again would
    // lose a Stop (or a close of the wizard) that came before this thread got going.
    if (!StopAsked(&m_bStop))
        EnableDlgItem(m_hWnd, IDC_STOP, TRUE);
    const HRESULT hr = ::CoInitialize(NULL);  // this thread's own apartment for the Word calls
    if (pRoot != NULL)
        RunWalk(pRoot);
    if (::IsWindow(m_hWnd) && !m_bPageClosing)
        EndRunOnPage(hMain);
    if (SUCCEEDED(hr))
        ::CoUninitialize();
}

// A failure outside any one document (out of memory for a folder's log line, or for the busy
// bar's timer) ends that step, not the thread: the end of the run still shows, and the page then
// reads idle.
void CStep3Dlg::RunWalk(tagNode* pRoot)
{
    RunContained([this] {
        m_progress.SetText(CString());
        m_progress.SetAnimate(TRUE);
    });
    RunContained([this, pRoot] { RepairAll(pRoot, &m_bStop); });
    RunContained([this] { m_progress.SetAnimate(FALSE); });
}

// On the window's thread, so that the lines still queued are in the log before the buttons show
// the end of the run. A page whose window has gone shows nothing (StopAndWait leaves it idle).
void CStep3Dlg::EndRunOnPage(HWND hMainWnd)
{
    RunOnWindowThread(m_hWnd, [this, hMainWnd] { ShowEndOfRun(hMainWnd); });
}

// The page reads idle (m_bBusy FALSE) only once its log and buttons show the end of the run. Out
// of memory here costs at most the last lines or Next's caption, never the buttons or the idle
// page: without them the wizard would stay on step 3 for good.
void CStep3Dlg::ShowEndOfRun(HWND hMainWnd)
{
    RunContained([this] {
        ShowPendingUpdates();
        m_progress.SetText(CString());  // after the last queued status, which would show again
    });
    // Next goes on last: whoever waits for it sees the whole end of the run.
    EnableDlgItem(m_hWnd, IDC_STOP, FALSE);
    EnableDlgItem(hMainWnd, IDC_BACK, FALSE);
    const HWND hNext = ::GetDlgItem(hMainWnd, IDC_NEXT);
    if (hNext != NULL)
        RunContained([hNext] { ::SetWindowText(hNext, LoadStr(IDS_RESTART)); });
    EnableDlgItem(hMainWnd, IDC_NEXT, TRUE);
    m_bBusy = FALSE;
}

// ---- the walk ----

BOOL CStep3Dlg::RepairAll(tagNode* pRoot, const StopFlag* pStop)
{
    CString strDir = m_strOutDir;
    if (m_bSaveInPlace && IsFile(strDir))
        strDir = GetParentFolder(strDir);  // one document chosen: results go beside it
    if (StopAsked(pStop))
        return TRUE;
    if (!CreateDirectoryPath(strDir)) {
        LogString(IDS_MKDIR_FAILED, strDir);
        return FALSE;
    }
    // The root folder's children go straight into the output folder.
    if (pRoot->bDir)
        return RepairChildren(pRoot, strDir, pStop);
    return RepairNode(pRoot, strDir, pStop);
}

BOOL CStep3Dlg::RepairNode(tagNode* pNode, const CString& strDir, const StopFlag* pStop)
{
    return pNode->bDir ? RepairFolder(pNode, strDir, pStop) : RepairDocument(pNode, strDir, pStop);
}

BOOL CStep3Dlg::RepairChildren(tagNode* pNode, const CString& strDir, const StopFlag* pStop)
{
    for (INT_PTR i = 0; i < pNode->arChildren.GetSize(); ++i) {
        if (StopAsked(pStop))
            return TRUE;
        if (!RepairNode(pNode->arChildren[i], strDir, pStop))
            return FALSE;
    }
    return TRUE;
}

BOOL CStep3Dlg::RepairFolder(tagNode* pNode, const CString& strDir, const StopFlag* pStop)
{
    if (StopAsked(pStop))
        return TRUE;
    const CString strPath = JoinPath(strDir, pNode->strName);
    if (!IsDirectory(strPath)) {
        if (!CreateDirectoryPath(strPath)) {
            LogString(IDS_MKDIR_FAILED, strPath);
            return FALSE;
        }
        LogString(IDS_MKDIR_DONE, strPath);
    }
    return RepairChildren(pNode, strPath, pStop);
}

// The name tested for "taken" is the output name and its ".txt" name (IsOutputTaken): without
// Word only the ".txt" one is written, but an earlier result under either keeps its place.
BOOL CStep3Dlg::RepairDocument(tagNode* pNode, const CString& strDir, const StopFlag* pStop)
{
    if (StopAsked(pStop))
        return TRUE;
    CString strPath = DocumentOutputPath(strDir, pNode->strName, m_bSaveInPlace);
    if (IsOutputTaken(strPath))
        strPath = RenamedOutputPath(strDir, pNode->strName, RenameNumber());
    BOOL bGoOn = TRUE;
    BOOL bSaved = FALSE;
    // Out of memory in the salvage, a writer or the log (or an error that nothing below caught)
    // costs this document alone: its line says what became of it, and the run goes on. A document
    // already saved is never reported as not saved.
    if (!RunContained([&] { bGoOn = SalvageAndSave(pNode, strPath, pStop, &bSaved); }))
        LogString(bSaved ? IDS_SAVE_DONE : IDS_SAVE_FAILED, pNode->strName, strPath);
    return bGoOn;
}

// FALSE when the output file turned out to be taken, which ends the run. *pbSaved is TRUE once a
// writer has saved the document, before its line is logged.
BOOL CStep3Dlg::SalvageAndSave(tagNode* pNode, CString& strPath, const StopFlag* pStop, BOOL* pbSaved)
{
    ShowStatus(IDS_REPAIRING, pNode->strName);
    std::unique_ptr<CString> pText(m_pfnSalvage(pNode, pStop));
    // A stop during the salvage leaves a partial text: that document is neither saved nor logged.
    if (StopAsked(pStop))
        return TRUE;
    if (pText->IsEmpty()) {
        LogString(IDS_NOTHING_SALVAGED, pNode->strName);
        return TRUE;
    }
    if (IsOutputTaken(strPath)) {
        LogString(IDS_FILE_EXISTS, strPath);
        return FALSE;
    }
    ShowStatus(IDS_SAVING, pNode->strName);
    // A save that has begun is finished: the writers do not look at the stop flag.
    *pbSaved = m_bHasWord && SaveViaWord(*pText, strPath);
    if (!*pbSaved)
        *pbSaved = SaveAsText(*pText, strPath);
    LogString(*pbSaved ? IDS_SAVE_DONE : IDS_SAVE_FAILED, pNode->strName, strPath);
    return TRUE;
}

// ---- the writers and the log ----

BOOL CStep3Dlg::SaveViaWord(const CString& strText, const CString& strPath)
{
    return SaveTextViaWord(strText, strPath);
}

BOOL CStep3Dlg::SaveAsText(const CString& strText, CString& strPath)
{
    strPath = TextFileName(strPath);
    CString strError;
    if (WriteTextFile(strText, strPath, &strError))
        return TRUE;
    if (!strError.IsEmpty())
        AppendLog(strError);
    return FALSE;
}

// The run's first line is the log's first: StartRepair empties the log as it resets the count.
void CStep3Dlg::AppendLog(const CString& strMessage)
{
    if (m_editLog.GetSafeHwnd() == NULL)
        return;
    // The number is taken once its line is queued: a line that could not be made (out of memory)
    // leaves its number to the next one, and the log skips none.
    const int nLine = m_nLogLine + 1;
    const CString strLine = FormatLogLine(nLine, nLine == 1, strMessage);
    {
        std::lock_guard<std::mutex> lock(m_pendingLock);
        m_strPendingLines += strLine;
    }
    m_nLogLine = nLine;
    AskForUpdate();
}

void CStep3Dlg::LogString(UINT nID, const CString& strArg)
{
    CString strMessage;
    strMessage.Format(LoadStr(nID), strArg);
    AppendLog(strMessage);
}

void CStep3Dlg::LogString(UINT nID, const CString& strArg1, const CString& strArg2)
{
    CString strMessage;
    strMessage.Format(LoadStr(nID), strArg1, strArg2);
    AppendLog(strMessage);
}

// The status is only a sign of progress: out of memory for it costs the status alone, never the
// document whose work it names.
void CStep3Dlg::ShowStatus(UINT nID, const CString& strName)
{
    RunContained([&] {
        CString strStatus;
        strStatus.Format(LoadStr(nID), strName);
        std::lock_guard<std::mutex> lock(m_pendingLock);
        m_strPendingStatus = std::move(strStatus);
        m_bStatusPending = TRUE;
    });
    AskForUpdate();
}

// Timers and the log belong to the window's thread: the repair thread's request is carried there.
void CStep3Dlg::AskForUpdate()
{
    {
        std::lock_guard<std::mutex> lock(m_pendingLock);
        if (m_bUpdateAsked)
            return;
        m_bUpdateAsked = TRUE;
    }
    if (IsWindowOfCallingThread(m_hWnd)) {
        OnUpdateAsked();
        return;
    }
    BOOL bPosted = FALSE;
    RunContained([this, &bPosted] { bPosted = PostToWindowThread(m_hWnd, [this] { OnUpdateAsked(); }); });
    if (!bPosted) {
        // The window is gone, its queue is full or the call found no memory: let the next line
        // or status ask again (the end of the run shows whatever is still pending).
        std::lock_guard<std::mutex> lock(m_pendingLock);
        m_bUpdateAsked = FALSE;
    }
}

// The first update after a quiet spell is shown at once; later ones wait for the timer.
void CStep3Dlg::OnUpdateAsked()
{
    if (m_nUpdateTimer != 0)
        return;  // its next tick shows what is pending
    ShowPendingUpdates();
    // No timer to be had leaves every update shown at once, one by one.
    m_nUpdateTimer = SetTimer(kUpdateTimerId, kUpdateMs);
}

void CStep3Dlg::StopUpdateTimer()
{
    KillTimer(kUpdateTimerId);  // FALSE when none runs: nothing to stop
    m_nUpdateTimer = 0;
}

BOOL CStep3Dlg::ShowPendingUpdates()
{
    CString strLines;
    CString strStatus;
    BOOL bStatus;
    {
        // Moved out, not copied: nothing under the lock can fail, and no line leaves the queue
        // without reaching the log.
        std::lock_guard<std::mutex> lock(m_pendingLock);
        strLines = std::move(m_strPendingLines);
        strStatus = std::move(m_strPendingStatus);
        bStatus = m_bStatusPending;
        m_bStatusPending = FALSE;
        m_bUpdateAsked = FALSE;
    }
    if (!strLines.IsEmpty())
        AddToLog(strLines);
    if (bStatus)
        m_progress.SetText(strStatus);
    return !strLines.IsEmpty() || bStatus;
}

// Appends at the end of the log instead of rewriting its whole text: the same text, at a cost
// that does not grow with the log.
void CStep3Dlg::AddToLog(const CString& strLines)
{
    const HWND hLog = m_editLog.GetSafeHwnd();
    if (hLog == NULL)
        return;
    const int nLength = ::GetWindowTextLength(hLog);
    ::SendMessage(hLog, EM_SETSEL, nLength, nLength);
    ::SendMessage(hLog, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(strLines.GetString()));
    ::SendMessage(hLog, WM_VSCROLL, SB_BOTTOM, 0);  // shows the last line
}

// ---- handlers ----

void CStep3Dlg::OnStop()
{
    m_bStop = TRUE;
    EnableDlgItem(m_hWnd, IDC_STOP, FALSE);
}

// Destroying the page during a run (the wizard closed) stops the run and waits for its thread,
// which skips the end-of-run work on the page.
void CStep3Dlg::OnDestroy()
{
    m_bPageClosing = TRUE;
    StopAndWait();
    ShowPendingUpdates();  // the run's last lines still reach the log: child windows go after this
    StopUpdateTimer();
    CDialog::OnDestroy();
}

// A tick with nothing to show ends the timer: the next update is shown at once.
void CStep3Dlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kUpdateTimerId) {
        Default();
        return;
    }
    if (!ShowPendingUpdates())
        StopUpdateTimer();
}

BOOL CStep3Dlg::OnEraseBkgnd(CDC* pDC) { return PageEraseBkgnd(this, pDC); }

HBRUSH CStep3Dlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    static CBrush s_brLog;
    static CBrush s_brHollow;
    const int nID = pWnd != NULL ? pWnd->GetDlgCtrlID() : 0;
    if (nID == IDC_LOG) {
        if (s_brLog.GetSafeHandle() == NULL)
            s_brLog.CreateSolidBrush(kLogBack);  // on failure the default brush is returned below
        pDC->SetBkColor(kLogBack);
        pDC->SetTextColor(kLogText);
        return s_brLog;
    }
    if (nID == IDC_STATIC) {
        if (s_brHollow.GetSafeHandle() == NULL) {
            LOGBRUSH lb = {BS_HOLLOW, 0, 0};
            s_brHollow.CreateBrushIndirect(&lb);
        }
        pDC->SetBkMode(TRANSPARENT);  // the page's background shows through the instruction
        return s_brHollow;
    }
    return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}

void CStep3Dlg::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    if (m_editLog.GetSafeHwnd() == NULL)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    if (cx == 0)
        cx = rcClient.Width();
    if (cy == 0)
        cy = rcClient.Height();
    CWnd* pStop = GetDlgItem(IDC_STOP);
    if (pStop == NULL)
        return;
    CRect rcStop;
    pStop->GetWindowRect(&rcStop);
    ScreenToClient(&rcStop);
    const int nTop = rcStop.bottom + kLogMargin;
    m_editLog.MoveWindow(kLogMargin, nTop, cx - 2 * kLogMargin, cy - kLogMargin - nTop, TRUE);
}
