#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "EngineTestSupport.h"
#include "classlib/CFile.h"
#include "engine/CharTables.h"
#include "engine/SalvageFile.h"
#include "engine/tagNode.h"
#include "testutil.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

const WCHAR ZHONG = 0x4E2D;
const LONGLONG TWO_GIB = 0x80000000LL;

class SalvageFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        BuildTablesFromLists({}, {});
        ListAsCommon(ZHONG);
    }
    void TearDown() override { FreeCharTables(); }

    std::string Salvage(const CString& path, const StopFlag* stop = nullptr)
    {
        static const StopFlag noStop(FALSE);
        tagNode node;
        node.strPath = path;
        std::unique_ptr<CString> text(SalvageFile(&node, stop ? stop : &noStop));
        return Utf8(*text);
    }
    std::string SalvageBytes(const Bytes& bytes)
    {
        const CString path = m_dir.Path(L"文档.doc");
        WriteBytes(path, bytes);
        return Salvage(path);
    }
    // A file of size bytes, zero but for the given units at the given byte offsets.
    static Bytes FileWith(int size, std::initializer_list<std::pair<int, Units>> runs)
    {
        Bytes bytes(static_cast<size_t>(size), 0);
        for (const auto& run : runs) {
            const Bytes runBytes = ToBytes(run.second);
            std::copy(runBytes.begin(), runBytes.end(), bytes.begin() + run.first);
        }
        return bytes;
    }

    // Extends the file to size bytes without writing them: the file system keeps the new part
    // sparse, which only reads as zero bytes.
    static bool ExtendToSize(const CString& path, LONGLONG size)
    {
#ifdef _WIN32
        HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        LARGE_INTEGER end;
        end.QuadPart = size;
        const bool extended =
            ::SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file);
        ::CloseHandle(file);  // nothing was written that a failed close could lose
        return extended;
#else
        return truncate(Utf8(path).c_str(), size) == 0;
#endif
    }

    TempDir m_dir;
};

}  // namespace

TEST_F(SalvageFileTest, UnreadableFilesGiveEmptyText)
{
    EXPECT_EQ(Salvage(m_dir.Path(L"missing.doc")), "");
    EXPECT_EQ(SalvageBytes({}), "");
    // Held open by another program.
    const CString path = m_dir.Path(L"held.doc");
    WriteBytes(path, ToBytes(Repeat(ZHONG, 30)));
    EXPECT_EQ(Salvage(path), U(Repeat(ZHONG, 30)) + RunSep());
    CFile holder;
    ASSERT_TRUE(holder.Open(path, CFile::modeRead | CFile::shareExclusive));
    EXPECT_EQ(Salvage(path), "");
}

TEST_F(SalvageFileTest, BlocksAreJoinedWithTheBlockSeparator)
{
    const Bytes bytes = FileWith(2 * BLOCK_SIZE, {{100, Repeat(ZHONG, 30)},
                                                  {BLOCK_SIZE + 200, Repeat(ZHONG, 25)}});
    EXPECT_EQ(SalvageBytes(bytes),
              U(Repeat(ZHONG, 30)) + RunSep() + BlockSep() + U(Repeat(ZHONG, 25)) + RunSep());
    // A block that yields nothing adds no separator.
    const Bytes gap = FileWith(3 * BLOCK_SIZE, {{100, Repeat(ZHONG, 30)},
                                               {2 * BLOCK_SIZE, Repeat(ZHONG, 25)}});
    EXPECT_EQ(SalvageBytes(gap),
              U(Repeat(ZHONG, 30)) + RunSep() + BlockSep() + U(Repeat(ZHONG, 25)) + RunSep());
}

TEST_F(SalvageFileTest, FileOf65537BytesIsTwoBlocks)
{
    // A run that ends at the first block's end is cut there: the next block starts afresh, and
    // a block of one byte holds no run.
    Bytes bytes = FileWith(BLOCK_SIZE + 1, {{BLOCK_SIZE - 60, Repeat(ZHONG, 30)}});
    bytes[BLOCK_SIZE] = 0x41;
    EXPECT_EQ(SalvageBytes(bytes), U(Repeat(ZHONG, 30)) + RunSep());
    // A run across the boundary is found as two runs, one per block.
    const Bytes across = FileWith(BLOCK_SIZE + 100, {{BLOCK_SIZE - 50, Repeat(ZHONG, 50)}});
    EXPECT_EQ(SalvageBytes(across),
              U(Repeat(ZHONG, 25)) + RunSep() + BlockSep() + U(Repeat(ZHONG, 25)) + RunSep());
}

