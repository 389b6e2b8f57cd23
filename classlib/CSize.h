#pragma once
// A width and height in pixels.
#include "classlib/WinTypes.h"

class CSize : public SIZE {
public:
    CSize(int initCX, int initCY) { cx = initCX; cy = initCY; }
};
