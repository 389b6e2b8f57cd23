#include "engine/CleanRun.h"

#include "engine/CodeUnit.h"

static const int CLEAN_BUFFER_UNITS = 131072;
// Input is taken while fewer output units than this have been written.
static const int MAX_CLEAN_OUTPUT = 65536;
// A line longer than this gets a line break.
static const int MAX_LINE_UNITS = 256;
// Units below this count towards dropping the run.
static const WCHAR FIRST_WIDE_UNIT = 0x00FF;
static const WCHAR BLANK = L' ';

static WCHAR s_cleanBuffer[CLEAN_BUFFER_UNITS];

LPCWSTR CleanRun(BYTE* run)
{
    WCHAR* const out = s_cleanBuffer;
    int written = 0;
    int column = 0;
    int low = 0;
    for (BYTE* p = run; written < MAX_CLEAN_OUTPUT; p += 2) {
        const WCHAR original = ReadUnit(p);
        if (original == 0)
            break;
        WCHAR c = original;
        ++column;
        if (c == L'\r' || c == L'\n') {
            column = 0;
        } else if (c == L'?' || c < BLANK) {
            c = BLANK;
            WriteUnit(p, c);  // the scanner never reads these units again
        }
        if (original < FIRST_WIDE_UNIT)
            ++low;
        // The unit that makes the line too long starts the next line, whose column restarts
        // from 0: so the later pieces of a long line hold 257 units.
        if (column > MAX_LINE_UNITS) {
            out[written++] = L'\r';
            out[written++] = L'\n';
            column = 0;
        }
        out[written++] = c;
    }
    out[written] = 0;
    // Mostly ASCII and Latin-1: binary data that happens to read as text, not the text sought.
    if (low > 2 * written / 3)
        out[0] = 0;
    return out;
}
