#include "engine/ScanBlock.h"

#include <algorithm>
#include <new>

#include "engine/CleanRun.h"
#include "engine/CodeUnit.h"
#include "engine/RunTests.h"
#include "engine/ViewLengths.h"

const WCHAR RUN_SEPARATOR[] = L"\r\n-----------------------\r\n";
static const int RUN_SEPARATOR_LENGTH = sizeof(RUN_SEPARATOR) / sizeof(WCHAR) - 1;
static_assert(RUN_SEPARATOR_LENGTH == 27, "CR LF, 23 hyphens, CR LF");

// A run is a candidate when it holds more than this many text units.
static const int MIN_CANDIDATE_COUNT = 20;
// Acceptance: at least COMMON_NEEDED of the run's first COMMON_WINDOW units are common
// characters, and a run longer than NOISE_WINDOW_END has a noise score below NOISE_LIMIT over
// its units NOISE_WINDOW_START to NOISE_WINDOW_END - 1.
static const int COMMON_WINDOW = 20;
static const int COMMON_NEEDED = 10;
static const int NOISE_WINDOW_START = 20;
static const int NOISE_WINDOW_END = 40;
static const double NOISE_LIMIT = 20.0;
// Past a candidate, the position moves on by its units and this many bytes more.
static const int BYTES_PAST_RUN = 6;
// When one view is this much longer (in units) than the other, the other moves on by a unit.
static const int REALIGN_UNITS = 2;
// A view longer than LONG_VIEW units whose first NON_TEXT_WINDOW units hold exactly
// NON_TEXT_HALF non-text units moves the position on by HALF_TEXT_STEP bytes.
static const int LONG_VIEW = 1000;
static const int NON_TEXT_WINDOW = 20;
static const int NON_TEXT_HALF = 10;
static const int HALF_TEXT_STEP = 5;
// Without a candidate the position moves on by at most this many bytes plus one.
static const int MAX_PLAIN_STEP = 256;

// One of the two views measured at a position.
struct View {
    int offset;    // byte offset from the block's first byte
    int length;    // units before the first zero unit
    int count;     // text units counted by MeasureRun; 0 when not measured
    int firstBad;  // first non-text unit, -1 when none was met or not measured
};

static void Measure(const BYTE* block, View& view)
{
    view.count = 0;
    view.firstBad = -1;
    if (view.length > MIN_CANDIDATE_COUNT)
        MeasureRun(block + view.offset, view.length, view.count, view.firstBad);
}

static bool IsRunAccepted(const BYTE* run, int count)
{
    if (!CountCommon(run, COMMON_WINDOW, COMMON_NEEDED))
        return false;
    if (count <= NOISE_WINDOW_END)
        return true;
    return NoiseScore(run + 2 * NOISE_WINDOW_START, NOISE_WINDOW_END - NOISE_WINDOW_START) <
           NOISE_LIMIT;
}

// Cuts the candidate run out of its view, judges it and keeps its cleaned text. Returns the
// number of bytes the position moves on by.
static int TakeCandidate(BYTE* block, const View& view, ViewLengths& lengths, CString& text)
{
    BYTE* const start = block + view.offset;
    const int cut = view.offset + 2 * view.count;
    WriteUnit(block + cut, 0);
    lengths.NoteZeroUnit(cut);
    // A view that starts with a non-text unit gives a run from its second unit.
    BYTE* const run = view.firstBad == 0 ? start + 2 : start;
    if (IsRunAccepted(run, view.count)) {
        int length;
        LPCWSTR cleaned = CleanRun(run, &length);
        if (length > 0) {
            const int lengthBefore = text.GetLength();
            try {
                text.Append(cleaned, length);
                text.Append(RUN_SEPARATOR, RUN_SEPARATOR_LENGTH);
            } catch (const std::bad_alloc&) {
                // Out of memory: the text kept so far must still end with a whole run and its
                // separator.
                text.Delete(lengthBefore, text.GetLength() - lengthBefore);
                throw;
            }
        }
    }
    // Past the cut and every unit that cleaning changed: no written byte is read again.
    return 2 * view.count + BYTES_PAST_RUN;
}

// Offset of the first non-zero byte in [offset, end), or end.
static int SkipZeroBytes(const BYTE* block, int offset, int end)
{
    while (offset < end && block[offset] == 0)
        ++offset;
    return offset;
}

void ScanBlock(BYTE* block, int size, CString& text, const StopFlag* stop)
{
    ViewLengths lengths(block);
    int position = 0;
    while (position < size) {
        if (StopAsked(stop))
            return;
        // Where the bytes at position, position + 1 and position + 2 are zero, both views are
        // empty and the position moves on by one byte, finding nothing: skip to the last such
        // position at once. Zero-filled sectors are common in damaged files.
        if (block[position] == 0 && block[position + 1] == 0 && block[position + 2] == 0) {
            position = SkipZeroBytes(block, position + 3, size + 2) - 2;
            continue;
        }
        View view0 = {position, lengths.LengthAt(position), 0, -1};
        View view1 = {position + 1, lengths.LengthAt(position + 1), 0, -1};
        if (view1.length > view0.length + REALIGN_UNITS) {
            view0.offset += 2;
            view0.length = lengths.LengthAt(view0.offset);
        } else if (view0.length > view1.length + REALIGN_UNITS) {
            view1.offset += 2;
            view1.length = lengths.LengthAt(view1.offset);
        }
        Measure(block, view0);
        Measure(block, view1);
        if (view0.count > MIN_CANDIDATE_COUNT || view1.count > MIN_CANDIDATE_COUNT) {
            // On equal counts the run is taken from view 1.
            const View& chosen = view0.count > view1.count ? view0 : view1;
            position += TakeCandidate(block, chosen, lengths, text);
            continue;
        }
        if (view0.length > LONG_VIEW || view1.length > LONG_VIEW) {
            const View& longer = view0.length > view1.length ? view0 : view1;
            if (CountNonText(block + longer.offset, NON_TEXT_WINDOW, NON_TEXT_HALF) ==
                NON_TEXT_HALF) {
                position += HALF_TEXT_STEP;
                continue;
            }
        }
        // Units added to a byte position, not doubled: the step may swap the alignments.
        if (view0.firstBad > 0 || view1.firstBad > 0)
            position += 2 + std::max(view0.firstBad, view1.firstBad);
        else
            position += 1 + std::min(MAX_PLAIN_STEP, std::max(view0.length, view1.length));
    }
}
