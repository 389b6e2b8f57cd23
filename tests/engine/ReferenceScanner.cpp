#include "ReferenceScanner.h"

#include <algorithm>
#include <map>
#include <vector>

#include "engine/CharTables.h"

namespace {

WCHAR UnitAt(const BYTE* run, int i)
{
    return static_cast<WCHAR>(run[2 * i] | (run[2 * i + 1] << 8));
}

void BlankUnit(BYTE* unit)
{
    unit[0] = ' ';
    unit[1] = 0;
}

// The length of the view at every offset of a block: a view is one unit longer than the view a
// unit further on, unless its first unit is zero. Counted from the block's end backwards.
class ViewLengthTable {
public:
    // The block must be followed by at least 16 zero bytes, as the scanner requires. length
    // holds the table; it is only a buffer that one call after another can reuse.
    ViewLengthTable(const BYTE* block, int size, std::vector<int>& length)
        : m_block(block), m_length(length)
    {
        m_length.assign(static_cast<size_t>(size) + 8, 0);
        Recount(0, size + 4);
    }
    int At(int offset) const { return m_length[static_cast<size_t>(offset)]; }
    // Counts the views at offsets from to end - 1 afresh (the block changed below end).
    void Recount(int from, int end)
    {
        for (int offset = end - 1; offset >= from; --offset) {
            const size_t o = static_cast<size_t>(offset);
            const bool zeroUnit = m_block[offset] == 0 && m_block[offset + 1] == 0;
            m_length[o] = zeroUnit ? 0 : 1 + m_length[o + 2];
        }
    }

private:
    const BYTE* m_block;
    std::vector<int>& m_length;
};

}  // namespace

void ReferenceMeasureRun(const BYTE* run, int n, int& count, int& firstBad)
{
    int bad = 0;
    count = 0;
    firstBad = -1;
    for (int i = 0; i < n && bad < 5; ++i) {
        const WCHAR c = UnitAt(run, i);
        if (TextCharTable[c]) {
            if (c == L'?' && UnitAt(run, i + 1) == L'?')
                bad += 1;
            else
                count += 1;
        } else {
            if (c == 0)
                break;
            bad += 1;
            if (firstBad == -1)
                firstBad = i;
        }
    }
}

int ReferenceCountNonText(const BYTE* run, int n, int limit)
{
    int bad = 0;
    for (int i = 0; i < n; ++i) {
        if (!TextCharTable[UnitAt(run, i)]) {
            bad += 1;
            if (bad > limit)
                break;
        }
    }
    return bad;
}

BOOL ReferenceCountCommon(const BYTE* run, int n, int k)
{
    int found = 0;
    for (int i = 0; i < n; ++i) {
        if (CommonCharTable[UnitAt(run, i)]) {
            found += 1;
            if (found == k)
                return TRUE;
        }
    }
    return FALSE;
}

int ReferenceNoisePoints(const BYTE* run, int n)
{
    std::map<WCHAR, int> counters;  // every counter starts at 0
    int score = 0;
    for (int i = 0; i < n; ++i) {
        const WCHAR c = UnitAt(run, i);
        if (OtherCharTable[c]) {
            score += 1;
        } else if (c >= 0x4E00 && c <= 0x9FA5) {
            const int counter = ++counters[c];
            if (counter > score)
                score = counter;
        }
    }
    return score;
}

double ReferenceNoiseScore(const BYTE* run, int n)
{
    return ReferenceNoisePoints(run, n) * 100.0 / n;
}

CString ReferenceCleanRun(BYTE* run)
{
    std::vector<WCHAR> out;
    int written = 0;
    int column = 0;
    int low = 0;
    for (BYTE* p = run; UnitAt(p, 0) != 0 && written < 65536; p += 2) {
        const WCHAR original = UnitAt(p, 0);
        WCHAR c = original;
        column += 1;
        if (c == L'\r' || c == L'\n') {
            column = 0;
        } else if (c == L'?' || c < 0x20) {
            c = L' ';
            BlankUnit(p);
        }
        if (original < 0x00FF)
            low += 1;
        if (column > 256) {
            out.push_back(L'\r');
            out.push_back(L'\n');
            written += 2;
            column = 0;
        }
        out.push_back(c);
        written += 1;
    }
    if (low > 2 * written / 3)
        return CString();
    return CString(out.data(), written);
}

void ReferenceScanBlock(BYTE* block, int size, CString& text)
{
    // Kept between calls only to spare the fuzzer an allocation per block: one thread at a time.
    static std::vector<int> lengthBuffer;
    ViewLengthTable lengths(block, size, lengthBuffer);
    int position = 0;
    while (position < size) {
        int start0 = position;
        int start1 = position + 1;
        int length0 = lengths.At(start0);
        int length1 = lengths.At(start1);
        if (length1 > length0 + 2) {
            start0 += 2;
            length0 = lengths.At(start0);
        } else if (length0 > length1 + 2) {
            start1 += 2;
            length1 = lengths.At(start1);
        }
        int count0 = 0, count1 = 0, first0 = -1, first1 = -1;
        if (length0 > 20)
            ReferenceMeasureRun(block + start0, length0, count0, first0);
        if (length1 > 20)
            ReferenceMeasureRun(block + start1, length1, count1, first1);
        if (count0 > 20 || count1 > 20) {
            const bool takeView0 = count0 > count1;
            const int start = takeView0 ? start0 : start1;
            const int count = takeView0 ? count0 : count1;
            const int first = takeView0 ? first0 : first1;
            const int cut = start + 2 * count;
            block[cut] = 0;
            block[cut + 1] = 0;
            BYTE* const run = block + (first == 0 ? start + 2 : start);
            bool accepted = ReferenceCountCommon(run, 20, 10) != FALSE;
            if (accepted && count > 40)
                accepted = ReferenceNoiseScore(run + 2 * 20, 20) < 20.0;
            if (accepted) {
                const CString cleaned = ReferenceCleanRun(run);
                if (!cleaned.IsEmpty()) {
                    text += cleaned;
                    text += L"\r\n-----------------------\r\n";
                }
            }
            // The cut and the blanks lie below cut + 2; no view starts before the position.
            lengths.Recount(position, cut + 2);
            position += 2 * count + 6;
        } else {
            if (length0 > 1000 || length1 > 1000) {
                const BYTE* longer = length0 > length1 ? block + start0 : block + start1;
                if (ReferenceCountNonText(longer, 20, 10) == 10) {
                    position += 5;
                    continue;
                }
            }
            if (first0 > 0 || first1 > 0)
                position += 2 + std::max(first0, first1);
            else
                position += 1 + std::min(256, std::max(length0, length1));
        }
    }
}
