// The busy bar's moving block: where an animated paint puts it and in which shade.
#pragma once
#include "controls/PixelRect.h"

const int kBusyBlockWidth = 40;   // the block's width in pixels
const int kBusyBlockInset = 5;    // clear pixels above and below the block

// Left edge of the block at animation step n in a bar this wide (width above 0):
// ((n * 80) / 3) mod width, so that successive steps put it at 0, 26, 53, 80, 106, ...
int BusyBlockLeft(int nStep, int nWidth);

// The shade of the block at step n: three blues in turn.
PixelColour BusyBlockColour(int nStep);

// The block's rectangle in a client rectangle (top-left at 0, 0) at step n.
PixelRect BusyBlockRect(int nStep, const PixelRect& client);
