#include "engine/CharTables.h"

#include <cstring>

#include "classlib/AfxMessageBox.h"
#include "classlib/CFile.h"
#include "classlib/CFileException.h"
#include "resources/LoadStr.h"
#include "engine/CodeUnit.h"
#include "resources/resource.h"

#ifdef _WIN32
#include "classlib/AppHandles.h"
#else
#include <unistd.h>

#include <climits>
#endif

BYTE* TextCharTable = nullptr;
BYTE* CommonCharTable = nullptr;
BYTE* OtherCharTable = nullptr;

const WCHAR TEXT_CHAR_FILE[] = L"Quillmend.dat";
const WCHAR COMMON_CHAR_FILE[] = L"QuillmendCY.dat";

// A data file starts with a byte-order mark, which is skipped unread.
static const int LIST_FIRST_MEMBER_OFFSET = 2;
// Bytes kept zero after a list's data, so that the list always ends in a zero unit, also after
// a final odd byte.
static const int LIST_TERMINATOR_BYTES = 4;

struct CharRange {
    WCHAR first;
    WCHAR last;
};

// Characters that may appear in salvaged text whatever the data files say, in the order marked.
static const CharRange FIXED_TEXT_RANGES[] = {
    {0xFF00, 0xFFEF},  // Halfwidth and Fullwidth Forms
    {0x2700, 0x27BF},  // Dingbats
    {0x3000, 0x303F},  // CJK Symbols and Punctuation
    {0xFE10, 0xFE1F},  // Vertical Forms
    {0xFE30, 0xFE4F},  // CJK Compatibility Forms
    {0x0001, 0x007E},  // C0 controls (tab, LF, CR among them) and printable ASCII
    {0x2014, 0x2014},  // em dash
    {0x201C, 0x201C},  // left double quotation mark
    {0x201D, 0x201D},  // right double quotation mark
    {0x2026, 0x2026},  // horizontal ellipsis
    {0x00B7, 0x00B7},  // middle dot
    {0x00D7, 0x00D7},  // multiplication sign
    {0x00A7, 0x00A7},  // section sign
    {0x2160, 0x2161},  // Roman numerals one and two
    {0x2573, 0x2573},  // box drawings light diagonal cross
    {0x2013, 0x2013},  // en dash
    {0x4E00, 0x9FA5},  // CJK Unified Ideographs up to U+9FA5
};

// Common characters besides those that "QuillmendCY.dat" lists, in the order marked. The reversed
// range U+000D-U+000A marks nothing: CR and LF are no common characters unless listed.
static const CharRange FIXED_COMMON_RANGES[] = {
    {0x000D, 0x000A},
    {0x0020, 0x0020},  // space
    {0x0061, 0x007A},  // a-z
    {0x0041, 0x005A},  // A-Z
    {0x0030, 0x0039},  // 0-9
};

// ASCII without the zero unit: never noise.
static const CharRange ASCII_RANGE = {0x0001, 0x007F};

static void FillRange(BYTE* table, WCHAR first, WCHAR last, BYTE value)
{
    if (first > last)
        return;
    std::memset(table + first, value, static_cast<size_t>(last - first) + 1);
}

void SetTextCharRange(WCHAR first, WCHAR last)
{
    FillRange(TextCharTable, first, last, 1);
}

void SetCommonCharRange(WCHAR first, WCHAR last)
{
    FillRange(CommonCharTable, first, last, 1);
}

void ClearOtherCharRange(WCHAR first, WCHAR last)
{
    FillRange(OtherCharTable, first, last, 0);
}

void FreeCharTables()
{
    delete[] CommonCharTable;
    delete[] TextCharTable;
    delete[] OtherCharTable;
    CommonCharTable = nullptr;
    TextCharTable = nullptr;
    OtherCharTable = nullptr;
}

