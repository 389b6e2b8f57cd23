// The process-wide record of the noise score: one counter per UTF-16 code unit and the running
// score of the current NoiseScore call.
//
// Only the counters of the ideographs U+4E00-U+9FA5 are ever raised, and only through Add. The
// counters a call raised are remembered (up to a small number; beyond it Reset clears them all),
// so that Reset, run at the start of every NoiseScore call, costs next to nothing for the
// scanner's 20-unit stretches instead of clearing 256 KB.
#pragma once

#include "classlib/WinTypes.h"

class NoiseCounter {
public:
    NoiseCounter();
    ~NoiseCounter();
    NoiseCounter(const NoiseCounter&) = delete;
    NoiseCounter& operator=(const NoiseCounter&) = delete;

    // Every counter 0 and the score 0.
    void Reset();
    // One step of the score: an other character adds one point; an ideograph that is no other
    // character raises the score to the number of times it has occurred, when that is higher.
    // Returns the score.
    int Add(WCHAR c);

    int* m_pCounts;  // 65,536 counters
    int m_nScore;

private:
    static const int MAX_REMEMBERED = 64;
    WORD m_raised[MAX_REMEMBERED];  // units whose counter went from 0 to 1 since the last Reset
    int m_nRaised;                  // MAX_REMEMBERED + 1: more were raised than remembered
};
