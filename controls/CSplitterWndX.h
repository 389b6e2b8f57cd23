// The splitter bar with its drag: limits from the listed controls, a modal drag loop with an
// inverted drag rectangle, the move, the refit of the neighbours and the parent's command.
#pragma once
#include <vector>

#include "controls/CSplitterEx.h"
#include "controls/PixelRect.h"

class CSplitterWndX : public CSplitterEx {
public:
    CSplitterWndX();  // loads the bar's cursor (resource 136)

    void LayoutPanes() override;
    BOOL GetDragRect(RECT* pClip, int x, int y) override;
    void TrackDrag() override;

private:
    HWND GetPane(UINT nID) const;
    // The left (or right) window edges of the listed controls, in screen coordinates.
    void CollectEdges(const CDWordArray& ids, bool bLeftEdges, std::vector<int>* pEdges) const;
    // Moves a listed control so that it ends one column before the bar (a left pane) or starts
    // one column after it; a control already there is left alone.
    void FitPane(UINT nID, bool bLeftPane, const PixelRect& bar);
};
