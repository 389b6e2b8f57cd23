#include "controls/SplitterLogic.h"

bool SplitterDragClip(const SplitterLimits& lim, const PixelRect& bar, int x, PixelRect* pClip)
{
    int lo = lim.nClientLeft + lim.nMinLeft;
    for (int i = 0; i < lim.nLeftCount; ++i)
        if (lim.pLeftEdges[i] + lim.nMinLeft > lo)
            lo = lim.pLeftEdges[i] + lim.nMinLeft;
    int hi = lim.nClientRight - lim.nMinRight;
    for (int i = 0; i < lim.nRightCount; ++i)
        if (lim.pRightEdges[i] - lim.nMinRight < hi)
            hi = lim.pRightEdges[i] - lim.nMinRight;
    if (lo >= hi)
        return false;
    const PixelRect clip = {lo + x, bar.top, hi + x - bar.Width() + 1, bar.bottom};
    // Room narrower than the bar leaves no column for the cursor: the bar cannot move.
    if (clip.right <= clip.left)
        return false;
    *pClip = clip;
    return true;
}

PixelRect SplitterMovedBar(const PixelRect& start, int dx)
{
    return {start.left + dx, start.top, start.right + dx, start.bottom};
}

PixelRect SplitterLeftPane(PixelRect pane, const PixelRect& bar)
{
    pane.right = bar.left - 1;
    return pane;
}

PixelRect SplitterRightPane(PixelRect pane, const PixelRect& bar)
{
    pane.left = bar.right + 1;
    return pane;
}
