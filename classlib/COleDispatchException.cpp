#include "classlib/COleDispatchException.h"

COleDispatchException::COleDispatchException(LPCTSTR lpszDescription, UINT nHelpID, WORD wCode)
    : COleException(DISP_E_EXCEPTION), m_wCode(wCode), m_scError(DISP_E_EXCEPTION),
      m_strDescription(lpszDescription ? lpszDescription : L""), m_dwHelpContext(nHelpID)
{
}

BOOL COleDispatchException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext != nullptr)
        *pnHelpContext = m_dwHelpContext;
    if (m_strDescription.IsEmpty())
        return COleException::GetErrorMessage(lpszError, nMaxError, nullptr);
    return CopyMessage(m_strDescription, lpszError, nMaxError);
}