TEST_F(SalvageFileTest, ShortLastBlockSeesNoBytesOfTheBlockBefore)
{
    // The second block's run ends with its 200 bytes; the first block held a run right behind
    // them. Read on into those, the run would count 52 and fail the noise test.
    const Bytes bytes = FileWith(BLOCK_SIZE + 200, {{200, Repeat(ZHONG, 30)},
                                                    {BLOCK_SIZE + 156, Repeat(ZHONG, 22)}});
    EXPECT_EQ(SalvageBytes(bytes),
              U(Repeat(ZHONG, 30)) + RunSep() + BlockSep() + U(Repeat(ZHONG, 22)) + RunSep());
}

TEST_F(SalvageFileTest, StopEndsTheSalvageWithTheTextSoFar)
{
    // Many blocks, each with runs: a stop at any moment leaves a beginning of the full text.
    Bytes bytes;
    for (int block = 0; block < 64; ++block) {
        for (int run = 0; run < 100; ++run) {
            const Bytes runBytes = ToBytes(Repeat(ZHONG, 30) + Units{0, 0});
            bytes.insert(bytes.end(), runBytes.begin(), runBytes.end());
        }
        bytes.resize(static_cast<size_t>(block + 1) * BLOCK_SIZE, 0);
    }
    const CString path = m_dir.Path(L"big.doc");
    WriteBytes(path, bytes);
    const std::string full = Salvage(path);

    StopFlag stop(TRUE);
    EXPECT_EQ(Salvage(path, &stop), "");

    StopFlag asked(FALSE);
    std::atomic<bool> started(false);
    std::thread stopper([&] {
        while (!started)
            std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        asked = 1;
    });
    started = true;
    const std::string stopped = Salvage(path, &asked);
    stopper.join();
    EXPECT_EQ(full.compare(0, stopped.size(), stopped), 0);
    EXPECT_LE(stopped.size(), full.size());
}

// Run cleaning's buffer and the noise counters are process-wide: two salvages at once must
// still give each file its own text. Every run takes the noise test near its limit (three
// repetitions of 中 among units 20 to 39), so counters mixed between the files reject runs,
// and the files' runs differ by their letters, so a mixed cleaning buffer shows.
TEST_F(SalvageFileTest, SalvagesOnTwoThreadsGiveEachFileItsOwnText)
{
    const int blocks = 8;
    const int rounds = 8;
    std::string alone[2];
    CString paths[2];
    for (int file = 0; file < 2; ++file) {
        const WCHAR letter = file == 0 ? L'a' : L'B';
        const Units noiseWindow = Repeat(letter, 17) + Repeat(ZHONG, 3);
        // Three zero units after each run: the scanner goes on right at the next one.
        const Units run = Repeat(ZHONG, 20) + noiseWindow + Repeat(ZHONG, 20) + Units{0, 0, 0};
        Bytes bytes;
        while (bytes.size() < static_cast<size_t>(blocks) * BLOCK_SIZE) {
            const Bytes runBytes = ToBytes(run);
            bytes.insert(bytes.end(), runBytes.begin(), runBytes.end());
        }
        paths[file] = m_dir.Path(file == 0 ? L"a.doc" : L"b.doc");
        WriteBytes(paths[file], bytes);
        alone[file] = Salvage(paths[file]);
    }
    ASSERT_NE(alone[0], alone[1]);
    ASSERT_GT(alone[0].size(), 100000u);

    std::atomic<int> mixed(0);
    auto salvageOften = [&](int file) {
        for (int round = 0; round < rounds; ++round) {
            if (Salvage(paths[file]) != alone[file])
                ++mixed;
        }
    };
    std::thread other(salvageOften, 1);
    salvageOften(0);
    other.join();
    EXPECT_EQ(mixed, 0);
}

// Files from 2 GiB up are not read, one a byte shorter is; the size is compared as a 64-bit
// number, so a file of 4 GiB and 60 bytes does not pass for one of 60.
TEST_F(SalvageFileTest, FilesOf2GiBOrMoreAreNotRead)
{
    const CString path = m_dir.Path(L"huge.doc");
    WriteBytes(path, ToBytes(Repeat(ZHONG, 30)));
    ASSERT_TRUE(ExtendToSize(path, TWO_GIB - 1));
    EXPECT_EQ(Salvage(path), U(Repeat(ZHONG, 30)) + RunSep());
    ASSERT_TRUE(ExtendToSize(path, TWO_GIB));
    EXPECT_EQ(Salvage(path), "");
    ASSERT_TRUE(ExtendToSize(path, 2 * TWO_GIB + 60));
    EXPECT_EQ(Salvage(path), "");
}
