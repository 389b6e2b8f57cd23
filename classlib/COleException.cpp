#include "classlib/COleException.h"

#include "classlib/CString.h"

COleException::COleException(SCODE sc) : m_sc(sc) {}

BOOL COleException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext != nullptr)
        *pnHelpContext = 0;
    wchar_t* pSystemText = nullptr;
    const DWORD nLength = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL,
        static_cast<DWORD>(m_sc), 0, reinterpret_cast<LPWSTR>(&pSystemText), 0, NULL);
    CString text;
    if (nLength > 0 && pSystemText != nullptr)
        text = CString(pSystemText).TrimRight();
    else
        text.Format(L"automation error 0x%08X", static_cast<unsigned>(m_sc));
    if (pSystemText != nullptr)
        ::LocalFree(pSystemText);
    return CopyMessage(text, lpszError, nMaxError);
}

void AfxThrowOleException(SCODE sc) { throw new COleException(sc); }
