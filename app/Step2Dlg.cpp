#include "app/Step2Dlg.h"

#include <memory>

#include "app/LayoutSize.h"
#include "app/PageBackground.h"
#include "app/QuillmendDlg.h"
#include "classlib/CDataExchange.h"
#include "classlib/CWinApp.h"
#include "classlib/WindowThreadCall.h"
#include "engine/SalvageFile.h"
#include "repair/PathHelpers.h"
#include "repair/ScanFolder.h"
#include "resources/LoadStr.h"
#include "resources/resource.h"

namespace {
// The tree's four images, in image-list order.
const int kImageFolder = 0;
const int kImageFolderOpen = 1;
const int kImageDocument = 2;
const int kImageDocumentSelected = 3;
const int kImageSize = 16;
const int kImageListGrowth = 4;

const int kSplitterWidth = 5;      // the bar as created over its placeholder
const int kSplitterLayoutWidth = 6;  // the bar as the layout places it
const int kMinTreeWidth = 200;
const int kMinViewWidth = 300;
const int kMargin = 10;
const int kLabelInset = 15;        // the count label sits this far inside the button's height

// The main dialog, reached from any thread through the application.
CQuillmendDlg* MainDialog()
{
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr ? dynamic_cast<CQuillmendDlg*>(pApp->m_pMainWnd) : nullptr;
}

CRect WindowRectInParent(CWnd* pParent, int nId)
{
    CRect rc;
    CWnd* pChild = pParent->GetDlgItem(nId);
    if (pChild == nullptr)
        return rc;
    pChild->GetWindowRect(&rc);
    pParent->ScreenToClient(&rc);
    return rc;
}
}  // namespace

IMPLEMENT_DYNAMIC(CStep2Dlg, CDialog)

BEGIN_MESSAGE_MAP(CStep2Dlg, CDialog)
    ON_BN_CLICKED(IDC_STOP_PREVIEW, &CStep2Dlg::OnStopPreview)
    ON_NOTIFY(TVN_SELCHANGED, IDC_SOURCE_TREE, &CStep2Dlg::OnTreeSelChanged)
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
    ON_WM_SIZE()
    ON_CONTROL(0, kSplitterMovedCommand, &CStep2Dlg::OnSplitterMoved)
END_MESSAGE_MAP()

CStep2Dlg::CStep2Dlg(CWnd* pParent)
    : CDialog(IDD_STEP2, pParent), m_nMode(0), m_bListing(FALSE), m_pRoot(nullptr), m_bPreviewing(FALSE),
      m_bStopPreview(FALSE), m_nSaveMode(0), m_pfnSalvage(&SalvageFile), m_bClearingTree(FALSE),
      m_bClosing(FALSE)
{
}

CStep2Dlg::~CStep2Dlg()
{
    // The workers read the tree and the page: they end before either goes.
    m_bClosing = TRUE;
    m_bStopPreview = TRUE;
    m_previewThread.Join();
    m_listingThread.Join();
    delete m_pRoot;
}

void CStep2Dlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SOURCE_TREE, m_tree);
    DDX_Radio(pDX, IDC_SAVE_NEW_FOLDER, m_nSaveMode);
}

BOOL CStep2Dlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CreateImageList();
    m_btn[0].SubclassDlgItem(IDC_STOP_PREVIEW, this);
    ReplacePlaceholders();
    PostMessage(WM_SIZE, 0, 0);
    return TRUE;
}

void CStep2Dlg::CreateImageList()
{
    if (!m_imageList.Create(kImageSize, kImageSize, ILC_COLOR24 | ILC_MASK, 4, kImageListGrowth))
        return;  // the tree then shows names without pictures
    CWinApp* pApp = AfxGetApp();
    const UINT icons[] = {IDI_FOLDER_CLOSED, IDI_FOLDER_OPEN, IDI_DOCUMENT, IDI_DOCUMENT};
    for (UINT id : icons)
        m_imageList.Add(pApp->LoadIcon(id));
    m_tree.SetImageList(&m_imageList, TVSIL_NORMAL);
}

