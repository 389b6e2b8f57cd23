// A thin vertical bar between two groups of a parent's controls: it paints itself, shows its
// cursor and turns a left-button press into a drag (the drag itself is CSplitterWndX's).
#pragma once
#include "classlib/CArray.h"
#include "classlib/CWnd.h"

// The command a parent receives (posted, notification code 0, lParam 0) after a drag moved the
// bar, whatever the bar's own identifier.
const UINT kSplitterMovedCommand = 1245;

class CSplitterEx : public CWnd {
public:
    CSplitterEx();
    ~CSplitterEx() override;

    // Creates the bar in the parent's client coordinates; the minimum widths become 10.
    BOOL Create(DWORD dwStyle, const RECT& rect, UINT nID, CWnd* pParent);
    BOOL AddLeftControl(UINT nID);
    BOOL AddRightControl(UINT nID);
    // Call after Create, which resets both to 10.
    void SetMinPaneWidths(int nLeft, int nRight);

    // Refits the listed controls after the bar moved; the base does nothing.
    virtual void LayoutPanes();
    // The cursor clip (screen coordinates) of a drag grabbed at client (x, y); FALSE when the
    // bar cannot move. The base allows any drag and leaves the rectangle untouched.
    virtual BOOL GetDragRect(RECT* pClip, int x, int y);
    // Runs one drag; the base does nothing.
    virtual void TrackDrag();

    CWnd* m_pParent;             // not owned
    CDWordArray m_arrLeftIds;    // the parent's controls left of the bar, in the order added
    CDWordArray m_arrRightIds;   // and right of it
    int m_nMinLeft;              // smallest distances kept from the parent's client edges and
    int m_nMinRight;             // the listed controls' outer edges
    HCURSOR m_hCursor;           // shared resource cursor, never destroyed here

protected:
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnPaint();
    DECLARE_MESSAGE_MAP()
};
