#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "engine/CharTables.h"
#include "engine/RunTests.h"

namespace {

const WCHAR IDEOGRAPH = 0x4E2D;  // listed as common in these tests
const WCHAR NOISE = 0x0080;      // neither text nor listed: an other character
const WCHAR DEL = 0x007F;        // not text, but no noise either

class RunTests : public ::testing::Test {
protected:
    void SetUp() override
    {
        BuildTablesFromLists({}, {});
        ListAsCommon(IDEOGRAPH);
    }
    void TearDown() override { FreeCharTables(); }

    struct Measured {
        int count;
        int firstBad;
    };
    // Measures over n units (all of them when -1); a zero unit follows the units.
    static Measured Measure(const Units& units, int n = -1)
    {
        const Bytes bytes = ToBytes(units + Units{0, 0});
        Measured m = {-99, -99};
        MeasureRun(bytes.data(), n < 0 ? static_cast<int>(units.size()) : n, m.count, m.firstBad);
        return m;
    }
    static int NonText(const Units& units) { return CountNonText(ToBytes(units).data(), 20, 10); }
    static BOOL Common(const Units& units) { return CountCommon(ToBytes(units).data(), 20, 10); }
    static double Noise(const Units& units)
    {
        return NoiseScore(ToBytes(units).data(), static_cast<int>(units.size()));
    }
};

}  // namespace

TEST_F(RunTests, MeasureRunCountsTextUpToTheZeroUnit)
{
    Measured m = Measure(Repeat(L'a', 30));
    EXPECT_EQ(m.count, 30);
    EXPECT_EQ(m.firstBad, -1);
    m = Measure(Repeat(L'a', 30), 12);  // n ends it
    EXPECT_EQ(m.count, 12);
    m = Measure(Repeat(L'a', 10) + Units{0} + Repeat(L'a', 10), 21);  // so does a zero unit
    EXPECT_EQ(m.count, 10);
    EXPECT_EQ(m.firstBad, -1);
}

TEST_F(RunTests, MeasureRunQuestionMarkRule)
{
    // In a row of '?' all but the last are bad, without setting firstBad.
    Measured m = Measure(Units{L'?', L'?'} + Repeat(L'a', 25));
    EXPECT_EQ(m.count, 26);
    EXPECT_EQ(m.firstBad, -1);
    m = Measure(Repeat(L'?', 5) + Repeat(L'a', 10));  // four bad, then text
    EXPECT_EQ(m.count, 11);
    m = Measure(Repeat(L'?', 6) + Repeat(L'a', 10));  // the fifth bad unit ends it
    EXPECT_EQ(m.count, 0);
    EXPECT_EQ(m.firstBad, -1);
    // A lone '?' is text; a '?' before the zero unit too.
    m = Measure(Units{L'a', L'?', L'a', L'?'});
    EXPECT_EQ(m.count, 4);
}

TEST_F(RunTests, MeasureRunPassesOverBadUnitsUntilTheFifth)
{
    Measured m = Measure(Units{DEL} + Repeat(L'a', 25));
    EXPECT_EQ(m.firstBad, 0);
    EXPECT_EQ(m.count, 25);  // U+007F is not counted
    // Five scattered non-text units: counting goes on behind the first four and stops at the
    // fifth.
    Units units = Repeat(L'a', 40);
    for (int i : {3, 9, 15, 20, 30})
        units[static_cast<size_t>(i)] = NOISE;
    m = Measure(units);
    EXPECT_EQ(m.firstBad, 3);
    EXPECT_EQ(m.count, 30 - 4);  // units 0..29 but the four bad ones before index 30
    // A '?' pair is bad too, but firstBad is the first non-text unit.
    m = Measure(Units{L'?', L'?', L'a', NOISE, L'a'});
    EXPECT_EQ(m.firstBad, 3);
    EXPECT_EQ(m.count, 3);
}

TEST_F(RunTests, CountNonTextStopsAboveTheLimit)
{
    auto withNonText = [](int nonText) { return Repeat(NOISE, nonText) + Repeat(L'a', 20 - nonText); };
    EXPECT_EQ(NonText(withNonText(9)), 9);
    EXPECT_EQ(NonText(withNonText(10)), 10);
    EXPECT_EQ(NonText(withNonText(11)), 11);
    EXPECT_EQ(NonText(withNonText(20)), 11);
    // The zero unit does not end the count; it is simply no text character.
    EXPECT_EQ(NonText(Repeat(L'a', 10) + Repeat(0, 10)), 10);
}

TEST_F(RunTests, CountCommonNeedsKCommonUnits)
{
    EXPECT_TRUE(Common(Repeat(IDEOGRAPH, 10) + Repeat(NOISE, 10)));
    EXPECT_FALSE(Common(Repeat(IDEOGRAPH, 9) + Repeat(0x4E00, 11)));  // unlisted ideographs
    EXPECT_TRUE(Common(Repeat(0, 10) + Repeat(L' ', 10)));          // zero units do not end it
    EXPECT_FALSE(Common(Repeat(L'\r', 20)));
}

TEST_F(RunTests, NoiseScoreCountsOtherCharactersAndRepeats)
{
    EXPECT_DOUBLE_EQ(Noise(Repeat(L'a', 20)), 0.0);
    EXPECT_DOUBLE_EQ(Noise(Repeat(NOISE, 4) + Repeat(L'a', 16)), 20.0);
    EXPECT_DOUBLE_EQ(Noise(Repeat(NOISE, 3) + Repeat(L'a', 17)), 15.0);
    EXPECT_DOUBLE_EQ(Noise(Repeat(IDEOGRAPH, 4) + Repeat(L'a', 16)), 20.0);
    // CJK punctuation and unlisted ideographs are text, yet noise.
    EXPECT_DOUBLE_EQ(Noise(Units{0x3002, 0x4E00} + Repeat(L'a', 18)), 10.0);
    // A fresh start at every call.
    EXPECT_DOUBLE_EQ(Noise(Repeat(L'a', 20)), 0.0);
}

TEST_F(RunTests, NoiseScoreDependsOnOrder)
{
    // X, X, other: the repeat raises the score to 2, the other character adds one: 3.
    EXPECT_DOUBLE_EQ(Noise(Units{IDEOGRAPH, IDEOGRAPH, NOISE} + Repeat(L'a', 17)), 15.0);
    // other, X, X: the score is 1, then the second X raises it to 2 only.
    EXPECT_DOUBLE_EQ(Noise(Units{NOISE, IDEOGRAPH, IDEOGRAPH} + Repeat(L'a', 17)), 10.0);
}

TEST_F(RunTests, NoiseScoreAfterManyDistinctIdeographs)
{
    // More distinct ideographs than the counter remembers: the next call must still start clear.
    Units many;
    for (WCHAR c = 0x5000; c < 0x5000 + 300; ++c)
        many.push_back(c);
    for (WCHAR c = 0x5000; c < 0x5000 + 300; ++c)
        ListAsCommon(c);
    EXPECT_DOUBLE_EQ(Noise(many), 100.0 / 300);
    EXPECT_DOUBLE_EQ(Noise(Units{0x5000, 0x5001, 0x5002} + Repeat(L'a', 17)), 5.0);
}
