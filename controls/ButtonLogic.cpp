#include "controls/ButtonLogic.h"

namespace {
int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }
const int kIconSize = 32;
const int kStripHeight = 4;     // the strip runs from bottom - 6 to bottom - 2
const int kStripBottomGap = 2;
}  // namespace

ButtonFace ChooseButtonFace(bool bDisabled, bool bFocused, int nState)
{
    if (bDisabled)
        return {MakeColour(230, 230, 230), MakeColour(200, 200, 200), MakeColour(250, 250, 250), 0, 0};
    if (nState == kButtonHot)
        return {MakeColour(250, 250, 250), MakeColour(250, 200, 200), MakeColour(130, 130, 255), -1, -1};
    if (nState == kButtonPressed)
        return {MakeColour(250, 250, 250), MakeColour(150, 100, 200), MakeColour(30, 130, 0), 1, 1};
    if (bFocused)
        return {MakeColour(250, 250, 250), MakeColour(230, 230, 100), MakeColour(130, 130, 255), 0, 0};
    return {MakeColour(250, 250, 250), MakeColour(235, 235, 235), MakeColour(0, 0, 0), 0, 0};
}

int ButtonRegionCorner(int nHeight) { return Clamp(nHeight / 10, 3, 5); }

int ButtonClipCorner(int nBottom) { return Clamp(nBottom / 10, 3, 7); }

ButtonHoverStep ButtonMouseMove(int nOldState, bool bInside, bool bHoldsCapture, bool bLeftDown)
{
    ButtonHoverStep step = {kButtonNormal, false, false, false};
    if (bInside) {
        step.nState = kButtonHot;
        // Holding the capture is how the button learns that the pointer has left it.
        step.bTakeCapture = !bHoldsCapture;
        if (bLeftDown && nOldState == kButtonPressed)
            step.nState = kButtonPressed;
    } else {
        step.bReleaseCapture = bHoldsCapture;
    }
    step.bRepaint = step.nState != nOldState;
    return step;
}

void ButtonIconOrigin(int nState, int nTextTop, int nTextBottom, int* pX, int* pY)
{
    const int a = (nTextBottom - nTextTop - kIconSize) / 2;
    if (nState == kButtonHot) {
        *pX = 3;
        *pY = a;
    } else if (nState == kButtonPressed) {
        *pX = 5;
        *pY = a + 2;
    } else {
        *pX = 4;
        *pY = a + 1;
    }
}

void CentreBlockIn(PixelRect* pText, int nBlockWidth, int nBlockHeight)
{
    const int dx = (pText->Width() - nBlockWidth) / 2;
    const int dy = (pText->Height() - nBlockHeight) / 2;
    pText->left += dx;
    pText->right -= dx;
    pText->top += dy;
    pText->bottom -= dy;
}

bool ButtonProgressStrip(const PixelRect& item, const int* pnPos, const int* pnTotal,
                         PixelRect* pStrip)
{
    if (!pnPos || !pnTotal || *pnTotal <= 0)
        return false;
    double ratio = static_cast<double>(*pnPos) / static_cast<double>(*pnTotal);
    // Outside 0..1 the strip would leave the button anyway (the clip cuts it); bounding the
    // ratio keeps the conversion to int defined for any counter the owner hands in.
    if (ratio < 0.0)
        ratio = 0.0;
    else if (ratio > 1.0)
        ratio = 1.0;
    const int filled = static_cast<int>(static_cast<double>(item.right - item.left) * ratio);
    pStrip->left = item.left + 1;
    pStrip->right = item.left + filled - 1;
    pStrip->bottom = item.bottom - kStripBottomGap;
    pStrip->top = pStrip->bottom - kStripHeight;
    return true;
}
