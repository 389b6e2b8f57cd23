// The About box (template 100): the application icon, the product, its maker and a support
// contact; OK closes it.
#pragma once
#include "classlib/CDialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    ~CAboutDlg() override;

protected:
    DECLARE_MESSAGE_MAP()
};
