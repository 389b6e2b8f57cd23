#pragma once
// Dialog data exchange: DoDataExchange runs the DDX_* calls in both directions; UpdateData(TRUE)
// reads the controls into the members, UpdateData(FALSE) writes the members into the controls.
#include "classlib/CWnd.h"

// Thrown by CDataExchange::Fail and caught by CWnd::UpdateData; never leaves UpdateData.
struct CDataExchangeFailure {};

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);
    BOOL m_bSaveAndValidate;  // TRUE: controls -> members
    CWnd* m_pDlgWnd;
    // The control's window; a missing control is a programming error reported through Fail.
    HWND PrepareCtrl(int nIDC);
    // Ends the exchange: UpdateData answers FALSE.
    [[noreturn]] void Fail();
};

// Binds rControl to the dialog's control nIDC by subclassing it (once).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// A group of radio buttons that starts at nIDC (which has WS_GROUP) and runs to the next
// control with WS_GROUP. value is the index of the checked radio button among the group's radio
// buttons (-1 none); other controls inside the group, such as a push button, are skipped and
// not counted.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
