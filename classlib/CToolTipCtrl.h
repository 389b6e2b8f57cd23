#pragma once
// A tooltip control: tools are areas of windows that show a text while the mouse rests there.
// The owner passes its mouse messages to RelayEvent (from its PreTranslateMessage).
#include "classlib/CWnd.h"

class CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
    // A tool on pWnd: the rectangle lpRectTool of its client area (NULL: the whole client area
    // at this moment) with the text lpszText, known by nIDTool.
    BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool = NULL, UINT_PTR nIDTool = 0);
    void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
};
