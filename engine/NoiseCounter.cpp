#include "engine/NoiseCounter.h"

#include <cstring>

#include "engine/CharTables.h"

// The ideographs whose repetitions count as noise.
static const WCHAR FIRST_COUNTED_IDEOGRAPH = 0x4E00;
static const WCHAR LAST_COUNTED_IDEOGRAPH = 0x9FA5;

NoiseCounter::NoiseCounter()
    : m_pCounts(new int[CHAR_TABLE_SIZE]()), m_nScore(0), m_raised(), m_nRaised(0)
{
}

NoiseCounter::~NoiseCounter()
{
    delete[] m_pCounts;
}

void NoiseCounter::Reset()
{
    if (m_nRaised > MAX_REMEMBERED) {
        std::memset(m_pCounts, 0, sizeof(int) * CHAR_TABLE_SIZE);
    } else {
        for (int i = 0; i < m_nRaised; ++i)
            m_pCounts[m_raised[i]] = 0;
    }
    m_nRaised = 0;
    m_nScore = 0;
}

int NoiseCounter::Add(WCHAR c)
{
    if (OtherCharTable[c]) {
        m_nScore += 1;
    } else if (c >= FIRST_COUNTED_IDEOGRAPH && c <= LAST_COUNTED_IDEOGRAPH) {
        const int count = ++m_pCounts[c];
        if (count == 1) {
            if (m_nRaised < MAX_REMEMBERED)
                m_raised[m_nRaised] = c;
            if (m_nRaised <= MAX_REMEMBERED)
                ++m_nRaised;
        }
        if (count > m_nScore)
            m_nScore = count;
    }
    return m_nScore;
}
