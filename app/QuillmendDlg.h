// The main wizard (template 102): the three pages inside a frame, Back and Next above it, and the
// step machine from the choice of source (1) through the tree, preview and choice of output (2)
// to the repair (3) and back to the start. Its constructor builds the salvage engine's character
// tables; its destructor frees them.
#pragma once
#include "app/Step1Dlg.h"
#include "app/Step2Dlg.h"
#include "app/Step3Dlg.h"
#include "classlib/CBitmap.h"
#include "classlib/CDialog.h"
#include "controls/CButtonEx.h"

// The smallest size the wizard's window may take: its size when it opened (500 x 400 before).
extern SIZE g_sizeMinTrack;

class CQuillmendDlg : public CDialog {
public:
    explicit CQuillmendDlg(CWnd* pParent = NULL);
    ~CQuillmendDlg() override;

    // Shows step n (1..3) unless it is the current one. Any thread may call it.
    void GoToStep(int n);
    void ShowStep();
    // FALSE when a character list could not be read (the user has been told); the wizard must
    // not run then.
    BOOL TablesBuilt() const { return m_bTablesBuilt; }

    HICON m_hIcon;
    CButtonEx m_btn[20];
    CBitmap m_bmpBack;
    CStep1Dlg m_dlgStep1;
    CStep2Dlg m_dlgStep2;
    CStep3Dlg m_dlgStep3;
    int m_nStep;

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnNext();
    void OnBack();
    void OnEnter() {}  // Enter never closes the wizard
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnSize(UINT nType, int cx, int cy);
    BOOL OnEraseBkgnd(CDC* pDC);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    DECLARE_MESSAGE_MAP()

private:
    void AddAboutItem();
    void CreatePages();
    void NextFromSource();
    void NextFromTree();
    // Ends the workers before anything they use goes: a confirmed exit waits for them here.
    void StopWorkers();
    BOOL m_bTablesBuilt;
};
