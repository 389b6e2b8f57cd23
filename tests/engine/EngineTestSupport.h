// Building character tables and blocks for the engine's tests.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "classlib/CString.h"
#include "classlib/WinTypes.h"
#include "engine/StopFlag.h"

typedef std::vector<WCHAR> Units;
typedef std::vector<BYTE> Bytes;

// n copies of c.
Units Repeat(WCHAR c, int n);
// a followed by b.
template <typename T>
std::vector<T> operator+(const std::vector<T>& a, const std::vector<T>& b)
{
    std::vector<T> joined(a);
    joined.insert(joined.end(), b.begin(), b.end());
    return joined;
}
// The units as UTF-16LE bytes.
Bytes ToBytes(const Units& units);
CString ToCString(const Units& units);
// The units as UTF-8, to compare with a text that went through Utf8().
std::string U(const Units& units);

// A character list file: the mark FF FE and the units.
Bytes ListFile(const Units& members);
void WriteBytes(const CString& path, const Bytes& bytes);

// Makes folder the current directory.
void EnterFolder(const CString& folder);
// Builds the tables from list files written into a fresh folder (a null file is left missing),
// with that folder as the current directory. Returns what the build returned.
BOOL BuildTablesFromFiles(const Bytes* textFile, const Bytes* commonFile);
// Builds the tables from lists that hold only the given members.
void BuildTablesFromLists(const Units& textMembers, const Units& commonMembers);
// Builds the tables the program's way, from the shipped lists copied beside the test.
void BuildShippedTables();

// What listing c in "QuillmendCY.dat" does to the built tables.
void ListAsCommon(WCHAR c);

// A zero-filled block area as the file reader keeps it, holding the given bytes at the block's
// start, and the scanner run over it.
class BlockArea {
public:
    explicit BlockArea(const Bytes& data);
    BYTE* Block();
    // Runs ScanBlock over size bytes (the data's size when -1) and returns the text it appended.
    CString Scan(int size = -1, const StopFlag* stop = nullptr);

private:
    Bytes m_area;
    int m_nDataSize;
};

// The separators as they appear in salvaged text.
std::string RunSep();
std::string BlockSep();
