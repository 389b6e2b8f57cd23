#include "app/QuillmendApp.h"

#include "app/FolderPicker.h"
#include "app/QuillmendDlg.h"

// Start-up order: the application object first, then the picker's title font, both before the
// salvage engine's noise counter and every other object of the libraries, whatever the link
// order; exit releases them in reverse. (Priorities below 101 are the runtime's own.)
CQuillmendApp theApp __attribute__((init_priority(101)));
CFont g_fontBrowseTitle __attribute__((init_priority(102)));

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
    // A wizard that never opened left the pointer set, and the library's end looks at it.
    m_pMainWnd = nullptr;
    delete pDlg;
    return FALSE;
}