// The template holds an edit and a button where the text view and the splitter bar go.
void CStep2Dlg::ReplacePlaceholders()
{
    CRect rcView = WindowRectInParent(this, IDC_PREVIEW);
    if (CWnd* pEdit = GetDlgItem(IDC_PREVIEW))
        pEdit->DestroyWindow();
    m_wndText.Create(this, rcView, IDC_PREVIEW, WS_CHILD | WS_VISIBLE);
    m_wndText.SetFont(CFont::FromHandle(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT))), TRUE);

    CRect rcBar = WindowRectInParent(this, IDC_SPLITTER_BAR);
    if (CWnd* pButton = GetDlgItem(IDC_SPLITTER_BAR))
        pButton->DestroyWindow();
    rcBar.right = rcBar.left + kSplitterWidth;
    m_wndSplitter.Create(WS_CHILD | WS_VISIBLE, rcBar, IDC_SPLITTER_BAR, this);
    m_wndSplitter.AddLeftControl(IDC_SOURCE_TREE);
    m_wndSplitter.AddRightControl(IDC_PREVIEW);
    m_wndSplitter.SetMinPaneWidths(kMinTreeWidth, kMinViewWidth);
}

void CStep2Dlg::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    if (m_tree.GetSafeHwnd() == NULL)
        return;
    ReplaceZeroSize(this, cx, cy);
    CRect rcTree, rcStop;
    m_tree.GetWindowRect(&rcTree);
    CWnd* pStop = GetDlgItem(IDC_STOP_PREVIEW);
    if (pStop == nullptr)
        return;
    pStop->GetWindowRect(&rcStop);
    const int wT = rcTree.Width();
    const int wB = rcStop.Width();
    const int hB = rcStop.Height();
    const int y0 = WindowRectInParent(this, IDC_SAVE_BESIDE).bottom + kMargin;

    m_tree.MoveWindow(kMargin, y0, wT, cy - kMargin - y0);
    if (m_wndSplitter.GetSafeHwnd() != NULL)
        m_wndSplitter.MoveWindow(wT + 11, y0, kSplitterLayoutWidth, cy - kMargin - y0);
    pStop->MoveWindow(wT + 18, y0, wB, hB);
    if (CWnd* pLabel = GetDlgItem(IDC_FILE_COUNT)) {
        const int left = wT + wB + 23;
        pLabel->MoveWindow(left, y0 + kLabelInset, cx - kMargin - left, hB - 2 * kLabelInset);
    }
    if (m_wndText.GetSafeHwnd() != NULL) {
        const int top = y0 + hB + 5;
        m_wndText.MoveWindow(wT + 18, top, cx - kMargin - (wT + 18), cy - kMargin - top);
    }
}

void CStep2Dlg::OnSplitterMoved() { OnSize(0, 0, 0); }

BOOL CStep2Dlg::OnEraseBkgnd(CDC* pDC) { return PageEraseBkgnd(this, pDC); }

HBRUSH CStep2Dlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    static CBrush s_brushHollow;
    const int nId = pWnd != nullptr ? pWnd->GetDlgCtrlID() : 0;
    if (nId != IDC_SAVE_NEW_FOLDER && nId != IDC_SAVE_BESIDE && nId != IDC_FILE_COUNT && nId != -1)
        return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    pDC->SetBkMode(TRANSPARENT);
    return HollowBrushOf(s_brushHollow);
}

// Deleting items moves the selection, and every move is a TVN_SELCHANGED: none of them may start
// a preview of a node that is about to be freed.
void CStep2Dlg::DeleteAllTreeItems()
{
    m_bClearingTree = TRUE;
    m_tree.DeleteAllItems();
    m_bClearingTree = FALSE;
}

void CStep2Dlg::StartListing()
{
    if (m_bListing)
        return;
    DeleteAllTreeItems();
    m_wndText.SetText(L"", TRUE);
    // The previous listing clears m_bListing before its last look at the tree: it ends first.
    m_listingThread.Join();
    delete m_pRoot;
    m_pRoot = new tagNode;
    m_strSource.TrimRight(L'\\');
    m_bListing = TRUE;
    // Off before the thread exists, not when it gets going: a click in between would start a
    // repair over the tree that the listing is still building.
    EnableWizardButtons(FALSE);
    if (!m_listingThread.Start(&ListingThread, this, THREAD_PRIORITY_BELOW_NORMAL)) {
        m_bListing = FALSE;  // nothing listed: the wizard stays usable
        EnableWizardButtons(TRUE);
    }
}

void CStep2Dlg::AskToStop()
{
    m_bClosing = TRUE;
    m_bStopPreview = TRUE;
}

void CStep2Dlg::StopAndWait()
{
    AskToStop();
    m_listingThread.Join();
    m_bStopPreview = TRUE;  // a preview that the listing's tree fill started
    m_previewThread.Join();
}

