// The link control's window-free rules: the fallback command line that opens a target with the
// program registered for web pages, and the size a control gets from its caption.
#pragma once
#include "classlib/CString.h"
#include "controls/PixelRect.h"

// The registered open command with the placeholder cut off ("%1" between double quotes from its
// opening quote, else a bare "%1"; everything after it is dropped), then a blank and the
// target, unquoted. A command without a placeholder is kept whole.
CString BuildFallbackCommand(const CString& strCommand, const CString& strTarget);

// Static-control style bits that decide which edges stay when the control is fitted.
const unsigned kLinkStyleCenter = 0x0001;       // SS_CENTER
const unsigned kLinkStyleRight = 0x0002;        // SS_RIGHT
const unsigned kLinkStyleCenterImage = 0x0200;  // SS_CENTERIMAGE

// The window rectangle that fits a caption tw by th pixels plus the control's border: centred
// controls keep their centre (the halves truncated), right-aligned ones their right edge, the
// others their left edge; SS_CENTERIMAGE keeps the vertical centre, otherwise the top stays.
PixelRect FitLinkRect(const PixelRect& window, int nBorderWidth, int nBorderHeight, int nTextWidth,
                      int nTextHeight, unsigned nStyle);
