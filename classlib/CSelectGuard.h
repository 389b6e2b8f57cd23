#pragma once
// Selects a GDI object into a DC for one scope and puts back what it replaced.
//   CSelectGuard font(dc, m_font); ... // the DC's previous font returns at the end of the scope
#include "classlib/WinTypes.h"

class CSelectGuard {
public:
    CSelectGuard(HDC hDC, HGDIOBJ hObject) : m_hDC(hDC), m_hOld(hObject ? ::SelectObject(hDC, hObject) : NULL) {}
    ~CSelectGuard() { Restore(); }
    CSelectGuard(const CSelectGuard&) = delete;
    CSelectGuard& operator=(const CSelectGuard&) = delete;
    // Puts the previous object back now; the destructor then does nothing.
    void Restore()
    {
        if (m_hOld != NULL && m_hOld != HGDI_ERROR)
            ::SelectObject(m_hDC, m_hOld);
        m_hOld = NULL;
    }
private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};