UINT ListingThread(LPVOID pParam)
{
    // Out of memory while the tree is built or shown: the listing ends, and the wizard is usable.
    if (!RunContained([pParam] { CStep2Dlg::ListSource(pParam); }))
        static_cast<CStep2Dlg*>(pParam)->EndFailedListing();
    return 0;
}

UINT CStep2Dlg::ListSource(LPVOID pParam)
{
    CStep2Dlg* pPage = static_cast<CStep2Dlg*>(pParam);
    int nCount = 0;
    CString strLabel;

    tagNode* pRoot = pPage->m_pRoot;
    switch (pPage->m_nMode) {
    case 0:
    case 1:
        pRoot->strName = GetLastPathComponent(pPage->m_strSource);
        pRoot->bDir = TRUE;
        pRoot->strPath = pPage->m_strSource;
        ScanFolder(pRoot, pPage->m_strSource, pPage->m_nMode == 0, &nCount, &pPage->m_wndText, &pPage->m_bClosing);
        break;
    case 2:
        pRoot->strName = GetLastPathComponent(pPage->m_strSource);
        pRoot->strPath = pPage->m_strSource;
        nCount = 1;
        break;
    default:
        break;
    }
    // The wizard is ending and waits for this thread: nothing more to show.
    if (StopAsked(&pPage->m_bClosing)) {
        pPage->m_bListing = FALSE;
        return 0;
    }
    pRoot->PruneEmptyDirs();
    pRoot->SortChildren();
    pPage->FillTree();
    pPage->m_bListing = FALSE;

    strLabel.Format(LoadStr(IDS_FILE_COUNT), nCount);
    pPage->m_wndText.SetHint(CString());
    pPage->m_wndText.StartRefreshTimer();
    pPage->SetDlgItemText(IDC_FILE_COUNT, strLabel);
    pPage->Invalidate(TRUE);
    // A preview started by the tree fill enables the buttons itself when it ends.
    if (!pPage->m_bPreviewing)
        EnableWizardButtons(TRUE);

    if (!pRoot->HasFile())
        pPage->ReportNoDocument();
    return 0;
}

// Message 141, then back to step 1, on the window's thread after this listing has ended. There
// the look at the closing flag cannot come before a confirmed exit sets it: a box opened after
// the exit was confirmed would enable the wizard again while it ends.
void CStep2Dlg::ReportNoDocument()
{
    CQuillmendDlg* pMain = MainDialog();
    if (pMain == nullptr)
        return;
    // Not posted (the window is gone, or no memory for the call): the wizard is ending, or stays
    // on step 2, where Back leads to step 1.
    RunContained([this, pMain] {
        PostToWindowThread(pMain->GetSafeHwnd(), [this, pMain] {
            if (StopAsked(&m_bClosing))
                return;
            AfxMessageBox(IDS_NO_DOCUMENT, MB_OK);
            if (::IsWindow(pMain->GetSafeHwnd()))
                pMain->GoToStep(1);
        });
    });
}

// A listing that could not finish lists nothing: its part of the tree goes (unless a preview
// reads it), so that step 3 never repairs part of a source as if it were the whole, and the user
// is told and taken back to step 1, as when nothing was found. A failure after the tree was
// shown leaves the tree whole.
void CStep2Dlg::EndFailedListing()
{
    const BOOL bUnfinished = m_bListing;
    if (bUnfinished) {
        // On the window's thread: no selection can start a preview between the look at
        // m_bPreviewing and the freeing of the nodes.
        RunContained([this] { RunOnWindowThread(m_hWnd, [this] { ForgetPartialTree(); }); });
        m_wndText.SetHint(CString());
        m_wndText.StartRefreshTimer();
        RunContained([this] {
            CString strLabel;
            strLabel.Format(LoadStr(IDS_FILE_COUNT), 0);
            SetDlgItemText(IDC_FILE_COUNT, strLabel);
        });
        m_bListing = FALSE;
    }
    if (!m_bPreviewing)
        EnableWizardButtons(TRUE);
    // A failure after the tree was shown leaves the tree whole: its documents stay listed.
    if (bUnfinished || !m_pRoot->HasFile())
        ReportNoDocument();
}

void CStep2Dlg::ForgetPartialTree()
{
    if (m_bPreviewing)
        return;
    DeleteAllTreeItems();
    m_pRoot->DeleteChildren();
}

