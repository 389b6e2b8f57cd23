#include "controls/ScrollLogic.h"

bool ComputeScrollPos(const ScrollRequest& req, int* pNewPos)
{
    const bool bThumb = req.nCode == kScrollThumbPosition || req.nCode == kScrollThumbTrack;
    const int start = bThumb ? req.nTrackPos : req.nCurrent;
    int pos = start;
    switch (req.nCode) {
    case kScrollLineUp:
        pos = start - req.nLineStep;
        break;
    case kScrollLineDown:
        pos = start + req.nLineStep;
        break;
    case kScrollPageUp:
        pos = start - req.nPage;
        break;
    case kScrollPageDown:
        pos = start + req.nPage;
        break;
    case kScrollThumbPosition:
    case kScrollThumbTrack:
        pos = req.nTrackPos;
        break;
    case kScrollTop:
        pos = 0;
        break;
    case kScrollBottom:
        *pNewPos = req.nMax;
        return true;
    case kScrollEnd:
        return false;
    default:
        break;
    }
    *pNewPos = pos > req.nMax ? req.nMax : pos;
    return true;
}

int WheelScrollCode(int nDelta) { return nDelta > 0 ? kScrollLineUp : kScrollLineDown; }

unsigned ScrollPageFor(int nClientExtent, int nLineHeight, int nMax)
{
    const unsigned page = static_cast<unsigned>(nClientExtent - nLineHeight);
    const unsigned max = static_cast<unsigned>(nMax);
    return page > max ? max : page;
}
