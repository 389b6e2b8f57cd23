#include "app/QuillmendDlg.h"

#include "app/AboutDlg.h"
#include "app/FolderPicker.h"
#include "app/LayoutSize.h"
#include "app/PageBackground.h"
#include "classlib/CFileDialog.h"
#include "classlib/CMenu.h"
#include "classlib/CWinApp.h"
#include "engine/CharTables.h"
#include "resources/LoadStr.h"
#include "resources/resource.h"

SIZE g_sizeMinTrack = {500, 400};

namespace {
const int kPathChars = 1024;        // the picker's path buffer
const int kShowStepInset = 10;      // a page shown by Next or Back sits this far inside the frame
const int kFrameMargin = 10;        // the frame keeps this distance from the right and bottom
// A page laid out by a resize sits this far inside the frame's left, top, right, bottom edges.
const int kPageInsetLeft = 3, kPageInsetTop = 10, kPageInsetRight = 4, kPageInsetBottom = 4;
const wchar_t kDocumentFilter[] = L"Word File(*.doc)|*.doc||";
const int kBackButtonSlot = 1;
const int kNextButtonSlot = 2;
}  // namespace

BEGIN_MESSAGE_MAP(CQuillmendDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDOK, &CQuillmendDlg::OnEnter)
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
    ON_WM_GETMINMAXINFO()
    ON_BN_CLICKED(IDC_NEXT, &CQuillmendDlg::OnNext)
    ON_BN_CLICKED(IDC_BACK, &CQuillmendDlg::OnBack)
END_MESSAGE_MAP()

CQuillmendDlg::CQuillmendDlg(CWnd* pParent)
    : CDialog(IDD_QUILLMEND_DIALOG, pParent), m_hIcon(NULL), m_dlgStep1(nullptr), m_dlgStep2(nullptr),
      m_dlgStep3(nullptr), m_nStep(0), m_bTablesBuilt(FALSE)
{
    m_hIcon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
    m_bTablesBuilt = BuildCharTables();
}

CQuillmendDlg::~CQuillmendDlg()
{
    StopWorkers();  // in case the window went without the confirmed exit
    FreeCharTables();
}

BOOL CQuillmendDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    AddAboutItem();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    m_btn[kBackButtonSlot].SubclassDlgItem(IDC_BACK, this);
    m_btn[kNextButtonSlot].SubclassDlgItem(IDC_NEXT, this);
    CreatePages();
    m_nStep = 1;
    ShowStep();
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    g_sizeMinTrack.cx = rcWindow.Width();
    g_sizeMinTrack.cy = rcWindow.Height();
    g_dwUIThreadId = ::GetCurrentThreadId();
    HBITMAP hBitmap = ::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDB_BACKGROUND));
    if (hBitmap != NULL)
        m_bmpBack.Attach(hBitmap);  // without it the wizard and its pages paint a flat colour
    PostMessage(WM_SIZE, 0, 0);
    return TRUE;
}

void CQuillmendDlg::AddAboutItem()
{
    CMenu* pSysMenu = GetSystemMenu(FALSE);
    if (pSysMenu == nullptr)
        return;
    CString strAbout;
    strAbout.LoadString(IDS_ABOUTBOX);
    if (strAbout.IsEmpty())
        return;
    pSysMenu->AppendMenu(MF_SEPARATOR);
    pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAbout);
}

void CQuillmendDlg::CreatePages()
{
    m_dlgStep1.Create(IDD_STEP1, this);
    m_dlgStep1.ShowWindow(SW_HIDE);
    m_dlgStep2.Create(IDD_STEP2, this);
    m_dlgStep2.ShowWindow(SW_HIDE);
    m_dlgStep3.Create(IDD_STEP3, this);
    m_dlgStep3.ShowWindow(SW_HIDE);
}

void CQuillmendDlg::ShowStep()
{
    CDialog* pages[] = {&m_dlgStep1, &m_dlgStep2, &m_dlgStep3};
    for (CDialog* pPage : pages)
        pPage->ShowWindow(SW_HIDE);
    CRect rc;
    GetDlgItem(IDC_PAGE_FRAME)->GetWindowRect(&rc);
    ScreenToClient(&rc);
    rc.DeflateRect(kShowStepInset, kShowStepInset);
    for (CDialog* pPage : pages)
        pPage->MoveWindow(&rc, TRUE);
    SetDlgItemText(IDC_NEXT, LoadStr(IDS_NEXT));
    if (m_nStep >= 1 && m_nStep <= 3)
        pages[m_nStep - 1]->ShowWindow(SW_SHOW);
    const BOOL bBusy = m_dlgStep2.m_bListing || m_dlgStep2.m_bPreviewing || m_dlgStep3.m_bBusy;
    GetDlgItem(IDC_BACK)->EnableWindow(m_nStep > 1 && !bBusy);
}

void CQuillmendDlg::GoToStep(int n)
{
    if (n < 1 || n > 3 || n == m_nStep)
        return;
    m_nStep = n;
    ShowStep();
}

void CQuillmendDlg::OnBack()
{
    if (m_nStep <= 1)
        return;
    --m_nStep;
    ShowStep();
}

void CQuillmendDlg::OnNext()
{
    switch (m_nStep) {
    case 1:
        NextFromSource();
        break;
    case 2:
        NextFromTree();
        break;
    case 3:
        m_nStep = 1;
        ShowStep();
        break;
    default:
        break;
    }
}

