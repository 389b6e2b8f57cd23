// Stand-in of the step-3 page until the repair run lands: the page shows, and StartRepair ends at
// once as a run over nothing would.
#include "app/Step3Dlg.h"

#include "app/PageBackground.h"
#include "classlib/CDataExchange.h"
#include "resources/LoadStr.h"
#include "resources/resource.h"

IMPLEMENT_DYNAMIC(CStep3Dlg, CDialog)

BEGIN_MESSAGE_MAP(CStep3Dlg, CDialog)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CStep3Dlg::CStep3Dlg(CWnd* pParent)
    : CDialog(IDD_STEP3, pParent), m_pRoot(nullptr), m_bSaveInPlace(FALSE), m_bBusy(FALSE), m_bStop(FALSE),
      m_nLogLine(0), m_bHasWord(FALSE)
{
}

CStep3Dlg::~CStep3Dlg() {}

void CStep3Dlg::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }

BOOL CStep3Dlg::OnInitDialog() { return CDialog::OnInitDialog(); }

BOOL CStep3Dlg::OnEraseBkgnd(CDC* pDC) { return PageEraseBkgnd(this, pDC); }

void CStep3Dlg::StartRepair()
{
    CWnd* pMain = GetParent();
    pMain->SetDlgItemText(IDC_NEXT, LoadStr(IDS_RESTART));
    pMain->GetDlgItem(IDC_NEXT)->EnableWindow(TRUE);
}

void CStep3Dlg::StopAndWait() {}
