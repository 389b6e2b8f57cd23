#include "engine/SalvageFile.h"

#include <cstring>
#include <mutex>
#include <new>

#include "classlib/CFile.h"
#include "classlib/CFileException.h"
#include "engine/ScanBlock.h"
#include "engine/tagNode.h"

#ifndef _WIN32
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#endif

const WCHAR BLOCK_SEPARATOR[] = L"\r\n--------------------------\r\n";
static_assert(sizeof(BLOCK_SEPARATOR) / sizeof(WCHAR) == 30 + 1, "CR LF, 26 hyphens, CR LF");

static_assert(BLOCK_AREA_SIZE - BLOCK_OFFSET - BLOCK_SIZE >= 1536, "zero bytes after a block");

static void Truncate(CString& text, int length)
{
    text.GetBuffer();
    text.ReleaseBuffer(length);
}

// The block separator was appended at lengthBefore, ahead of a block's text: when the block added
// nothing behind it, it goes again.
static void TakeBackUnusedSeparator(CString& text, int lengthBefore, int lengthWithSeparator)
{
    if (text.GetLength() == lengthWithSeparator && lengthWithSeparator > lengthBefore)
        Truncate(text, lengthBefore);
}

// Files of this size (2 GiB) or more are not read, whatever they hold: no document is that big.
static const ULONGLONG MAX_FILE_SIZE = 0x80000000ULL;
// Most units reserved for the text in advance (64 MiB).
static const ULONGLONG MAX_RESERVED_UNITS = 32 * 1024 * 1024;

// Reads and scans the blocks of an open file into result. Raises the file exception of a failed
// read.
static void SalvageBlocks(CFile& file, ULONGLONG size, BYTE* area, CString& result,
                          const StopFlag* stop)
{
    BYTE* const block = area + BLOCK_OFFSET;
    // Bytes after the block that may still hold data of an earlier, longer block.
    int dirtyEnd = 0;
    ULONGLONG position = 0;
    int blockSize = BLOCK_SIZE;
    while (position < size) {
        if (StopAsked(stop))
            break;
        if (size - position < static_cast<ULONGLONG>(blockSize))
            blockSize = static_cast<int>(size - position);
        const int read = static_cast<int>(file.Read(block, static_cast<UINT>(blockSize)));
        if (read == 0 || StopAsked(stop))
            break;
        // Every byte from the end of the data to the end of the area must be zero: the scanner
        // writes only over non-zero bytes of the data (or zero over zero), so clearing what the
        // earlier blocks left behind the new data is enough.
        if (read < dirtyEnd)
            std::memset(block + read, 0, static_cast<size_t>(dirtyEnd - read));
        dirtyEnd = read;
        // The block's text goes straight into the result, behind a block separator that is taken
        // back when the block adds nothing: no copy of each block's text.
        const int lengthBefore = result.GetLength();
        if (lengthBefore > 0)
            result += BLOCK_SEPARATOR;
        const int lengthWithSeparator = result.GetLength();
        // A short read is scanned as asked: the missing bytes read as zeros.
        try {
            ScanBlock(block, blockSize, result, stop);
        } catch (const std::bad_alloc&) {
            TakeBackUnusedSeparator(result, lengthBefore, lengthWithSeparator);
            throw;
        }
        TakeBackUnusedSeparator(result, lengthBefore, lengthWithSeparator);
        position += static_cast<ULONGLONG>(blockSize);
    }
}

// The first write to each fresh page of the text costs a page fault, and a dear one in a virtual
// machine: on the build machine about 13 us a page, half the time of salvaging a file rich in
// text (where it shows as the copy of each cleaned run into the text). A Linux host asks for the
// reservation to be backed by huge pages, one fault per 2 MiB. Windows grants large pages only
// with a privilege that the program does not hold.
#ifdef _WIN32
static void AskForHugePages(const CString&, int)
{
}
#else
// A smaller reservation holds no whole huge page worth the advice.
static const size_t MIN_HUGE_PAGE_RESERVATION = 4 * 1024 * 1024;

static void AskForHugePages(const CString& text, int units)
{
    const size_t bytes = static_cast<size_t>(units) * sizeof(WCHAR);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (bytes < MIN_HUGE_PAGE_RESERVATION || pageSize <= 0)
        return;
    const uintptr_t mask = static_cast<uintptr_t>(pageSize) - 1;
    const uintptr_t first = reinterpret_cast<uintptr_t>(text.GetString());
    const uintptr_t start = (first + mask) & ~mask;
    const uintptr_t end = (first + bytes) & ~mask;
    // Only advice: refused (no huge pages in this kernel), the text keeps small pages.
    (void)madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}
#endif

// Room for text of about half the file's bytes (in units), so that the text of a file that is
// mostly text does not regrow and copy itself. Returns the units reserved: 0 when the memory is
// not there, which only costs the regrowing.
static int ReserveText(CString& text, ULONGLONG fileSize)
{
    const int units = static_cast<int>(fileSize / 2 < MAX_RESERVED_UNITS ? fileSize / 2 : MAX_RESERVED_UNITS);
    try {
        text.Preallocate(units);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    AskForHugePages(text, units);
    return units;
}

// The whole salvage of one file, with the process to itself.
static CString* SalvageFileAlone(const tagNode* node, const StopFlag* stop)
{
    CString* result = new CString;
    BYTE area[BLOCK_AREA_SIZE];
    std::memset(area, 0, sizeof area);
    CFile file;
    if (!file.Open(node->strPath, CFile::modeRead | CFile::shareExclusive))
        return result;
    int reserved = 0;
    try {
        const ULONGLONG size = file.GetLength();
        if (size != 0 && size < MAX_FILE_SIZE) {
            reserved = ReserveText(*result, size);
            SalvageBlocks(file, size, area, *result, stop);
        }
        file.Close();
    } catch (CFileException* e) {
        // A damaged disk: keep what was found before the unreadable part.
        e->Delete();
        file.Abort();
    } catch (const std::bad_alloc&) {
        // More text than memory: keep the whole runs that fitted, each with its separator.
        file.Abort();
    }
    // Give back a reservation that the text left mostly unused.
    if (result->GetLength() < reserved / 2) {
        try {
            result->FreeExtra();
        } catch (const std::bad_alloc&) {
            // keeps the larger buffer
        }
    }
    return result;
}

// Held for a whole salvage: run cleaning's buffer and the noise score's counters are process-wide,
// so two salvages that overlapped would silently mix their texts. A second caller waits.
static std::mutex s_salvageLock;

CString* SalvageFile(const tagNode* node, const StopFlag* stop)
{
    std::lock_guard<std::mutex> salvageAlone(s_salvageLock);
    return SalvageFileAlone(node, stop);
}
