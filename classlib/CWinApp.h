#pragma once
// The application: the one global object of a class derived from CWinApp. Its constructor
// records it; the library's program entry (wWinMain, linked with -municode) finds it, sets the
// instance and resource handles, and runs InitApplication, InitInstance and then either Run
// (InitInstance TRUE) or ExitInstance (InitInstance FALSE: the program ends). The entry's
// return value is Run's or ExitInstance's result.
#include "classlib/WinTypes.h"
#include "classlib/CWinThread.h"
#include "classlib/CString.h"
#include "classlib/AfxMessageBox.h"  // AfxMessageBox: caption = m_pszAppName, owner = the main window
#include "classlib/AppHandles.h"     // AfxGetInstanceHandle, AfxGetResourceHandle

// The command id of Help (F1), as the class library numbers it.
#define ID_HELP 0xE146

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    // pszAppName NULL: the title is the program file's base name (no folder, no extension).
    explicit CWinApp(LPCTSTR lpszAppName = NULL);
    ~CWinApp() override;

    LPCTSTR m_pszAppName;  // the application's title: caption of AfxMessageBox
    LPCTSTR m_pszExeName;  // the program file's base name
    HINSTANCE m_hInstance;
    LPTSTR m_lpCmdLine;
    int m_nCmdShow;

    virtual BOOL InitApplication();
    BOOL InitInstance() override;
    int ExitInstance() override;
    int Run() override;

    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadIcon(LPCTSTR lpszResourceName) const;

    // ID_HELP: the program ships no help file, so this does nothing.
    void OnHelp();

    DECLARE_MESSAGE_MAP()

private:
    CString m_strAppName;
    CString m_strExeName;
};

CWinApp* AfxGetApp();
// Sets the module handles, command line and show command of the application and initialises
// the common controls. The program entry calls it; tests that use windows without the entry
// may call it with GetModuleHandle(NULL).
BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
// The program entry's body.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
// Dialogs may host ActiveX controls: none of ours does, so there is nothing to prepare.
void AfxEnableControlContainer();
// Loads the rich-edit library (RICHED32.DLL) once; FALSE when it cannot be loaded.
BOOL AfxInitRichEdit();
