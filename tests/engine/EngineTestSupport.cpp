#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include "classlib/CFile.h"
#include "engine/CharTables.h"
#include "engine/SalvageFile.h"
#include "engine/ScanBlock.h"
#include "testutil.h"

#ifndef _WIN32
#include <unistd.h>
#endif

Units Repeat(WCHAR c, int n)
{
    return Units(static_cast<size_t>(n), c);
}

Bytes ToBytes(const Units& units)
{
    Bytes bytes;
    for (WCHAR c : units) {
        bytes.push_back(static_cast<BYTE>(c & 0xFF));
        bytes.push_back(static_cast<BYTE>(c >> 8));
    }
    return bytes;
}

CString ToCString(const Units& units)
{
    return CString(units.data(), static_cast<int>(units.size()));
}

std::string U(const Units& units)
{
    return Utf8(ToCString(units));
}

Bytes ListFile(const Units& members)
{
    Bytes bytes = {0xFF, 0xFE};
    const Bytes body = ToBytes(members);
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

void WriteBytes(const CString& path, const Bytes& bytes)
{
    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
    if (!bytes.empty())
        file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    file.Close();
}

void EnterFolder(const CString& folder)
{
#ifdef _WIN32
    ASSERT_TRUE(::SetCurrentDirectoryW(folder));
#else
    ASSERT_EQ(chdir(Utf8(folder).c_str()), 0);
#endif
}

BOOL BuildTablesFromFiles(const Bytes* textFile, const Bytes* commonFile)
{
    TempDir folder;
    if (textFile)
        WriteBytes(folder.Path(TEXT_CHAR_FILE), *textFile);
    if (commonFile)
        WriteBytes(folder.Path(COMMON_CHAR_FILE), *commonFile);
    EnterFolder(folder.Root());
    const BOOL built = BuildCharTablesFromCurrentFolder();
    // Leave the folder, so that it can be removed.
    EnterProgramFolder();
    return built;
}

void BuildTablesFromLists(const Units& textMembers, const Units& commonMembers)
{
    const Bytes textFile = ListFile(textMembers);
    const Bytes commonFile = ListFile(commonMembers);
    ASSERT_TRUE(BuildTablesFromFiles(&textFile, &commonFile));
}

void BuildShippedTables()
{
    ASSERT_TRUE(BuildCharTables());
}

void ListAsCommon(WCHAR c)
{
    CommonCharTable[c] = 1;
    OtherCharTable[c] = 0;
}

BlockArea::BlockArea(const Bytes& data)
    : m_area(BLOCK_AREA_SIZE, 0), m_nDataSize(static_cast<int>(data.size()))
{
    EXPECT_LE(data.size(), static_cast<size_t>(BLOCK_SIZE));
    std::copy(data.begin(), data.end(), m_area.begin() + BLOCK_OFFSET);
}

BYTE* BlockArea::Block()
{
    return m_area.data() + BLOCK_OFFSET;
}

CString BlockArea::Scan(int size, const StopFlag* stop)
{
    static const StopFlag noStop(FALSE);
    CString text;
    ScanBlock(Block(), size < 0 ? m_nDataSize : size, text, stop ? stop : &noStop);
    return text;
}

std::string RunSep()
{
    return Utf8(RUN_SEPARATOR);
}

std::string BlockSep()
{
    return Utf8(BLOCK_SEPARATOR);
}