void CQuillmendDlg::NextFromSource()
{
    m_dlgStep1.UpdateData(TRUE);
    CString strSource;
    const int nMode = m_dlgStep1.m_nMode;
    if (nMode == 0 || nMode == 1) {
        ::lstrcpynW(g_szBrowseTitle, LoadStr(IDS_PICK_SOURCE), kBrowseTitleChars);
        WCHAR szPath[kPathChars] = {};
        if (BrowseForFolder(szPath) != 1)
            return;
        strSource = szPath;
    } else if (nMode == 2) {
        CFileDialog dlg(TRUE, NULL, NULL, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kDocumentFilter);
        if (dlg.DoModal() != IDOK)
            return;
        strSource = dlg.GetPathName();
    }
    if (strSource.IsEmpty())
        return;
    m_dlgStep2.m_strSource = strSource;
    m_dlgStep2.m_nMode = nMode;
    m_dlgStep2.StartListing();
    m_nStep = 2;
    ShowStep();
}

void CQuillmendDlg::NextFromTree()
{
    m_dlgStep2.UpdateData(TRUE);
    tagNode* pRoot = m_dlgStep2.m_pRoot;
    if (pRoot == nullptr || !pRoot->HasFile())
        return;
    CString strOutDir = pRoot->strPath;
    if (m_dlgStep2.m_nSaveMode == 0) {
        WCHAR szPath[kPathChars] = {};
        ::lstrcpynW(g_szBrowseTitle, LoadStr(IDS_PICK_OUTPUT), kBrowseTitleChars);
        if (BrowseForFolder(szPath) != 1)
            return;
        strOutDir = szPath;
        if (strOutDir == pRoot->strPath) {
            AfxMessageBox(IDS_SAME_FOLDER, MB_OK);
            return;
        }
    }
    m_dlgStep3.m_pRoot = pRoot;
    m_dlgStep3.m_strOutDir = strOutDir;
    m_dlgStep3.m_bSaveInPlace = m_dlgStep2.m_nSaveMode;
    m_dlgStep3.StartRepair();
    m_nStep = 3;
    ShowStep();
}

void CQuillmendDlg::OnCancel()
{
    if (AfxMessageBox(IDS_CONFIRM_EXIT, MB_OKCANCEL | MB_ICONQUESTION) == IDCANCEL)
        return;
    // Input is off while the workers end; their messages to this window still get through.
    EnableWindow(FALSE);
    StopWorkers();
    EnableWindow(TRUE);
    CDialog::OnCancel();
}

void CQuillmendDlg::StopWorkers()
{
    // Both are told first: waiting for one pumps messages, and a run would go on meanwhile.
    m_dlgStep2.AskToStop();
    m_dlgStep3.AskToStop();
    m_dlgStep2.StopAndWait();
    m_dlgStep3.StopAndWait();
}

void CQuillmendDlg::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    if (m_dlgStep1.GetSafeHwnd() == NULL)
        return;
    ReplaceZeroSize(this, cx, cy);
    CWnd* pFrame = GetDlgItem(IDC_PAGE_FRAME);
    CRect rcFrame;
    pFrame->GetWindowRect(&rcFrame);
    ScreenToClient(&rcFrame);
    rcFrame.right = cx - kFrameMargin;
    rcFrame.bottom = cy - kFrameMargin;
    pFrame->MoveWindow(&rcFrame, TRUE);
    CRect rcPage(rcFrame.left + kPageInsetLeft, rcFrame.top + kPageInsetTop, rcFrame.right - kPageInsetRight,
                 rcFrame.bottom - kPageInsetBottom);
    m_dlgStep1.MoveWindow(&rcPage, TRUE);
    m_dlgStep2.MoveWindow(&rcPage, TRUE);
    m_dlgStep3.MoveWindow(&rcPage, TRUE);
    Invalidate(TRUE);
}

void CQuillmendDlg::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    lpMMI->ptMinTrackSize.x = g_sizeMinTrack.cx;
    lpMMI->ptMinTrackSize.y = g_sizeMinTrack.cy;
    CDialog::OnGetMinMaxInfo(lpMMI);
}

BOOL CQuillmendDlg::OnEraseBkgnd(CDC* pDC)
{
    CRect rc;
    GetClientRect(&rc);
    return PaintBackground(pDC, rc, &m_bmpBack);
}

HBRUSH CQuillmendDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    static CBrush s_brushHollow;
    HBRUSH hHollow = HollowBrushOf(s_brushHollow);
    if (pWnd == nullptr || pWnd->GetDlgCtrlID() != -1)
        return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    pDC->SetBkMode(TRANSPARENT);
    return hHollow;
}

void CQuillmendDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
        return;
    }
    CDialog::OnSysCommand(nID, lParam);
}

void CQuillmendDlg::OnPaint()
{
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const int cxIcon = ::GetSystemMetrics(SM_CXICON);
    const int cyIcon = ::GetSystemMetrics(SM_CYICON);
    CRect rc;
    GetClientRect(&rc);
    dc.DrawIcon((rc.Width() - cxIcon + 1) / 2, (rc.Height() - cyIcon + 1) / 2, m_hIcon);
}

HCURSOR CQuillmendDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }
