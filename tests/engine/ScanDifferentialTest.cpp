// The production engine against the literal one: the run tests and cleaning on seeded random
// runs, and the scanner on random and structured blocks, whose texts and blocks after the scan
// (the scanner writes into them) must match byte for byte.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "EngineTestSupport.h"
#include "ReferenceScanner.h"
#include "engine/CharTables.h"
#include "engine/CleanRun.h"
#include "engine/RunTests.h"
#include "engine/SalvageFile.h"
#include "engine/ScanBlock.h"
#include "testutil.h"

namespace {

// The scanner rejects a run whose noise score reaches this percentage.
const double NOISE_LIMIT = 20.0;

class BlockMaker {
public:
    explicit BlockMaker(unsigned seed) : m_random(seed) {}

    int Below(int n) { return static_cast<int>(m_random() % static_cast<unsigned>(n)); }
    BYTE AnyByte() { return static_cast<BYTE>(m_random()); }

    // Uniform random bytes.
    Bytes Noise(int size)
    {
        Bytes bytes(static_cast<size_t>(size));
        for (BYTE& b : bytes)
            b = AnyByte();
        return bytes;
    }

    // Mostly zero bytes, with single bytes and short bursts.
    Bytes Sparse(int size)
    {
        Bytes bytes(static_cast<size_t>(size), 0);
        for (int i = Below(size / 8 + 1); i > 0; --i) {
            const int at = Below(size);
            for (int k = Below(6); k >= 0 && at + k < size; --k)
                bytes[static_cast<size_t>(at + k)] = AnyByte();
        }
        return bytes;
    }

    // Pieces of every kind the scanner judges differently, in both alignments.
    Bytes Structured(int size)
    {
        Bytes bytes;
        while (static_cast<int>(bytes.size()) < size) {
            if (Below(8) == 0) {
                // Bytes that read as ideographs in both alignments: equal counts in the views.
                for (int i = 1 + Below(120); i > 0; --i)
                    bytes.push_back(static_cast<BYTE>(0x50 + Below(Below(2) ? 2 : 0x50)));
                continue;
            }
            const Units piece = Piece();
            if (Below(3) == 0)
                bytes.push_back(AnyByte());  // shifts the alignment of what follows
            const Bytes pieceBytes = ToBytes(piece);
            bytes.insert(bytes.end(), pieceBytes.begin(), pieceBytes.end());
        }
        bytes.resize(static_cast<size_t>(size));
        return bytes;
    }

    // A unit of a random class: common ideograph, text ideograph, unlisted ideograph,
    // punctuation, letter, '?', control, CR/LF, non-text, zero.
    WCHAR MixedUnit(int zeroWeight)
    {
        switch (Below(11 + zeroWeight)) {
        case 0:
        case 1:
            return static_cast<WCHAR>(0x4E2D + Below(8));  // 中 and neighbours, some common
        case 2:
            return static_cast<WCHAR>(0x4E00 + Below(0x51A6));
        case 3:
            return static_cast<WCHAR>(0x3000 + Below(0x40));
        case 4:
            return static_cast<WCHAR>(L'a' + Below(26));
        case 5:
            return L'?';
        case 6:
            return static_cast<WCHAR>(1 + Below(0x1F));
        case 7:
            return Below(2) ? L'\r' : L'\n';
        case 8:
            return static_cast<WCHAR>(0x0080 + Below(0x7F));
        case 9:
        case 10:
            return static_cast<WCHAR>(m_random());
        default:
            return 0;
        }
    }

private:
    Units Piece()
    {
        const int length = 1 + Below(Below(8) == 0 ? 1500 : 80);
        Units units;
        switch (Below(7)) {
        case 0:  // prose of common ideographs with punctuation and line breaks
            for (int i = 0; i < length; ++i) {
                const int kind = Below(20);
                units.push_back(kind == 0 ? 0x3002 : kind == 1 ? L'\r' : kind == 2 ? L'\n'
                                                                        : static_cast<WCHAR>(0x5000 + Below(40)));
            }
            break;
        case 1:  // one ideograph repeated: noise
            units = Repeat(static_cast<WCHAR>(0x4E2D + Below(3)), length);
            break;
        case 2:  // letters: accepted and then dropped by cleaning
            for (int i = 0; i < length; ++i)
                units.push_back(static_cast<WCHAR>(L'A' + Below(58)));
            break;
        case 3:  // '?' runs
            units = Repeat(L'?', length % 12);
            break;
        case 4:  // zero units
            units = Repeat(0, length % 40);
            break;
        default:  // every class mixed, near the thresholds of the tests
            for (int i = 0; i < length; ++i)
                units.push_back(MixedUnit(Below(3)));
            break;
        }
        return units;
    }

