#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "classlib/CFile.h"
#include "classlib/CFileFind.h"
#include "testutil.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

void MakeFile(const CString& path, UINT size)
{
    CFile f;
    ASSERT_TRUE(f.Open(path, CFile::modeCreate | CFile::modeWrite));
    std::vector<char> bytes(size, 'x');
    f.Write(bytes.data(), size);
}

// The listing loop as callers write it: prefetching makes it visit the last entry too.
std::vector<std::string> ListNames(LPCWSTR pattern)
{
    std::vector<std::string> names;
    CFileFind find;
    BOOL more = find.FindFile(pattern);
    while (more) {
        more = find.FindNextFile();
        names.push_back(Utf8(find.GetFileName()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(CFileFind, LoopVisitsEveryEntryIncludingTheLast)
{
    TempDir dir;
    MakeFile(dir.Path(L"a.doc"), 600);
    MakeFile(dir.Path(L"B.DOC"), 10);
    MakeFile(dir.Path(L"文档.doc"), 0);
    MakeFile(dir.Path(L"c.txt"), 1);
#ifdef _WIN32
    ASSERT_TRUE(::CreateDirectoryW(dir.Path(L"sub"), nullptr));
#else
    ASSERT_EQ(mkdir(Utf8(dir.Path(L"sub")).c_str(), 0777), 0);
#endif
    EXPECT_EQ(ListNames(dir.Path(L"*.*")),
              (std::vector<std::string>{".", "..", "B.DOC", "a.doc", "c.txt", "sub", "文档.doc"}));
    EXPECT_EQ(ListNames(dir.Path(L"*.doc")), (std::vector<std::string>{"B.DOC", "a.doc", "文档.doc"}));
    EXPECT_TRUE(ListNames(dir.Path(L"*.xls")).empty());
    EXPECT_TRUE(ListNames(dir.Path(L"none") + TempDir::kSep + L"*.*").empty());
}

TEST(CFileFind, SingleMatchIsCurrentAfterTheFirstNextCall)
{
    TempDir dir;
    MakeFile(dir.Path(L"only.doc"), 512);
    CFileFind find;
    ASSERT_TRUE(find.FindFile(dir.Path(L"only.doc")));
    EXPECT_TRUE(find.GetFileName().IsEmpty());  // nothing is current before FindNextFile
    EXPECT_FALSE(find.FindNextFile());           // FALSE: this was the last match...
    EXPECT_EQ(Utf8(find.GetFileName()), "only.doc");  // ...but it is current
    EXPECT_EQ(find.GetLength(), 512u);
    EXPECT_FALSE(find.MatchesMask(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_FALSE(find.IsDots());
    EXPECT_EQ(Utf8(find.GetFilePath()), Utf8(dir.Path(L"only.doc")));
    EXPECT_FALSE(find.FindNextFile());  // and stays at the end
    find.Close();
    EXPECT_TRUE(find.GetFileName().IsEmpty());
}

TEST(CFileFind, DotsAndFolders)
{
    TempDir dir;
    MakeFile(dir.Path(L"f"), 1);
    std::set<std::string> dots, folders;
    CFileFind find;
    BOOL more = find.FindFile(dir.Path(L"*"));
    while (more) {
        more = find.FindNextFile();
        if (find.IsDots())
            dots.insert(Utf8(find.GetFileName()));
        else if (find.MatchesMask(FILE_ATTRIBUTE_DIRECTORY))
            folders.insert(Utf8(find.GetFileName()));
    }
    EXPECT_EQ(dots, (std::set<std::string>{".", ".."}));
    EXPECT_TRUE(folders.empty());
}

#ifdef _WIN32
TEST(CFileFind, Attributes)
{
    TempDir dir;
    const struct {
        LPCWSTR name;
        DWORD attribute;
    } cases[] = {{L"h", FILE_ATTRIBUTE_HIDDEN},
                 {L"s", FILE_ATTRIBUTE_SYSTEM},
                 {L"t", FILE_ATTRIBUTE_TEMPORARY},
                 {L"r", FILE_ATTRIBUTE_READONLY}};
    for (const auto& c : cases) {
        MakeFile(dir.Path(c.name), 1);
        ASSERT_TRUE(::SetFileAttributesW(dir.Path(c.name), c.attribute));
    }
    for (const auto& c : cases) {
        // Wine keeps hidden, system and read-only but drops temporary: CFileFind must report
        // what the file system holds.
        const DWORD held = ::GetFileAttributesW(dir.Path(c.name));
        if (c.attribute != FILE_ATTRIBUTE_TEMPORARY) {
            EXPECT_TRUE(held & c.attribute) << Utf8(c.name);
        }
        CFileFind find;
        ASSERT_TRUE(find.FindFile(dir.Path(c.name)));
        find.FindNextFile();
        EXPECT_EQ(find.MatchesMask(c.attribute), (held & c.attribute) != 0) << Utf8(c.name);
        EXPECT_EQ(find.MatchesMask(c.attribute | FILE_ATTRIBUTE_DIRECTORY), (held & c.attribute) != 0);
    }
}

// A sparse file takes no disk space: the size is set, nothing is written.
TEST(CFileFind, SizesBeyondFourGigabytes)
{
    TempDir dir;
    const CString path = dir.Path(L"big.doc");
    const ULONGLONG size = (5ULL << 30) + 123;
    HANDLE h = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD ignored = 0;
    ::DeviceIoControl(h, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);  // Wine's files are sparse anyway
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    ASSERT_TRUE(::SetFilePointerEx(h, end, nullptr, FILE_BEGIN));
    ASSERT_TRUE(::SetEndOfFile(h));
    ::CloseHandle(h);

    CFileFind find;
    ASSERT_TRUE(find.FindFile(path));
    find.FindNextFile();
    EXPECT_EQ(find.GetLength(), size);

    CFile f;
    ASSERT_TRUE(f.Open(path, CFile::modeRead));
    EXPECT_EQ(f.GetLength(), size);
}
#endif
