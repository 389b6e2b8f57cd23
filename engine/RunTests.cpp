#include "engine/RunTests.h"

#include "engine/CharTables.h"
#include "engine/CodeUnit.h"
#include "engine/NoiseCounter.h"

// A measurement ends right after this many bad units.
static const int MAX_BAD_UNITS = 5;
static const WCHAR QUESTION_MARK = L'?';

// Allocated during static initialisation, freed when the process exits.
static NoiseCounter s_noiseCounter;

// TRUE when the four units from run are text and none is a '?': all four are counted.
static inline bool AreFourPlainTextUnits(const BYTE* text, const BYTE* run)
{
    const WCHAR c0 = ReadUnit(run, 0);
    const WCHAR c1 = ReadUnit(run, 1);
    const WCHAR c2 = ReadUnit(run, 2);
    const WCHAR c3 = ReadUnit(run, 3);
    const bool allText = (text[c0] & text[c1] & text[c2] & text[c3]) != 0;
    const bool anyQuestionMark =
        (c0 == QUESTION_MARK) | (c1 == QUESTION_MARK) | (c2 == QUESTION_MARK) | (c3 == QUESTION_MARK);
    return allText & !anyQuestionMark;
}

void MeasureRun(const BYTE* run, int n, int& count, int& firstBad)
{
    // Locals, not the caller's variables: a store through a reference may alias the table, which
    // would keep the compiler from holding the counters in registers.
    const BYTE* const text = TextCharTable;
    int bad = 0;
    int counted = 0;
    int first = -1;
    int i = 0;
    bool inText = false;
    while (i < n && bad < MAX_BAD_UNITS) {
        // Within text, which comes in long runs, take plain text four units at a time (the zero
        // unit is no text). Elsewhere that would only cost lookups.
        if (inText && i + 4 <= n && AreFourPlainTextUnits(text, run + 2 * i)) {
            counted += 4;
            i += 4;
            continue;
        }
        const WCHAR c = ReadUnit(run, i);
        if (text[c]) {
            // In a row of '?' every one but the last is bad: a typical stand-in for lost text.
            if (c == QUESTION_MARK && ReadUnit(run, i + 1) == QUESTION_MARK) {
                ++bad;
            } else {
                ++counted;
                inText = true;
            }
        } else {
            if (c == 0)
                break;
            ++bad;
            if (first < 0)
                first = i;
        }
        ++i;
    }
    count = counted;
    firstBad = first;
}

int CountNonText(const BYTE* run, int n, int limit)
{
    // Counting all n units and capping the result gives what stopping above the limit gives,
    // without a branch per unit on data where text and non-text alternate at random.
    const BYTE* const text = TextCharTable;
    int bad = 0;
    for (int i = 0; i < n; ++i)
        bad += text[ReadUnit(run, i)] ^ 1;
    return bad > limit ? limit + 1 : bad;
}

BOOL CountCommon(const BYTE* run, int n, int k)
{
    const BYTE* const common = CommonCharTable;
    int found = 0;
    for (int i = 0; i < n; ++i) {
        if (common[ReadUnit(run, i)] && ++found >= k)
            return TRUE;
    }
    return FALSE;
}

double NoiseScore(const BYTE* run, int n)
{
    s_noiseCounter.Reset();
    for (int i = 0; i < n; ++i)
        s_noiseCounter.Add(ReadUnit(run, i));
    return s_noiseCounter.m_nScore * 100.0 / n;
}
