#include "controls/HyperLinkLogic.h"

CString BuildFallbackCommand(const CString& strCommand, const CString& strTarget)
{
    CString strLine = strCommand;
    int nCut = strLine.Find(L"\"%1\"");
    if (nCut < 0)
        nCut = strLine.Find(L"%1");
    if (nCut >= 0)
        strLine = strLine.Left(nCut);
    strLine += L' ';
    strLine += strTarget;
    return strLine;
}

PixelRect FitLinkRect(const PixelRect& window, int nBorderWidth, int nBorderHeight, int nTextWidth,
                      int nTextHeight, unsigned nStyle)
{
    PixelRect r = window;
    const int w = nTextWidth + nBorderWidth;
    const int h = nTextHeight + nBorderHeight;
    if (nStyle & kLinkStyleCenterImage) {
        const int half = (r.Height() - h) / 2;
        r.top += half;
        r.bottom -= half;
    } else {
        r.bottom = r.top + h;
    }
    if (nStyle & kLinkStyleCenter) {
        const int half = (r.Width() - w) / 2;
        r.left += half;
        r.right -= half;
    } else if (nStyle & kLinkStyleRight) {
        r.left = r.right - w;
    } else {
        r.right = r.left + w;
    }
    return r;
}
