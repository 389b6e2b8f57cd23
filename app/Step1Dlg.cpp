#include "app/Step1Dlg.h"

#include "app/PageBackground.h"
#include "classlib/CDataExchange.h"
#include "resources/resource.h"

namespace {
const COLORREF kContactColour = RGB(50, 50, 80);
// The links' targets. When the shell cannot open one, the link runs the registered browser on
// a command line in the ANSI code page (WinExec), where a character outside that code page is
// lost and a blank splits the target: keep them plain ASCII without blanks.
const wchar_t kWebTarget[] = L"https://quillmend.example/";
const wchar_t kMailTarget[] = L"mailto:support@quillmend.example";

// The page's underlined link font, made once and kept until the process ends.
CFont& LinkUnderlineFont()
{
    static CFont s_fontLinkUnderline;
    return s_fontLinkUnderline;
}
}  // namespace

IMPLEMENT_DYNAMIC(CStep1Dlg, CDialog)

BEGIN_MESSAGE_MAP(CStep1Dlg, CDialog)
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CStep1Dlg::CStep1Dlg(CWnd* pParent) : CDialog(IDD_STEP1, pParent), m_nMode(0) {}

CStep1Dlg::~CStep1Dlg() {}

void CStep1Dlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_MODE_TREE, m_nMode);
}

BOOL CStep1Dlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_link1.SubclassDlgItem(IDC_LINK_WEB, this);
    m_link1.SetUrl(kWebTarget);
    m_link2.SubclassDlgItem(IDC_LINK_MAIL, this);
    m_link2.SetUrl(kMailTarget);

    CFont& font = LinkUnderlineFont();
    if (font.GetSafeHandle() == NULL) {
        HFONT hPageFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
        LOGFONTW lf = {};
        if (hPageFont != NULL && ::GetObjectW(hPageFont, sizeof(lf), &lf) != 0) {
            lf.lfUnderline = TRUE;
            font.CreateFontIndirect(&lf);  // without it the links keep the plain font
        }
    }
    if (font.GetSafeHandle() != NULL) {
        SendDlgItemMessage(IDC_LINK_WEB, WM_SETFONT, reinterpret_cast<WPARAM>(font.GetSafeHandle()), TRUE);
        SendDlgItemMessage(IDC_LINK_MAIL, WM_SETFONT, reinterpret_cast<WPARAM>(font.GetSafeHandle()), TRUE);
    }
    return TRUE;
}

BOOL CStep1Dlg::OnEraseBkgnd(CDC* pDC) { return PageEraseBkgnd(this, pDC); }

HBRUSH CStep1Dlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    const int nId = pWnd != nullptr ? pWnd->GetDlgCtrlID() : 0;
    const bool bContact = nId >= IDC_DESCRIPTION && nId <= IDC_CONTACT_MESSAGING;
    const bool bRadio = nId >= IDC_MODE_TREE && nId <= IDC_MODE_FILE;
    if (nId != -1 && !bContact && !bRadio)
        return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    static CBrush s_brushHollow;
    pDC->SetBkMode(TRANSPARENT);
    if (bContact)
        pDC->SetTextColor(kContactColour);
    return HollowBrushOf(s_brushHollow);
}
