#pragma once
// An automation or COM failure, thrown by pointer (catch (COleException* e) { ...; e->Delete(); }).
#include "classlib/WinTypes.h"
#include "classlib/CException.h"

class COleException : public CException {
public:
    explicit COleException(SCODE sc);
    SCODE m_sc;
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;
};

[[noreturn]] void AfxThrowOleException(SCODE sc);
