// The text view's row model and layout, free of windows: splitting a text into rows, which rows
// a paint covers, and which character lies under a point.
#pragma once
#include <cstddef>
#include <vector>

// One row: its first character inside the view's text (NULL for an empty line) and that
// character's offset in code units (for an empty line, the offset of the break ending it).
struct TextRowInfo {
    const wchar_t* pszLine;
    int nOffset;
};

const int kRowBufferSize = 2500;             // a row is copied into this many units ...
const int kMaxRowChars = kRowBufferSize - 1;  // ... of which the last holds the terminating NUL
const int kRowTopMargin = 2;                 // top of row 0 at scroll position 0
const int kRowLeftMargin = 4;                // left edge of a row's first character

// Number of code units before the terminating NUL (no C library call: on the host build wide
// characters are 16 bits while the C library assumes 32).
size_t TextLength(const wchar_t* pszText);

// True for the units that end a row's characters: NUL, CR and LF.
inline bool IsRowEnd(wchar_t ch) { return ch == 0 || ch == L'\r' || ch == L'\n'; }

// Splits nLength units into rows in one pass: CR LF is one break, a lone CR or LF is one break;
// every line a break ends gets a row (empty ones included), the text after the last break
// only when non-empty. Rows point into pszText. Throws std::bad_alloc when memory runs out.
void SplitTextRows(const wchar_t* pszText, int nLength, std::vector<TextRowInfo>* pRows);

// Rows [*pFirst, *pEnd) of a paint: from the one at the top of the client area to two past the
// last that fits, no further than the row count.
void VisibleRowRange(int nVPos, int nLineHeight, int nClientHeight, int nRowCount, int* pFirst,
                     int* pEnd);

// Top of the first drawn row in client pixels (partly above the client area when the scroll
// position is not a multiple of the line height).
int FirstRowTop(int nClientTop, int nVPos, int nLineHeight);

// Copies a row's characters (at most kMaxRowChars, up to NUL, CR or LF) into a buffer of
// kRowBufferSize units and terminates it; returns the number copied.
int CopyRowChars(const wchar_t* pszLine, wchar_t* pBuffer);

// True when the row of n characters at nOffset holds a character of [nSelStart, nSelEnd].
bool RowTouchesSelection(int nOffset, int n, int nSelStart, int nSelEnd);

// The running width of a paint after a row w pixels wide: widened to w + 20 only when the row
// is wider than the running value.
int NextRunningWidth(int nRunning, int nRowWidth);

// The width of one character as the view's font draws it.
class CharWidthSource {
public:
    virtual ~CharWidthSource() {}
    virtual int CharWidth(wchar_t ch) = 0;
};

// Index of the row whose rectangle holds client y, or -1 above the first or below the last.
int RowIndexAt(int y, int nVPos, int nLineHeight, int nRowCount);

// Offset of the character of a row that spans client x (edges included, so a boundary belongs
// to the left character), or -1. Only the characters that painting draws take part.
int CharInRowAt(const TextRowInfo& row, int x, int nHPos, CharWidthSource* pWidths);
