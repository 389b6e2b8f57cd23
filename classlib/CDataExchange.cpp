#include "classlib/CDataExchange.h"

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hWndCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    if (hWndCtrl == NULL) {
        CString text;
        text.Format(L"dialog data exchange: no control %d in the dialog\n", nIDC);
        ::OutputDebugStringW(text);
        Fail();
    }
    return hWndCtrl;
}

void CDataExchange::Fail() { throw CDataExchangeFailure(); }

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd != NULL)
        return;  // bound by an earlier exchange
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(hWndCtrl))
        pDX->Fail();
}

static bool IsRadioButton(HWND hWnd)
{
    return (::SendMessageW(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0;
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    int nRadio = 0;
    // The group runs from nIDC up to (not including) the next control that starts a group.
    do {
        if (IsRadioButton(hWnd)) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessageW(hWnd, BM_GETCHECK, 0, 0) == BST_CHECKED)
                    value = nRadio;
            } else {
                ::SendMessageW(hWnd, BM_SETCHECK, nRadio == value ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            ++nRadio;
        }
        hWnd = ::GetWindow(hWnd, GW_HWNDNEXT);
    } while (hWnd != NULL && (::GetWindowLongW(hWnd, GWL_STYLE) & WS_GROUP) == 0);
}
