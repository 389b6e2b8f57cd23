// Scroll arithmetic of the scrollable window base, free of windows: the position a scroll
// code asks for, the wheel's code, and the page a bar gets.
#pragma once

// Scroll codes carried by WM_VSCROLL / WM_HSCROLL (the same numbers as Win32's SB_ codes; the
// horizontal names LINELEFT, PAGELEFT, LEFT ... share the values of their vertical twins).
enum ScrollCode {
    kScrollLineUp = 0,
    kScrollLineDown = 1,
    kScrollPageUp = 2,
    kScrollPageDown = 3,
    kScrollThumbPosition = 4,
    kScrollThumbTrack = 5,
    kScrollTop = 6,
    kScrollBottom = 7,
    kScrollEnd = 8,
};

const int kVertLineStep = 20;  // pixels per vertical line step
const int kHorzLineStep = 5;   // pixels per horizontal line step

struct ScrollRequest {
    int nCode;       // scroll code of the message
    int nCurrent;    // the bar's current position
    int nTrackPos;   // the bar's 32-bit tracking position
    int nPage;       // page amount in pixels
    int nMax;        // the range's maximum
    int nLineStep;   // kVertLineStep or kHorzLineStep
};

// The position to set, or false for SB_ENDSCROLL (nothing changes, no hook). Only the upper end
// is bounded here: the scroll bar itself brings a position below its minimum back into range.
bool ComputeScrollPos(const ScrollRequest& req, int* pNewPos);

// The code one wheel message posts: one line up for a positive delta, else one line down.
int WheelScrollCode(int nDelta);

// A bar's page: client extent minus one line height, but no more than the maximum; compared
// unsigned, so an extent smaller than one line gives the whole maximum.
unsigned ScrollPageFor(int nClientExtent, int nLineHeight, int nMax);
