#pragma once
// A rectangle in pixels: RECT with the queries and moves that layout and drawing code use.
// Like RECT, it excludes its right and bottom edges.
#include "classlib/CPoint.h"
#include "classlib/CSize.h"

class CRect : public RECT {
public:
    CRect() { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    CRect(const RECT& rc) { ::CopyRect(this, &rc); }
    CRect(LPCRECT prc) { ::CopyRect(this, prc); }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }


    BOOL PtInRect(POINT pt) const { return ::PtInRect(this, pt); }

    void DeflateRect(int x, int y) { ::InflateRect(this, -x, -y); }
    void OffsetRect(int x, int y) { ::OffsetRect(this, x, y); }

    bool operator==(const RECT& rc) const { return ::EqualRect(this, &rc) != FALSE; }
    bool operator!=(const RECT& rc) const { return !(*this == rc); }
};