// Reads the whole file into a zero-terminated buffer of units (caller deletes it). The number of
// bytes delivered is not compared with the length: a file that shrinks while it is read ends its
// list at the last byte delivered. nullptr when the file cannot be opened or read.
static BYTE* ReadListFile(LPCWSTR fileName)
{
    CFile file;
    if (!file.Open(fileName, CFile::modeRead | CFile::shareExclusive))
        return nullptr;
    BYTE* buffer = nullptr;
    try {
        const ULONGLONG length = file.GetLength();
        // A list of a billion characters is no list: refuse it rather than overflow the size.
        if (length > 0x3FFFFFFF) {
            file.Close();
            return nullptr;
        }
        const UINT size = static_cast<UINT>(length);
        buffer = new BYTE[size + LIST_TERMINATOR_BYTES]();  // zero-filled: the list ends there
        file.Read(buffer, size);
        file.Close();
    } catch (CFileException* e) {
        e->Delete();
        file.Abort();
        delete[] buffer;
        return nullptr;
    }
    return buffer;
}

BOOL LoadCharList(LPCWSTR fileName, BYTE* table)
{
    BYTE* buffer = ReadListFile(fileName);
    if (!buffer)
        return FALSE;
    for (const BYTE* p = buffer + LIST_FIRST_MEMBER_OFFSET;; p += 2) {
        const WCHAR c = ReadUnit(p);
        if (c == 0)
            break;
        table[c] = 1;
        OtherCharTable[c] = 0;
    }
    delete[] buffer;
    return TRUE;
}

static void AllocateCharTables()
{
    FreeCharTables();  // a second build replaces the tables instead of leaking them
    CommonCharTable = new BYTE[CHAR_TABLE_SIZE];
    TextCharTable = new BYTE[CHAR_TABLE_SIZE];
    OtherCharTable = new BYTE[CHAR_TABLE_SIZE];
    std::memset(TextCharTable, 0, CHAR_TABLE_SIZE);
    std::memset(CommonCharTable, 0, CHAR_TABLE_SIZE);
    std::memset(OtherCharTable, 1, CHAR_TABLE_SIZE);
}

static BOOL LoadCharListOrComplain(LPCWSTR fileName, BYTE* table)
{
    if (LoadCharList(fileName, table))
        return TRUE;
    AfxMessageBox(LoadStr(IDS_DATA_FILE_MISSING), MB_OK);
    return FALSE;
}

BOOL BuildCharTablesFromCurrentFolder()
{
    AllocateCharTables();
    for (const CharRange& range : FIXED_TEXT_RANGES)
        SetTextCharRange(range.first, range.last);
    if (!LoadCharListOrComplain(TEXT_CHAR_FILE, TextCharTable))
        return FALSE;
    if (!LoadCharListOrComplain(COMMON_CHAR_FILE, CommonCharTable))
        return FALSE;
    for (const CharRange& range : FIXED_COMMON_RANGES)
        SetCommonCharRange(range.first, range.last);
    ClearOtherCharRange(ASCII_RANGE.first, ASCII_RANGE.last);
    return TRUE;
}

BOOL BuildCharTables()
{
    EnterProgramFolder();
    return BuildCharTablesFromCurrentFolder();
}

#ifdef _WIN32

void EnterProgramFolder()
{
    const DWORD PATH_UNITS = 300;
    WCHAR path[PATH_UNITS] = {};
    // A failure leaves the buffer empty; SetCurrentDirectoryW then fails, which is ignored.
    ::GetModuleFileNameW(AfxGetInstanceHandle(), path, PATH_UNITS);
    // The last backslash after the first character ends the folder; for a program in a drive's
    // root folder that leaves the bare drive letter and colon.
    for (int i = lstrlenW(path) - 1; i >= 1; --i) {
        if (path[i] == L'\\') {
            path[i] = 0;
            break;
        }
    }
    ::SetCurrentDirectoryW(path);  // failure shows later as a missing data file
}

#else

void EnterProgramFolder()
{
    char path[PATH_MAX + 1] = {};
    const ssize_t length = readlink("/proc/self/exe", path, PATH_MAX);
    if (length <= 0)
        return;  // shows later as a missing data file
    for (ssize_t i = length - 1; i >= 1; --i) {
        if (path[i] == '/') {
            path[i] = 0;
            break;
        }
    }
    if (chdir(path) != 0)
        return;  // shows later as a missing data file
}

#endif
