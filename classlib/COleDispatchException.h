#pragma once
// An error that an automation server reported from IDispatch::Invoke (DISP_E_EXCEPTION), with
// the server's description; thrown by pointer.
#include "classlib/COleException.h"
#include "classlib/CString.h"

class COleDispatchException : public COleException {
public:
    COleDispatchException(LPCTSTR lpszDescription, UINT nHelpID, WORD wCode);
    WORD m_wCode;             // the server's own error code, 0 when it gave an SCODE
    SCODE m_scError;          // the server's SCODE (m_sc holds the same)
    CString m_strDescription;
    CString m_strSource;
    DWORD m_dwHelpContext;
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;
};
