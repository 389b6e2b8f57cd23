#include <gtest/gtest.h>

#include <random>

#include "EngineTestSupport.h"
#include "engine/CodeUnit.h"
#include "engine/ViewLengths.h"

namespace {

int WalkedLength(const BYTE* view)
{
    int length = 0;
    while (ReadUnit(view, length) != 0)
        ++length;
    return length;
}

}  // namespace

// The kept stretches must answer exactly like a walk over the block as it is now, whatever the
// order of the requests and wherever zero units are written.
TEST(ViewLengths, AnswersLikeAWalkAfterZeroWrites)
{
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        const int size = 64 + static_cast<int>(random() % 4000);
        Bytes block(static_cast<size_t>(size) + 16, 0);
        const int density = 1 + static_cast<int>(random() % 4);  // from dense to zero-rich data
        for (int i = 0; i < size; ++i)
            block[static_cast<size_t>(i)] = random() % density == 0 ? 0 : static_cast<BYTE>(random());
        ViewLengths lengths(block.data());
        int offset = 0;
        for (int step = 0; step < 2000; ++step) {
            switch (random() % 8) {
            case 0:  // anywhere, back or forward
                offset = static_cast<int>(random() % static_cast<unsigned>(size));
                break;
            case 1: {  // a zero unit written somewhere
                const int at = static_cast<int>(random() % static_cast<unsigned>(size - 1));
                WriteUnit(block.data() + at, 0);
                lengths.NoteZeroUnit(at);
                break;
            }
            default:  // the scanner's pattern: small steps, sometimes a unit back
                offset = std::max(0, std::min(size - 1, offset + static_cast<int>(random() % 9) - 2));
                break;
            }
            ASSERT_EQ(lengths.LengthAt(offset), WalkedLength(block.data() + offset))
                << "round " << round << " step " << step << " offset " << offset;
        }
    }
}
