#pragma once
// A point in pixels: POINT with the arithmetic that drawing code wants.
#include "classlib/WinTypes.h"

class CPoint : public POINT {
public:
    CPoint() { x = 0; y = 0; }
    CPoint(int initX, int initY) { x = initX; y = initY; }
    CPoint(POINT pt) { x = pt.x; y = pt.y; }
    // A point packed into a message's LPARAM or a DWORD (signed 16-bit halves).
    explicit CPoint(DWORD dwPoint) { x = (short)LOWORD(dwPoint); y = (short)HIWORD(dwPoint); }
};