void CStep2Dlg::FillTree()
{
    m_wndText.SetText(L"", TRUE);
    m_tree.SetRedraw(FALSE);
    DeleteAllTreeItems();
    InsertTreeNode(m_pRoot, TVI_ROOT);
    m_tree.SetRedraw(TRUE);
    HTREEITEM hFirst = m_tree.GetRootItem();
    if (hFirst != NULL) {
        m_tree.Expand(hFirst, TVE_EXPAND);
        m_tree.Select(hFirst, TVGN_CARET);
    }
}

void CStep2Dlg::InsertTreeNode(tagNode* pNode, HTREEITEM hParent)
{
    // Each insert waits for the window's thread: the wizard's end does not wait for a big tree.
    if (StopAsked(&m_bClosing))
        return;
    const int nImage = pNode->bDir ? kImageFolder : kImageDocument;
    const int nSelected = pNode->bDir ? kImageFolderOpen : kImageDocumentSelected;
    HTREEITEM hItem = m_tree.InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, pNode->strName, nImage,
                                        nSelected, 0, 0, 0, hParent, TVI_LAST);
    if (hItem == NULL)
        return;  // out of tree memory: the branch is left out of the view, the nodes stay
    m_tree.SetItemData(hItem, reinterpret_cast<DWORD_PTR>(pNode));
    for (int i = 0; i < pNode->arChildren.GetSize(); ++i)
        InsertTreeNode(pNode->arChildren[i], hItem);
}

tagNode* CStep2Dlg::SelectedDocument() const
{
    HTREEITEM hItem = m_tree.GetSelectedItem();
    if (hItem == NULL)
        return nullptr;
    tagNode* pNode = reinterpret_cast<tagNode*>(m_tree.GetItemData(hItem));
    return pNode != nullptr && !pNode->bDir ? pNode : nullptr;
}

void CStep2Dlg::OnTreeSelChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    if (m_bClearingTree || m_bClosing)
        return;
    HTREEITEM hItem = m_tree.GetSelectedItem();
    if (hItem == NULL)
        return;
    tagNode* pNode = reinterpret_cast<tagNode*>(m_tree.GetItemData(hItem));
    if (pNode == nullptr || pNode->bDir) {
        m_wndText.SetText(L"", TRUE);
        return;
    }
    if (m_bPreviewing)
        return;
    m_bPreviewing = TRUE;
    EnableWizardButtons(FALSE);  // before the thread exists, as for a listing
    if (!m_previewThread.Start(&PreviewThread, this, THREAD_PRIORITY_BELOW_NORMAL)) {
        m_bPreviewing = FALSE;
        if (!m_bListing)  // a listing that runs enables them at its end
            EnableWizardButtons(TRUE);
    }
}

UINT PreviewThread(LPVOID pParam)
{
    CStep2Dlg* pPage = static_cast<CStep2Dlg*>(pParam);
    tagNode* pNode = pPage->SelectedDocument();
    pPage->m_wndText.SetText(L"", TRUE);
    pPage->m_bStopPreview = pPage->m_bClosing.load();
    if (pNode != nullptr) {
        pPage->GetDlgItem(IDC_STOP_PREVIEW)->EnableWindow(TRUE);
        pPage->m_tree.EnableWindow(FALSE);
        // Out of memory in the salvage: the view stays empty, as after a stop.
        RunContained([pPage, pNode] { pPage->ShowPreview(pNode); });
    }
    pPage->m_bPreviewing = FALSE;
    if (::IsWindow(pPage->GetSafeHwnd())) {
        // The listing that started this preview enables them itself if it is still running.
        if (!pPage->m_bListing)
            EnableWizardButtons(TRUE);
        pPage->GetDlgItem(IDC_STOP_PREVIEW)->EnableWindow(FALSE);
        pPage->m_tree.EnableWindow(TRUE);
    }
    return 0;
}

void CStep2Dlg::ShowPreview(tagNode* pNode)
{
    std::unique_ptr<CString> pText(m_pfnSalvage(pNode, &m_bStopPreview));
    if (!StopAsked(&m_bStopPreview))
        m_wndText.SetText(*pText, TRUE);
}

void CStep2Dlg::OnStopPreview()
{
    m_bStopPreview = TRUE;
    if (CWnd* pStop = GetDlgItem(IDC_STOP_PREVIEW))
        pStop->EnableWindow(FALSE);
}
