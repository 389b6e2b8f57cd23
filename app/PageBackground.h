// The background of the three wizard pages: the main dialog's background picture stretched over
// the page, or a flat fill of RGB(220, 220, 228) when there is no picture (or the page's parent
// is not the main dialog).
#pragma once
#include "classlib/CDC.h"
#include "classlib/CWnd.h"

// The WM_ERASEBKGND work of every page: each page's OnEraseBkgnd returns this. Always TRUE.
BOOL PageEraseBkgnd(CWnd* pPage, CDC* pDC);

class CBitmap;
// Stretches the whole bitmap over rcClient, or fills rcClient with RGB(220, 220, 228) when the
// bitmap is absent or not loaded. Always TRUE. The main dialog's own background uses it too.
BOOL PaintBackground(CDC* pDC, const RECT& rcClient, CBitmap* pBitmap);

class CBrush;
// Makes brush a hollow brush (BS_NULL) on first use and returns it, so that the background
// picture shows through a control; NULL (the default colours) when it cannot be made.
HBRUSH HollowBrushOf(CBrush& brush);
