#pragma once
// A width and height in pixels.
#include "classlib/WinTypes.h"

class CSize : public SIZE {
public:
    CSize() { cx = 0; cy = 0; }
    CSize(int initCX, int initCY) { cx = initCX; cy = initCY; }
};
