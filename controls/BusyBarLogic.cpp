#include "controls/BusyBarLogic.h"

int BusyBlockLeft(int nStep, int nWidth)
{
    // 64-bit product: the step counter only grows, and step * 80 must not overflow after weeks
    // of animation.
    const long long x = (static_cast<long long>(nStep) * 80) / 3;
    return static_cast<int>(x % nWidth);
}

PixelColour BusyBlockColour(int nStep)
{
    switch (nStep % 3) {
    case 0:
        return MakeColour(100, 100, 250);
    case 1:
        return MakeColour(110, 110, 250);
    default:
        return MakeColour(115, 115, 250);
    }
}

PixelRect BusyBlockRect(int nStep, const PixelRect& client)
{
    const int x = BusyBlockLeft(nStep, client.Width());
    return {x, client.top + kBusyBlockInset, x + kBusyBlockWidth, client.bottom - kBusyBlockInset};
}
