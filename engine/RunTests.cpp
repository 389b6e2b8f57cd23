#include "engine/RunTests.h"

#include "engine/CharTables.h"
#include "engine/CodeUnit.h"
#include "engine/NoiseCounter.h"

// A measurement ends right after this many bad units.
static const int MAX_BAD_UNITS = 5;
static const WCHAR QUESTION_MARK = L'?';

// Allocated during static initialisation, freed when the process exits.
static NoiseCounter s_noiseCounter;

void MeasureRun(const BYTE* run, int n, int& count, int& firstBad)
{
    const BYTE* const text = TextCharTable;
    int bad = 0;
    count = 0;
    firstBad = -1;
    for (int i = 0; i < n && bad < MAX_BAD_UNITS; ++i) {
        const WCHAR c = ReadUnit(run, i);
        if (text[c]) {
            // In a row of '?' every one but the last is bad: a typical stand-in for lost text.
            if (c == QUESTION_MARK && ReadUnit(run, i + 1) == QUESTION_MARK)
                ++bad;
            else
                ++count;
        } else {
            if (c == 0)
                break;
            ++bad;
            if (firstBad < 0)
                firstBad = i;
        }
    }
}

int CountNonText(const BYTE* run, int n, int limit)
{
    const BYTE* const text = TextCharTable;
    int bad = 0;
    for (int i = 0; i < n; ++i) {
        if (!text[ReadUnit(run, i)] && ++bad > limit)
            break;
    }
    return bad;
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
