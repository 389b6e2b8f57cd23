// Page 1 of the wizard (template 133): what to repair (a folder with its subfolders, a folder
// alone, or one document), the program's description and the publisher's contact lines.
#pragma once
#include "classlib/CDialog.h"
#include "controls/CHyperLink.h"

class CStep1Dlg : public CDialog {
    DECLARE_DYNAMIC(CStep1Dlg)
public:
    explicit CStep1Dlg(CWnd* pParent = NULL);
    ~CStep1Dlg() override;

    CHyperLink m_link1;
    CHyperLink m_link2;
    int m_nMode;  // radio group 1028: 0 folder and subfolders, 1 folder alone, 2 one document

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    BOOL OnEraseBkgnd(CDC* pDC);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()
};
