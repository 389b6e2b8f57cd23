#include "ReferenceScanner.h"

#include <algorithm>

#include "engine/CleanRun.h"
#include "engine/CodeUnit.h"
#include "engine/RunTests.h"

static int WalkedLength(const BYTE* view)
{
    int length = 0;
    while (ReadUnit(view, length) != 0)
        ++length;
    return length;
}

void ReferenceScanBlock(BYTE* block, int size, CString& text)
{
    int position = 0;
    while (position < size) {
        int start0 = position;
        int start1 = position + 1;
        int length0 = WalkedLength(block + start0);
        int length1 = WalkedLength(block + start1);
        if (length1 > length0 + 2) {
            start0 += 2;
            length0 = WalkedLength(block + start0);
        } else if (length0 > length1 + 2) {
            start1 += 2;
            length1 = WalkedLength(block + start1);
        }
        int count0 = 0, count1 = 0, first0 = -1, first1 = -1;
        if (length0 > 20)
            MeasureRun(block + start0, length0, count0, first0);
        if (length1 > 20)
            MeasureRun(block + start1, length1, count1, first1);
        if (count0 > 20 || count1 > 20) {
            const bool takeView0 = count0 > count1;
            BYTE* const view = block + (takeView0 ? start0 : start1);
            const int count = takeView0 ? count0 : count1;
            const int first = takeView0 ? first0 : first1;
            WriteUnit(view + 2 * count, 0);
            BYTE* const run = first == 0 ? view + 2 : view;
            const bool accepted =
                CountCommon(run, 20, 10) && (count <= 40 || NoiseScore(run + 40, 20) < 20.0);
            if (accepted) {
                LPCWSTR cleaned = CleanRun(run);
                if (cleaned[0] != 0) {
                    text += cleaned;
                    text += L"\r\n-----------------------\r\n";
                }
            }
            position += 2 * count + 6;
        } else {
            if (length0 > 1000 || length1 > 1000) {
                const BYTE* longer = length0 > length1 ? block + start0 : block + start1;
                if (CountNonText(longer, 20, 10) == 10) {
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
