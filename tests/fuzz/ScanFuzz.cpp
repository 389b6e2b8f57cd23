// Fuzzes the block scanner and the file salvage with arbitrary bytes: the production scanner
// must give the same text and leave the same block as the literal reference scanner, and the
// file salvage of the bytes must give the block texts joined as the reader joins them. Any
// difference aborts; the sanitizers catch any read outside the block area.
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

// The salvaged text of the bytes, block by block, with the reference scanner.
CString ReferenceSalvage(const uint8_t* data, size_t size)
{
    CString result;
    for (size_t offset = 0; offset < size; offset += BLOCK_SIZE) {
        const size_t blockSize = std::min(size - offset, static_cast<size_t>(BLOCK_SIZE));
        std::vector<BYTE> area(BLOCK_AREA_SIZE, 0);
        std::memcpy(area.data() + BLOCK_OFFSET, data + offset, blockSize);
        CString blockText;
        ReferenceScanBlock(area.data() + BLOCK_OFFSET, static_cast<int>(blockSize), blockText);
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
    std::vector<BYTE> expectedArea(BLOCK_AREA_SIZE, 0);
    std::memcpy(expectedArea.data() + BLOCK_OFFSET, data, size);
    std::vector<BYTE> actualArea = expectedArea;
    CString expected;
    ReferenceScanBlock(expectedArea.data() + BLOCK_OFFSET, static_cast<int>(size), expected);
    CString actual;
    ScanBlock(actualArea.data() + BLOCK_OFFSET, static_cast<int>(size), actual, &NO_STOP);
    if (actual != expected)
        Fail("the scanner's text differs from the reference");
    if (actualArea != expectedArea)
        Fail("the scanner wrote other bytes than the reference");
}

void CompareSalvage(const uint8_t* data, size_t size)
{
    {
        CFile file(g_filePath, CFile::modeCreate | CFile::modeWrite);
        file.Write(data, static_cast<UINT>(size));
        file.Close();
    }
    tagNode node;
    node.strPath = g_filePath;
    std::unique_ptr<CString> text(SalvageFile(&node, &NO_STOP));
    if (*text != ReferenceSalvage(data, size))
        Fail("the file salvage differs from the reference");
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
    if (size <= static_cast<size_t>(BLOCK_SIZE))
        CompareScanners(data, size);
    CompareSalvage(data, size);
    return 0;
}
