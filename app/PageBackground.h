// The background of the three wizard pages: the main dialog's background picture stretched over
// the page, or a flat fill of RGB(220, 220, 228) when there is no picture (or the page's parent
// is not the main dialog).
#pragma once
#include "classlib/CDC.h"
#include "classlib/CWnd.h"

// The WM_ERASEBKGND work of every page: each page's OnEraseBkgnd returns this. Always TRUE.
BOOL PageEraseBkgnd(CWnd* pPage, CDC* pDC);
