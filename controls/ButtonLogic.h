// The gradient button's window-free rules: its faces, corner sizes, hover states and the
// geometry of its icon, caption and progress strip.
#pragma once
#include "controls/PixelRect.h"

// Visual states of the button (CButtonEx::m_nState).
enum ButtonVisualState { kButtonNormal = 0, kButtonHot = 1, kButtonPressed = 2 };

struct ButtonFace {
    PixelColour clrTop;     // gradient colour at the top edge
    PixelColour clrBottom;  // gradient colour at the bottom edge
    PixelColour clrText;    // caption colour
    int nDx, nDy;           // caption offset
};

// The face for an item state (disabled or greyed, focused) and the visual state; the first
// rule that applies wins: disabled, hot, pressed, focused, normal.
ButtonFace ChooseButtonFace(bool bDisabled, bool bFocused, int nState);

// Corner ellipse of the window region for a window this high: height / 10 within 3..5.
int ButtonRegionCorner(int nHeight);
// Corner ellipse of the paint clip for an item rectangle ending at this bottom: within 3..7.
int ButtonClipCorner(int nBottom);

// What a mouse move does: the new state and whether to take or give back the capture.
struct ButtonHoverStep {
    int nState;
    bool bTakeCapture;
    bool bReleaseCapture;
    bool bRepaint;
};
ButtonHoverStep ButtonMouseMove(int nOldState, bool bInside, bool bHoldsCapture, bool bLeftDown);

// Top-left of the 32x32 icon square for a text rectangle of this height and a visual state.
void ButtonIconOrigin(int nState, int nTextTop, int nTextBottom, int* pX, int* pY);

// Shrinks the text rectangle so that a block of this size is centred in it.
void CentreBlockIn(PixelRect* pText, int nBlockWidth, int nBlockHeight);

// The progress strip along the bottom of the item rectangle; false when no strip is drawn
// (a pointer missing or a total not above 0). The strip may be empty (position 0).
bool ButtonProgressStrip(const PixelRect& item, const int* pnPos, const int* pnTotal,
                         PixelRect* pStrip);
