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

LPCWSTR CleanRun(BYTE* run, int* length)
{
    WCHAR* const out = s_cleanBuffer;
    int written = 0;
    int column = 0;
    int low = 0;
    BYTE* p = run;
    while (written < MAX_CLEAN_OUTPUT) {
        // Units from U+00FF up are copied as they are while the line has room: the common case
        // of Chinese text, without the tests below.
        int room = MAX_LINE_UNITS - column;
        if (room > MAX_CLEAN_OUTPUT - written)
            room = MAX_CLEAN_OUTPUT - written;
        int copied = 0;
        for (WCHAR c; copied < room && (c = ReadUnit(p)) >= FIRST_WIDE_UNIT; ++copied, p += 2)
            out[written + copied] = c;
        written += copied;
        column += copied;
        if (written >= MAX_CLEAN_OUTPUT)
            break;

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
        p += 2;
    }
    out[written] = 0;
    // Mostly ASCII and Latin-1: binary data that happens to read as text, not the text sought.
    if (low > 2 * written / 3) {
        out[0] = 0;
        written = 0;
    }
    if (length)
        *length = written;
    return out;
}
