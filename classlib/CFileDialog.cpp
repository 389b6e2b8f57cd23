#include "classlib/CFileDialog.h"

#include <commdlg.h>

#include "classlib/CWinThread.h"

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                         LPCTSTR lpszFilter, CWnd* pParentWnd, DWORD, BOOL)
    : m_ofn(), m_bOpenFileDialog(bOpenFileDialog), m_pParentWnd(pParentWnd), m_szFileName()
{
    if (lpszFileName != nullptr)
        lstrcpynW(m_szFileName, lpszFileName, static_cast<int>(sizeof m_szFileName / sizeof m_szFileName[0]));
    if (lpszDefExt != nullptr)
        m_strDefExt = lpszDefExt;
    if (lpszFilter != nullptr) {
        // "Text|*.txt|All|*.*||" -> the NUL-separated, double-NUL-ended list of the common dialog.
        for (LPCTSTR p = lpszFilter; *p != 0; ++p)
            m_filter.push_back(*p == L'|' ? L'\0' : *p);
        m_filter.append(2, L'\0');
    }
    m_ofn.lStructSize = sizeof(OPENFILENAMEW);
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = static_cast<DWORD>(sizeof m_szFileName / sizeof m_szFileName[0]);
    m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLESIZING;
}

INT_PTR CFileDialog::DoModal()
{
    CWnd* pOwner = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    HWND hOwner = pOwner != nullptr && ::IsWindow(pOwner->m_hWnd) ? pOwner->m_hWnd : NULL;
    if (hOwner != NULL)
        hOwner = ::GetLastActivePopup(::GetAncestor(hOwner, GA_ROOT));
    m_ofn.hwndOwner = hOwner;
    m_ofn.hInstance = NULL;
    m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
    m_ofn.lpstrDefExt = m_strDefExt.IsEmpty() ? nullptr : m_strDefExt.GetString();
    const BOOL bOk = m_bOpenFileDialog ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
    return bOk ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const { return CString(m_szFileName); }
