// Page 3 of the wizard (template 135): repairs every document of the tree on the repair thread,
// with the busy bar, the numbered log and Stop. Whether Word could be started when the page was
// created decides whether documents are saved through Word or as UTF-16LE text files.
//
// The repair thread does not touch the log or the busy bar's text itself: it queues its lines and
// its latest status (m_pendingLock), and the window's thread shows them: at once after a quiet
// spell, else on a short timer with all pending lines in one append, and at the end of the run
// before the page reads idle. Under Wine a visible edit control redraws on every change, which
// per line took several times the run's own work.
#pragma once
#include <atomic>
#include <mutex>

#include "app/WorkerThread.h"
#include "classlib/CDialog.h"
#include "classlib/CEdit.h"
#include "classlib/CString.h"
#include "controls/CButtonEx.h"
#include "controls/CProgressWnd.h"
#include "engine/SalvageFile.h"
#include "engine/StopFlag.h"
#include "engine/tagNode.h"

class CStep3Dlg : public CDialog {
    DECLARE_DYNAMIC(CStep3Dlg)
public:
    explicit CStep3Dlg(CWnd* pParent = NULL);
    ~CStep3Dlg() override;

    // Clears the log and starts the repair thread over m_pRoot into m_strOutDir, unless a run is
    // already in progress. The main dialog sets m_pRoot, m_strOutDir and m_bSaveInPlace first.
    void StartRepair();
    // Asks a running repair to stop, without waiting for it.
    void AskToStop() { m_bStop = TRUE; }
    // Asks a running repair to stop and waits for its thread to end, pumping messages meanwhile
    // (the thread sends to windows this thread owns). Returns at once when no run is in progress.
    void StopAndWait();

    // The walk of one run, on the repair thread.
    BOOL RepairAll(tagNode* pRoot, const StopFlag* pStop);
    BOOL RepairNode(tagNode* pNode, const CString& strDir, const StopFlag* pStop);
    // Queues one numbered line for the log; from the repair thread.
    void AppendLog(const CString& strMessage);
    BOOL SaveViaWord(const CString& strText, const CString& strPath);
    BOOL SaveAsText(const CString& strText, CString& strPath);

    CButtonEx m_btn[10];
    tagNode* m_pRoot;            // page 2's tree; never deleted here
    BOOL m_bSaveInPlace;
    std::atomic<BOOL> m_bBusy;   // set by StartRepair, cleared by the repair thread
    StopFlag m_bStop;            // set by Stop (and StopAndWait), read by the repair thread
    CString m_strOutDir;
    int m_nLogLine;
    BOOL m_bHasWord;
    CEdit m_editLog;
    CProgressWnd m_progress;
    SalvageProc m_pfnSalvage;    // SalvageFile; tests hold a run in it or make it fail
    CWorkerThread m_repairThread;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    BOOL OnEraseBkgnd(CDC* pDC);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnSize(UINT nType, int cx, int cy);
    void OnStop();
    void OnDestroy();
    void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()

private:
    // The repair thread's procedure; pParam is the page.
    static UINT RepairThread(LPVOID pParam);
    void RunRepairThread();
    void RunWalk(tagNode* pRoot);
    void EndRunOnPage(HWND hMainWnd);
    void ShowEndOfRun(HWND hMainWnd);
    void LogString(UINT nID, const CString& strArg);
    void LogString(UINT nID, const CString& strArg1, const CString& strArg2);
    void ShowStatus(UINT nID, const CString& strName);
    // Any thread: has the window's thread show what is pending, unless that is already asked.
    void AskForUpdate();
    void OnUpdateAsked();
    void StopUpdateTimer();
    // The window's thread: the pending lines go into the log, the latest status onto the bar.
    // FALSE when nothing was pending.
    BOOL ShowPendingUpdates();
    void AddToLog(const CString& strLines);
    BOOL RepairDocument(tagNode* pNode, const CString& strDir, const StopFlag* pStop);
    BOOL SalvageAndSave(tagNode* pNode, CString& strPath, const StopFlag* pStop, BOOL* pbSaved);
    BOOL RepairFolder(tagNode* pNode, const CString& strDir, const StopFlag* pStop);
    BOOL RepairChildren(tagNode* pNode, const CString& strDir, const StopFlag* pStop);

    std::atomic<BOOL> m_bPageClosing;     // the page's window is being destroyed

    std::mutex m_pendingLock;             // guards the four members below it, never held across a send
    CString m_strPendingLines;            // numbered lines not yet in the log, joined as the log joins them
    CString m_strPendingStatus;           // the latest status not yet on the busy bar
    BOOL m_bStatusPending;
    BOOL m_bUpdateAsked;                  // the window's thread has been asked to show what is pending
    UINT_PTR m_nUpdateTimer;              // window's thread only
};
