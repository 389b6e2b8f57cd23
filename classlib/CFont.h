#pragma once
// A font (HFONT) wrapper.
#include "classlib/CGdiObject.h"

class CFont : public CGdiObject {
public:
    static CFont* FromHandle(HFONT hFont) { return TemporaryOf<CFont>(hFont); }
    BOOL CreateFontIndirect(const LOGFONT* lpLogFont);
    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                    BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                    BYTE nQuality, BYTE nPitchAndFamily, LPCTSTR lpszFacename);
    int GetLogFont(LOGFONT* pLogFont) const;
};
