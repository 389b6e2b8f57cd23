// The splitter bar's window-free rules: how far a drag may take the bar and where the
// neighbouring panes go afterwards. All rectangles share one coordinate system.
#pragma once
#include "controls/PixelRect.h"

// Inputs of a drag-limit computation, gathered from the windows by the caller.
struct SplitterLimits {
    int nClientLeft, nClientRight;   // parent's client area (same coordinates as the bar)
    const int* pLeftEdges;           // left edges of the controls left of the bar
    int nLeftCount;
    const int* pRightEdges;          // right edges of the controls right of the bar
    int nRightCount;
    int nMinLeft, nMinRight;         // smallest distances to keep
};

// Fills the cursor clip rectangle for a drag grabbed at client column x of the bar; false when
// the bar cannot move (no room, or less room than the bar's width), and then pClip is untouched.
bool SplitterDragClip(const SplitterLimits& lim, const PixelRect& bar, int x, PixelRect* pClip);

// The bar's rectangle after a drag by dx pixels.
PixelRect SplitterMovedBar(const PixelRect& start, int dx);

// A left pane ends one column before the bar; a right pane starts one column after it.
PixelRect SplitterLeftPane(PixelRect pane, const PixelRect& bar);
PixelRect SplitterRightPane(PixelRect pane, const PixelRect& bar);
