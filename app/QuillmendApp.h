#pragma once
#include "classlib/CWinApp.h"

// The application object: runs the wizard modally and ends when it closes. A missing character
// list is reported by the table build, and the wizard is then never shown.
class CQuillmendApp : public CWinApp {
public:
    CQuillmendApp();
    ~CQuillmendApp() override;
    BOOL InitInstance() override;

protected:
    DECLARE_MESSAGE_MAP()
};

extern CQuillmendApp theApp;
