#include "app/QuillmendApp.h"

#include "engine/CharTables.h"

CQuillmendApp theApp;

BOOL CQuillmendApp::InitInstance()
{
    AfxEnableControlContainer();
    AfxInitRichEdit();
    // BuildCharTables shows the missing-file message itself; the tables are freed either way.
    BuildCharTables();
    FreeCharTables();
    // FALSE ends the program: there is no main window to run yet.
    return FALSE;
}