    std::mt19937 m_random;
};

class ScanDifferential : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        BuildShippedTables();
        // Some ideographs that the structured blocks use become common, some stay unlisted.
        for (WCHAR c = 0x5000; c < 0x5000 + 40; c += 2) {
            CommonCharTable[c] = 1;
            OtherCharTable[c] = 0;
        }
        // Listed units at both ends of the ideographs whose repetitions the noise score counts.
        for (WCHAR c : RANGE_EDGES)
            ListAsCommon(c);
    }
    static const WCHAR RANGE_EDGES[4];
    static void TearDownTestSuite() { FreeCharTables(); }

    // Scans copies of data with both scanners; returns the number of text units found.
    static int Compare(const Bytes& data, const char* what, int index)
    {
        Bytes expectedArea(BLOCK_AREA_SIZE, 0);
        std::copy(data.begin(), data.end(), expectedArea.begin() + BLOCK_OFFSET);
        Bytes actualArea = expectedArea;
        const int size = static_cast<int>(data.size());
        CString expected;
        ReferenceScanBlock(expectedArea.data() + BLOCK_OFFSET, size, expected);
        CString actual;
        static const StopFlag noStop(FALSE);
        ScanBlock(actualArea.data() + BLOCK_OFFSET, size, actual, &noStop);
        EXPECT_TRUE(actual == expected) << what << " block " << index << " of " << size
                                        << " bytes: texts of " << actual.GetLength() << " and "
                                        << expected.GetLength() << " units";
        EXPECT_TRUE(actualArea == expectedArea) << what << " block " << index << ": writes differ";
        return expected.GetLength();
    }
};

const WCHAR ScanDifferential::RANGE_EDGES[4] = {0x4DFF, 0x4E00, 0x9FA5, 0x9FA6};

}  // namespace

TEST_F(ScanDifferential, RandomBytes)
{
    BlockMaker maker(1);
    for (int i = 0; i < 60; ++i)
        Compare(maker.Noise(1 + maker.Below(i < 4 ? BLOCK_SIZE : 6000)), "random", i);
}

TEST_F(ScanDifferential, SparseBytes)
{
    BlockMaker maker(2);
    for (int i = 0; i < 60; ++i)
        Compare(maker.Sparse(1 + maker.Below(i < 10 ? BLOCK_SIZE : 8000)), "sparse", i);
}

TEST_F(ScanDifferential, StructuredBlocks)
{
    BlockMaker maker(3);
    int found = 0;
    for (int i = 0; i < 240; ++i) {
        const int size = i < 20 ? BLOCK_SIZE : 1 + maker.Below(20000);
        found += Compare(maker.Structured(size), "structured", i);
    }
    EXPECT_GT(found, 10000);  // the blocks do hold text that the scanner takes
}

// Every argument the tests and cleaning take, not only those the scanner passes: any n, runs
// longer than cleaning takes in, and noise windows with more distinct ideographs than the noise
// counter remembers, called in a row so that a call sees what the one before left behind.
TEST_F(ScanDifferential, RunTestsAndCleaning)
{
    BlockMaker maker(4);
    for (int i = 0; i < 400; ++i) {
        const int length = i % 40 == 0 ? 66000 + maker.Below(4000) : 1 + maker.Below(400);
        const int zeroWeight = maker.Below(2) ? 0 : maker.Below(3);
        Units units;
        for (int k = 0; k < length; ++k)
            units.push_back(maker.MixedUnit(zeroWeight));
        if (i % 4 == 1) {  // repetitions at the ends of the counted ideographs
            for (WCHAR& c : units) {
                if (maker.Below(3) == 0)
                    c = RANGE_EDGES[maker.Below(4)];
            }
        }
        if (maker.Below(2)) {  // a stretch of plain prose, as long runs hold
            const int at = maker.Below(length);
            for (int k = at; k < length && k < at + 600; ++k)
                units[static_cast<size_t>(k)] = static_cast<WCHAR>(0x5000 + maker.Below(40));
        }
        Bytes run = ToBytes(units + Units{0, 0});
        const int n = 1 + maker.Below(length);
        SCOPED_TRACE(testing::Message() << "run " << i << " of " << length << " units, n " << n);

        int count, firstBad, expectedCount, expectedFirstBad;
        MeasureRun(run.data(), n, count, firstBad);
        ReferenceMeasureRun(run.data(), n, expectedCount, expectedFirstBad);
        EXPECT_EQ(count, expectedCount);
        EXPECT_EQ(firstBad, expectedFirstBad);
        const int limit = maker.Below(n + 1);
        EXPECT_EQ(CountNonText(run.data(), n, limit), ReferenceCountNonText(run.data(), n, limit));
        const int k = 1 + maker.Below(n);
        EXPECT_EQ(CountCommon(run.data(), n, k), ReferenceCountCommon(run.data(), n, k));
        // The score in points and the scanner's decision on it, not the percentage's last bits,
        // which two computations of the same quotient need not share.
        const double noise = NoiseScore(run.data(), n);
        EXPECT_EQ(std::lround(noise * n / 100.0), ReferenceNoisePoints(run.data(), n));
        EXPECT_EQ(noise < NOISE_LIMIT, ReferenceNoiseScore(run.data(), n) < NOISE_LIMIT);

        Bytes expectedRun = run;
        const CString expected = ReferenceCleanRun(expectedRun.data());
        int cleanedLength;
        LPCWSTR cleaned = CleanRun(run.data(), &cleanedLength);
        EXPECT_TRUE(CString(cleaned, cleanedLength) == expected)
            << "cleaned texts of " << cleanedLength << " and " << expected.GetLength() << " units";
        EXPECT_TRUE(run == expectedRun) << "cleaning wrote other units";
    }
}
