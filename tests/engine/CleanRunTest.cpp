#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "engine/CleanRun.h"
#include "testutil.h"

namespace {

const WCHAR IDEOGRAPH = 0x4E2D;

// Cleans the units (a zero unit is appended) and returns the result; the cleaned input comes
// back through input when given.
std::string Clean(const Units& units, Units* input = nullptr)
{
    Bytes bytes = ToBytes(units + Units{0});
    const std::string cleaned = Utf8(CleanRun(bytes.data()));
    if (input) {
        input->clear();
        for (size_t i = 0; i + 1 < bytes.size(); i += 2)
            input->push_back(static_cast<WCHAR>(bytes[i] | (bytes[i + 1] << 8)));
        input->pop_back();
    }
    return cleaned;
}

const Units CRLF = {L'\r', L'\n'};

}  // namespace

TEST(CleanRun, BlanksQuestionMarksAndControlsInOutputAndInput)
{
    Units input;
    EXPECT_EQ(Clean(Units{IDEOGRAPH, L'a', L'?'}, &input), U(Units{IDEOGRAPH, L'a', L' '}));
    EXPECT_EQ(input, (Units{IDEOGRAPH, L'a', L' '}));
    // A tab becomes a blank; CR and LF stay.
    const Units run = Repeat(IDEOGRAPH, 6) + Units{L'\t', L'\r', L'\n', 0x01};
    EXPECT_EQ(Clean(run, &input), U(Repeat(IDEOGRAPH, 6) + Units{L' ', L'\r', L'\n', L' '}));
    EXPECT_EQ(input, (Repeat(IDEOGRAPH, 6) + Units{L' ', L'\r', L'\n', L' '}));
    EXPECT_EQ(Clean(Units{}), "");
}

TEST(CleanRun, DropsRunsMostlyBelowU00FF)
{
    // written 4, low 3 > floor(8 / 3) = 2: dropped.
    EXPECT_EQ(Clean(Units{IDEOGRAPH, L'a', L'b', L'c'}), "");
    // written 3, low 2 = floor(6 / 3): kept.
    EXPECT_EQ(Clean(Units{IDEOGRAPH, L'a', L'b'}), U(Units{IDEOGRAPH, L'a', L'b'}));
    EXPECT_EQ(Clean(Repeat(L'x', 500)), "");
    // U+00FE counts as low, U+00FF does not.
    EXPECT_EQ(Clean(Units{IDEOGRAPH, 0x00FE, 0x00FE}), U(Units{IDEOGRAPH, 0x00FE, 0x00FE}));
    EXPECT_EQ(Clean(Units{0x00FE, 0x00FE, 0x00FE, IDEOGRAPH}), "");
    EXPECT_EQ(Clean(Units{0x00FF, 0x00FF, 0x00FF, IDEOGRAPH}), U(Units{0x00FF, 0x00FF, 0x00FF, IDEOGRAPH}));
}

TEST(CleanRun, BreaksLongLinesAfter256ThenEvery257)
{
    EXPECT_EQ(Clean(Repeat(IDEOGRAPH, 256)), U(Repeat(IDEOGRAPH, 256)));
    EXPECT_EQ(Clean(Repeat(IDEOGRAPH, 257)), U(Repeat(IDEOGRAPH, 256) + CRLF + Repeat(IDEOGRAPH, 1)));
    EXPECT_EQ(Clean(Repeat(IDEOGRAPH, 600)), U(Repeat(IDEOGRAPH, 256) + CRLF + Repeat(IDEOGRAPH, 257) +
                                                CRLF + Repeat(IDEOGRAPH, 87)));
    // A line break of the input restarts the count.
    const Units run = Repeat(IDEOGRAPH, 100) + CRLF + Repeat(IDEOGRAPH, 300);
    EXPECT_EQ(Clean(run), U(Repeat(IDEOGRAPH, 100) + CRLF + Repeat(IDEOGRAPH, 256) + CRLF +
                            Repeat(IDEOGRAPH, 44)));
}

TEST(CleanRun, InsertedBreaksCountTowardsKeepingTheRun)
{
    // 512 units, 342 of them low, get one inserted break: written 514, floor(2 x 514 / 3) = 342,
    // so the run is kept; without the break's two units (floor(2 x 512 / 3) = 341) it would not be.
    EXPECT_NE(Clean(Repeat(L'a', 342) + Repeat(IDEOGRAPH, 170)), "");
    EXPECT_EQ(Clean(Repeat(L'a', 343) + Repeat(IDEOGRAPH, 169)), "");
}

TEST(CleanRun, TakesInputWhileFewerThan65536UnitsAreWritten)
{
    const int length = Utf8ToWide(Clean(Repeat(IDEOGRAPH, 70000))).GetLength();
    EXPECT_GE(length, 65536);
    EXPECT_LE(length, 65538);
}
