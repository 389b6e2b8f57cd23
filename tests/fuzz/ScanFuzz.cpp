// Fuzzes the block scanner and the file salvage with arbitrary bytes: the production scanner
// must give the same text and leave the same block as the literal reference scanner, and the
// file salvage must give the reference's block texts joined as the reader joins them. The file
// is the input tiled over one to three whole blocks and a partial one, so that runs are cut at
// block ends and a short last block follows longer ones. A difference aborts, after saving the
// input and both texts; the sanitizers catch any read outside the block area.
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "classlib/CFile.h"
#include "classlib/Utf8.h"
#include "engine/CharTables.h"
#include "engine/SalvageFile.h"
#include "engine/ScanBlock.h"
#include "engine/ReferenceScanner.h"
#include "engine/tagNode.h"

namespace {

const StopFlag NO_STOP(FALSE);
CString g_filePath;

void Fail(const char* what)
{
    std::fprintf(stderr, "scan_fuzz: %s\n", what);
    std::abort();
}

// Block areas, kept from one input to the next: fresh memory for every input would cost more
// than the scans.
std::vector<BYTE> g_expectedArea(BLOCK_AREA_SIZE);
std::vector<BYTE> g_actualArea(BLOCK_AREA_SIZE);

// The area zero-filled, holding size bytes of data at the block's offset.
BYTE* FillArea(std::vector<BYTE>& area, const uint8_t* data, size_t size)
{
    std::fill(area.begin(), area.end(), 0);
    std::memcpy(area.data() + BLOCK_OFFSET, data, size);
    return area.data() + BLOCK_OFFSET;
}

// The salvaged text of the bytes, block by block, with the reference scanner.
CString ReferenceSalvage(const uint8_t* data, size_t size)
{
    CString result;
    for (size_t offset = 0; offset < size; offset += BLOCK_SIZE) {
        const size_t blockSize = std::min(size - offset, static_cast<size_t>(BLOCK_SIZE));
        BYTE* const block = FillArea(g_expectedArea, data + offset, blockSize);
        CString blockText;
        ReferenceScanBlock(block, static_cast<int>(blockSize), blockText);
        if (!blockText.IsEmpty()) {
            if (!result.IsEmpty())
                result += BLOCK_SEPARATOR;
            result += blockText;
        }
    }
    return result;
}

void CompareScanners(const uint8_t* data, size_t size)
{
    CString expected;
    ReferenceScanBlock(FillArea(g_expectedArea, data, size), static_cast<int>(size), expected);
    CString actual;
    ScanBlock(FillArea(g_actualArea, data, size), static_cast<int>(size), actual, &NO_STOP);
    if (!(actual == expected))
        Fail("the scanner's text differs from the reference");
    if (g_actualArea != g_expectedArea)
        Fail("the scanner wrote other bytes than the reference");
}

// The file's bytes: the input repeated from its start over one to three whole blocks (its first
// byte picks how many) and its own size more.
const std::vector<BYTE>& TiledFile(const uint8_t* data, size_t size)
{
    static std::vector<BYTE> file;
    const size_t wholeBlocks = 1 + data[0] % 3;
    file.resize(wholeBlocks * BLOCK_SIZE + size);
    for (size_t offset = 0; offset < file.size(); offset += size)
        std::memcpy(file.data() + offset, data, std::min(size, file.size() - offset));
    return file;
}

// Writes the file and reads it back as the salvage will read it. FALSE when the disk did not
// give back what was written: that says nothing about the engine.
bool WriteTempFile(const std::vector<BYTE>& bytes)
{
    try {
        CFile out;
        if (!out.Open(g_filePath, CFile::modeCreate | CFile::modeWrite))
            return false;
        out.Write(bytes.data(), static_cast<UINT>(bytes.size()));
        out.Close();
        static std::vector<BYTE> back;
        back.resize(bytes.size() + 1);
        CFile in;
        if (!in.Open(g_filePath, CFile::modeRead | CFile::shareExclusive))
            return false;
        const UINT read = in.Read(back.data(), static_cast<UINT>(back.size()));
        in.Close();
        back.resize(read);
        return back == bytes;
    } catch (CFileException* e) {
        e->Delete();
        return false;
    }
}

void SaveBytes(const std::string& path, const void* bytes, size_t size)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(bytes, 1, size, file) != size)
        std::fprintf(stderr, "scan_fuzz: cannot write %s\n", path.c_str());
    if (file)
        std::fclose(file);
}

// Keeps the input and both texts (raw UTF-16LE) in the current folder before the abort.
void SaveMismatch(const uint8_t* data, size_t size, const CString& actual, const CString& expected)
{
    const std::string stem = "scan_fuzz-mismatch-" + std::to_string(getpid());
    SaveBytes(stem + "-input.bin", data, size);
    SaveBytes(stem + "-salvage.txt", actual.GetString(), actual.GetLength() * sizeof(WCHAR));
    SaveBytes(stem + "-reference.txt", expected.GetString(), expected.GetLength() * sizeof(WCHAR));
    std::fprintf(stderr, "scan_fuzz: saved %s-*: texts of %d and %d units\n", stem.c_str(),
                 actual.GetLength(), expected.GetLength());
}

CString SalvageTempFile()
{
    tagNode node;
    node.strPath = g_filePath;
    std::unique_ptr<CString> text(SalvageFile(&node, &NO_STOP));
    return *text;
}

void CompareSalvage(const uint8_t* data, size_t size)
{
    const std::vector<BYTE>& file = TiledFile(data, size);
    if (!WriteTempFile(file)) {
        std::fprintf(stderr, "scan_fuzz: the temporary file did not read back as written; input skipped\n");
        return;
    }
    const CString actual = SalvageTempFile();
    const CString expected = ReferenceSalvage(file.data(), file.size());
    if (!(actual == expected)) {
        SaveMismatch(data, size, actual, expected);
        // Told apart for whoever reads the log: a second salvage that matches hints at the
        // environment rather than the engine.
        std::fprintf(stderr, "scan_fuzz: a second salvage %s\n",
                     SalvageTempFile() == expected ? "matches" : "differs as well");
        Fail("the file salvage differs from the reference");
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The tables come from the shipped lists beside the fuzzer; the current folder stays, for
    // the corpus folders and the crash files.
    char start[PATH_MAX];
    if (!getcwd(start, sizeof start) || !BuildCharTables() || chdir(start) != 0)
        Fail("cannot build the character tables");
    g_filePath = Utf8ToWide("/tmp/scan_fuzz-" + std::to_string(getpid()) + ".bin");
    std::atexit([] { std::remove(WideToUtf8(g_filePath).c_str()); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    if (size <= static_cast<size_t>(BLOCK_SIZE))
        CompareScanners(data, size);
    CompareSalvage(data, size);
    return 0;
}
