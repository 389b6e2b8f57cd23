#include "app/QuillmendApp.h"

#include "app/FolderPicker.h"
#include "app/QuillmendDlg.h"

// Start-up order: the application object first, then the picker's title font (both here, so
// their order is this file's); exit releases them in reverse.
CQuillmendApp theApp;
CFont g_fontBrowseTitle;

BEGIN_MESSAGE_MAP(CQuillmendApp, CWinApp)
    ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CQuillmendApp::CQuillmendApp() : CWinApp(NULL) {}

CQuillmendApp::~CQuillmendApp() {}

BOOL CQuillmendApp::InitInstance()
{
    AfxEnableControlContainer();
    AfxInitRichEdit();  // nothing of the program needs it: a failure is ignored
    CQuillmendDlg* pDlg = new CQuillmendDlg(NULL);
    if (!pDlg->TablesBuilt()) {
        delete pDlg;  // the missing list has been reported; no wizard
        return FALSE;
    }
    m_pMainWnd = pDlg;
    pDlg->DoModal();  // however the wizard ends, the program ends
    delete pDlg;
    return FALSE;
}
