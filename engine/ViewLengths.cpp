#include "engine/ViewLengths.h"

#include <cstdint>
#include <cstring>

// Four units at a time: a lane of 16 bits is zero when the subtraction borrows through it and
// its top bit was clear. The lowest lane flagged is always a real zero lane (false flags only
// arise above a real one), and on little-endian x86 the lowest lane is the first unit.
static const uint64_t LANE_ONES = 0x0001000100010001ULL;
static const uint64_t LANE_TOPS = 0x8000800080008000ULL;
static const int LANE_BITS = 16;
static const int WORD_BYTES = 8;

ViewLengths::ViewLengths(const BYTE* block) : m_pBlock(block)
{
    // An empty stretch before the block: the first request for either alignment searches.
    for (int alignment = 0; alignment < 2; ++alignment) {
        m_nStart[alignment] = alignment - 2;
        m_nZero[alignment] = alignment - 2;
    }
}

bool ViewLengths::IsZeroUnit(int offset) const
{
    return m_pBlock[offset] == 0 && m_pBlock[offset + 1] == 0;
}

int ViewLengths::FindZeroUnit(int offset) const
{
    for (const BYTE* p = m_pBlock + offset;; p += WORD_BYTES) {
        uint64_t units;
        std::memcpy(&units, p, sizeof units);
        const uint64_t zeroLanes = (units - LANE_ONES) & ~units & LANE_TOPS;
        if (zeroLanes != 0) {
            const int lane = __builtin_ctzll(zeroLanes) / LANE_BITS;
            return static_cast<int>(p - m_pBlock) + 2 * lane;
        }
    }
}

int ViewLengths::LengthAt(int offset)
{
    const int alignment = offset & 1;
    int& start = m_nStart[alignment];
    int& zero = m_nZero[alignment];
    if (offset > zero) {
        start = offset;
        zero = FindZeroUnit(offset);
    } else if (offset < start) {
        // A step back: only the few units before the known stretch need a look.
        for (int unit = offset; unit < start; unit += 2) {
            if (IsZeroUnit(unit))
                return (unit - offset) / 2;
        }
        start = offset;
    }
    return (zero - offset) / 2;
}

void ViewLengths::SplitStretchAt(int offset)
{
    // Keep the part behind the new zero unit: the scanner goes on from there, and the units
    // before it are looked at again only by the step back in LengthAt, which finds the zero.
    const int alignment = offset & 1;
    if (offset >= m_nStart[alignment] && offset < m_nZero[alignment])
        m_nStart[alignment] = offset + 2;
}

void ViewLengths::NoteZeroUnit(int offset)
{
    SplitStretchAt(offset);
    // The units of the other alignment that overlap this one may have turned zero as well.
    if (offset >= 1 && IsZeroUnit(offset - 1))
        SplitStretchAt(offset - 1);
    if (IsZeroUnit(offset + 1))
        SplitStretchAt(offset + 1);
}
