#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "engine/CharTables.h"
#include "testutil.h"

namespace {

const WCHAR ZHONG = 0x4E2D;  // listed as common; read in the other alignment: U+2D4E, no text
const WCHAR WEN = 0x6587;    // listed as common
const WCHAR NOISE = 0x0080;  // no text character

class ScanBlock : public ::testing::Test {
protected:
    void SetUp() override
    {
        BuildTablesFromLists({}, {});
        ListAsCommon(ZHONG);
        ListAsCommon(WEN);
    }
    void TearDown() override { FreeCharTables(); }

    static std::string Scan(const Bytes& data) { return Utf8(BlockArea(data).Scan()); }
    static std::string Scan(const Units& units) { return Scan(ToBytes(units)); }

    // 25 ideographs alternating U+4E2D and U+6587.
    static Units HalfTextRun()
    {
        Units run;
        for (int i = 0; i < 25; ++i)
            run.push_back(i % 2 == 0 ? ZHONG : WEN);
        return run;
    }
    // Bytes 0-4: FF FF, third, a zero unit at offset 3; from offset 5 the odd-aligned
    // HalfTextRun, then FF bytes up to size (even), after which the block's zero bytes follow.
    // The even view from 0 runs on to size / 2 units; its first 20 units hold 8 non-text units
    // among the bytes of the run (U+2D65 between the ideographs) and 2 or 3 at the start: 3 when
    // third is no text character. The odd view from 1 ends at once.
    static Bytes HalfTextBlock(BYTE third, int size)
    {
        Bytes bytes = {0xFF, 0xFF, third, 0x00, 0x00};
        const Bytes runBytes = ToBytes(HalfTextRun());
        bytes.insert(bytes.end(), runBytes.begin(), runBytes.end());
        bytes.resize(static_cast<size_t>(size), 0xFF);
        return bytes;
    }
};

}  // namespace

TEST_F(ScanBlock, ZeroBytesGiveNothing)
{
    EXPECT_EQ(Scan(Bytes(65536, 0)), "");
    EXPECT_EQ(Scan(Bytes(1, 0)), "");
}

TEST_F(ScanBlock, ARunOfCommonIdeographsIsKept)
{
    EXPECT_EQ(Scan(Repeat(ZHONG, 25)), U(Repeat(ZHONG, 25)) + RunSep());
    // Two runs in one block, each followed by the separator.
    const Units two = Repeat(ZHONG, 25) + Repeat(0, 8) + Repeat(ZHONG, 30);
    EXPECT_EQ(Scan(two), U(Repeat(ZHONG, 25)) + RunSep() + U(Repeat(ZHONG, 30)) + RunSep());
}

TEST_F(ScanBlock, CandidateNeedsMoreThan20TextUnits)
{
    // Count 20 (the non-text unit is passed over): no candidate.
    EXPECT_EQ(Scan(Repeat(ZHONG, 10) + Units{NOISE} + Repeat(ZHONG, 10)), "");
    // Count 21: the run is cut after its first 21 units, the non-text one among them, so it loses
    // its last ideograph.
    EXPECT_EQ(Scan(Repeat(ZHONG, 10) + Units{NOISE} + Repeat(ZHONG, 11)),
              U(Repeat(ZHONG, 10) + Units{NOISE} + Repeat(ZHONG, 10)) + RunSep());
}

TEST_F(ScanBlock, NoiseTestOnlyAbove40Units)
{
    // Units 20 to 39 repeat one ideograph: a score of 100 rejects the run, but only a run of more
    // than 40 counted units takes the test.
    EXPECT_EQ(Scan(Repeat(ZHONG, 40)), U(Repeat(ZHONG, 40)) + RunSep());
    EXPECT_EQ(Scan(Repeat(ZHONG, 41)), "");
    // Varied listed ideographs pass it.
    Units varied;
    for (WCHAR c = 0x5000; c < 0x5000 + 60; ++c) {
        ListAsCommon(c);
        varied.push_back(c);
    }
    EXPECT_EQ(Scan(varied), U(varied) + RunSep());
}

TEST_F(ScanBlock, EqualCountsTakeView1)
{
    // U+4E00 read in the other alignment is the letter N: both views count 25 and view 1 wins,
    // and cleaning drops its letters.
    EXPECT_EQ(Scan(Repeat(0x4E00, 25)), "");
    // Bytes 4E 4E ... read as U+4E4E in both alignments; view 1 ends in U+004E (its last byte
    // pairs with a zero byte), so its run shows which view was taken.
    ListAsCommon(0x4E4E);
    EXPECT_EQ(Scan(Bytes(50, 0x4E)), U(Repeat(0x4E4E, 24) + Units{L'N'}) + RunSep());
}

TEST_F(ScanBlock, ViewStartingWithNonTextGivesRunFromItsSecondUnit)
{
    // Count 25, cut after 25 units: the run is units 1 to 24.
    EXPECT_EQ(Scan(Units{NOISE} + Repeat(ZHONG, 25)), U(Repeat(ZHONG, 24)) + RunSep());
}

TEST_F(ScanBlock, RunsThatCleaningDropsAddNothing)
{
    // Accepted (letters are common), dropped by cleaning: not even a separator.
    EXPECT_EQ(Scan(ToBytes(Repeat(L'q', 25))), "");
    // Rejected: unlisted ideographs are no common characters.
    EXPECT_EQ(Scan(Repeat(0x4E01, 25)), "");
}

TEST_F(ScanBlock, FiveByteStepForViewsOver1000UnitsWithExactlyTenNonText)
{
    // With exactly 10 non-text units the position moves on by 5 bytes, onto the run; with 11 the
    // view's non-text first unit makes it move on by 257 bytes, past the run.
    EXPECT_EQ(Scan(HalfTextBlock('A', 4096)), U(HalfTextRun()) + RunSep());
    EXPECT_EQ(Scan(HalfTextBlock(0x80, 4096)), "");
    // The even view ended by a zero unit after 1001 units takes the step; after 1000 it does not.
    EXPECT_EQ(Scan(HalfTextBlock('A', 2 * 1001)), U(HalfTextRun()) + RunSep());
    EXPECT_EQ(Scan(HalfTextBlock('A', 2 * 1000)), "");
}

TEST_F(ScanBlock, StopFlagEndsTheScan)
{
    StopFlag stop(TRUE);
    EXPECT_EQ(Utf8(BlockArea(ToBytes(Repeat(ZHONG, 25))).Scan(-1, &stop)), "");
}

TEST_F(ScanBlock, RunAtTheBlockEndEndsWithItsLastByte)
{
    // The scanner is given 61 bytes, which end in the low byte of a 31st ideograph: the view runs
    // into the zero bytes after them, so its last unit pairs the block's last byte with a zero
    // byte (U+002D, a hyphen).
    Bytes bytes = ToBytes(Repeat(ZHONG, 31));
    bytes.resize(61);
    EXPECT_EQ(Utf8(BlockArea(bytes).Scan()), U(Repeat(ZHONG, 30) + Units{L'-'}) + RunSep());
}
