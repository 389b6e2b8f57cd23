#include "controls/TextRows.h"

size_t TextLength(const wchar_t* pszText)
{
    const wchar_t* p = pszText;
    while (*p)
        ++p;
    return static_cast<size_t>(p - pszText);
}

void SplitTextRows(const wchar_t* pszText, int nLength, std::vector<TextRowInfo>* pRows)
{
    const wchar_t* pszCurrent = nullptr;
    for (int i = 0; i < nLength; ++i) {
        const wchar_t ch = pszText[i];
        if (ch == L'\r' || ch == L'\n') {
            if (!pszCurrent)
                pRows->push_back({nullptr, i});
            pszCurrent = nullptr;
            if (ch == L'\r' && i + 1 < nLength && pszText[i + 1] == L'\n')
                ++i;
        } else if (!pszCurrent) {
            pszCurrent = pszText + i;
            pRows->push_back({pszCurrent, i});
        }
    }
}

void VisibleRowRange(int nVPos, int nLineHeight, int nClientHeight, int nRowCount, int* pFirst,
                     int* pEnd)
{
    int first = nVPos / nLineHeight;
    if (first < 0)
        first = 0;
    int end = nClientHeight / nLineHeight + first + 2;
    if (end > nRowCount)
        end = nRowCount;
    *pFirst = first;
    *pEnd = end;
}

int FirstRowTop(int nClientTop, int nVPos, int nLineHeight)
{
    return nClientTop + kRowTopMargin - nVPos % nLineHeight;
}

int CopyRowChars(const wchar_t* pszLine, wchar_t* pBuffer)
{
    int n = 0;
    while (n < kMaxRowChars && !IsRowEnd(pszLine[n])) {
        pBuffer[n] = pszLine[n];
        ++n;
    }
    pBuffer[n] = 0;
    return n;
}

bool RowTouchesSelection(int nOffset, int n, int nSelStart, int nSelEnd)
{
    return !(nOffset + n < nSelStart || nOffset > nSelEnd);
}

int NextRunningWidth(int nRunning, int nRowWidth)
{
    return nRunning < nRowWidth ? nRowWidth + 20 : nRunning;
}

int RowIndexAt(int y, int nVPos, int nLineHeight, int nRowCount)
{
    const int t = y + nVPos - kRowTopMargin;
    if (t < 0)
        return -1;
    const int i = t / nLineHeight;
    return i < nRowCount ? i : -1;
}

int CharInRowAt(const TextRowInfo& row, int x, int nHPos, CharWidthSource* pWidths)
{
    if (!row.pszLine)
        return -1;
    int left = kRowLeftMargin - nHPos;
    // A click beyond what painting shows (the first kMaxRowChars characters) is a miss, like a
    // click right of a line's end.
    for (int k = 0; k < kMaxRowChars && !IsRowEnd(row.pszLine[k]); ++k) {
        const int w = pWidths->CharWidth(row.pszLine[k]);
        if (x < left)
            return -1;
        if (x <= left + w)
            return row.nOffset + k;
        left += w;
    }
    return -1;
}
