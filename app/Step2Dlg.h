// Page 2 of the wizard (template 134): lists the documents of the chosen source into a tree on
// the listing thread, previews the selected document's salvaged text on the preview thread (with
// Stop preview), and holds the choice of where step 3 saves. The page owns the source tree.
#pragma once
#include <atomic>

#include "app/WorkerThread.h"
#include "classlib/CDialog.h"
#include "classlib/CImageList.h"
#include "classlib/CString.h"
#include "classlib/CTreeCtrl.h"
#include "controls/CButtonEx.h"
#include "controls/CSplitterWndX.h"
#include "controls/CTextWnd.h"
#include "engine/SalvageFile.h"
#include "engine/StopFlag.h"
#include "engine/tagNode.h"

UINT ListingThread(LPVOID pParam);
UINT PreviewThread(LPVOID pParam);

class CStep2Dlg : public CDialog {
    DECLARE_DYNAMIC(CStep2Dlg)
public:
    explicit CStep2Dlg(CWnd* pParent = NULL);
    ~CStep2Dlg() override;

    // Clears the tree and the view, makes a new root and starts the listing thread over
    // m_strSource in m_nMode; does nothing while a listing runs.
    void StartListing();
    // Tells the listing and a running preview to end, and that no new preview is to start,
    // without waiting for them. For the wizard's end.
    void AskToStop();
    // AskToStop, then waits (pumping messages) for the listing and preview threads.
    void StopAndWait();
    void FillTree();
    void InsertTreeNode(tagNode* pNode, HTREEITEM hParent);

    CString m_strSource;
    int m_nMode;                        // 0 folder and subfolders, 1 folder alone, 2 one document
    std::atomic<BOOL> m_bListing;
    CButtonEx m_btn[10];
    tagNode* m_pRoot;                   // owned
    CTextWnd m_wndText;
    CTreeCtrl m_tree;
    std::atomic<BOOL> m_bPreviewing;
    CSplitterWndX m_wndSplitter;
    StopFlag m_bStopPreview;
    CImageList m_imageList;
    int m_nSaveMode;                    // radio group 1028: 0 a new folder, 1 beside the sources

    CWorkerThread m_listingThread;
    CWorkerThread m_previewThread;
    SalvageProc m_pfnSalvage;           // SalvageFile; tests hold a preview in it or make it fail
    std::atomic<BOOL> m_bClearingTree;  // the tree's items are being deleted: no preview starts
    std::atomic<BOOL> m_bClosing;       // the wizard is ending: no preview starts or runs on

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnStopPreview();
    void OnTreeSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    BOOL OnEraseBkgnd(CDC* pDC);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnSize(UINT nType, int cx, int cy);
    void OnSplitterMoved();
    DECLARE_MESSAGE_MAP()

private:
    friend UINT ListingThread(LPVOID pParam);
    friend UINT PreviewThread(LPVOID pParam);
    void DeleteAllTreeItems();
    void CreateImageList();
    void ReplacePlaceholders();
    tagNode* SelectedDocument() const;
    // The listing thread's work; ListingThread runs it contained.
    static UINT ListSource(LPVOID pParam);
    void EndFailedListing();
    void ForgetPartialTree();
    void ReportNoDocument();
    void ShowPreview(tagNode* pNode);
};
