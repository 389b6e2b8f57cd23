#pragma once
// The system's file-open or file-save dialog (explorer style).
// The filter is written as the class library writes it: "Text(*.txt)|*.txt|All(*.*)|*.*||".
#include <string>

#include "classlib/CWnd.h"

class CFileDialog {
public:
    CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = NULL, LPCTSTR lpszFileName = NULL,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = NULL,
                CWnd* pParentWnd = NULL, DWORD dwSize = 0, BOOL bVistaStyle = TRUE);
    virtual ~CFileDialog() = default;

    // IDOK or IDCANCEL. The owner is the given parent, else the thread's main window.
    virtual INT_PTR DoModal();
    CString GetPathName() const;  // full path of the chosen file

    OPENFILENAME m_ofn;

private:
    BOOL m_bOpenFileDialog;
    CWnd* m_pParentWnd;
    std::wstring m_filter;  // '|' replaced by NUL, ending in two NULs; empty: no filter
    CString m_strDefExt;
    wchar_t m_szFileName[4096];
};
