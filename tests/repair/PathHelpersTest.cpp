#include <gtest/gtest.h>

#include "repair/PathHelpers.h"
#include "testutil.h"

TEST(PathHelpers, LastComponentAndParentFolder)
{
    EXPECT_EQ(Utf8(GetLastPathComponent(L"C:\\docs\\report.doc")), "report.doc");
    EXPECT_EQ(Utf8(GetLastPathComponent(L"C:\\docs\\")), "docs");
    EXPECT_EQ(Utf8(GetLastPathComponent(L"C:\\docs\\\\\\")), "docs");
    EXPECT_EQ(Utf8(GetLastPathComponent(L"C:\\")), "C:");
    EXPECT_EQ(Utf8(GetLastPathComponent(L"docs")), "docs");
    EXPECT_EQ(Utf8(GetLastPathComponent(L"\\docs")), "\\docs");
    EXPECT_EQ(Utf8(GetLastPathComponent(L"\\\\server\\share")), "share");
    EXPECT_EQ(Utf8(GetLastPathComponent(L"C:\\a/b")), "a/b");  // a slash is no separator

    EXPECT_EQ(Utf8(GetParentFolder(L"C:\\docs\\report.doc")), "C:\\docs");
    EXPECT_EQ(Utf8(GetParentFolder(L"C:\\report.doc")), "C:");
    EXPECT_EQ(Utf8(GetParentFolder(L"C:\\docs\\")), "C:");
    EXPECT_EQ(Utf8(GetParentFolder(L"report.doc")), "report.doc");
    EXPECT_EQ(Utf8(GetParentFolder(L"\\docs")), "\\docs");
}

namespace {

void MakeFile(const CString& path)
{
    HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ::CloseHandle(file);
}

}  // namespace

TEST(PathHelpers, DirectoryOrFile)
{
    TempDir dir;
    const CString file = dir.Path(L"报告.doc");
    MakeFile(file);
    EXPECT_TRUE(IsDirectory(dir.Root()));
    EXPECT_FALSE(IsFile(dir.Root()));
    EXPECT_TRUE(IsFile(file));
    EXPECT_FALSE(IsDirectory(file));
    EXPECT_FALSE(IsDirectory(dir.Path(L"missing")));
    EXPECT_FALSE(IsFile(dir.Path(L"missing")));
}

TEST(PathHelpers, CreateDirectoryPathCreatesEveryMissingFolder)
{
    TempDir dir;
    ASSERT_EQ(dir.Root()[1], L':');  // a drive-letter path
    const CString deep = dir.Path(L"out\\新建\\b");
    EXPECT_TRUE(CreateDirectoryPath(deep));
    EXPECT_TRUE(IsDirectory(deep));
    EXPECT_TRUE(CreateDirectoryPath(deep));  // existing: TRUE

    // A trailing backslash: the walk creates the last folder, which then exists.
    const CString trailing = dir.Path(L"out\\new\\");
    EXPECT_TRUE(CreateDirectoryPath(trailing));
    EXPECT_TRUE(IsDirectory(dir.Path(L"out\\new")));
}

TEST(PathHelpers, CreateDirectoryPathRefusals)
{
    TempDir dir;
    const CString file = dir.Path(L"f.doc");
    MakeFile(file);
    EXPECT_FALSE(CreateDirectoryPath(file));
    // A file in the middle: nothing is created after it.
    const CString middle = dir.Path(L"a\\f.doc");
    EXPECT_TRUE(CreateDirectoryPath(dir.Path(L"a")));
    MakeFile(middle);
    EXPECT_FALSE(CreateDirectoryPath(middle + L"\\b\\c"));
    EXPECT_FALSE(IsDirectory(middle + L"\\b"));

    // No colon, or too short: nothing is created, unless the path already names a folder.
    EXPECT_FALSE(CreateDirectoryPath(L"relative-folder-that-does-not-exist"));
    EXPECT_FALSE(CreateDirectoryPath(L"q"));
    EXPECT_FALSE(CreateDirectoryPath(L"\\\\server\\share\\x"));
    EXPECT_TRUE(CreateDirectoryPath(L"."));
    // A drive that does not exist.
    EXPECT_FALSE(CreateDirectoryPath(L"B:\\no\\such\\drive"));
}

TEST(PathHelpers, CreateDirectoryPathRefusesPathsBeyond259Characters)
{
    TempDir dir;
    CString path = dir.Root();
    while (path.GetLength() <= 259)
        path += L"\\abcdefghij";
    EXPECT_FALSE(CreateDirectoryPath(path));
    // Nothing was created on the way.
    EXPECT_FALSE(IsDirectory(dir.Path(L"abcdefghij")));
    // A path of exactly 259 characters is created.
    CString fits = dir.Root() + L"\\";
    while (fits.GetLength() < 259)
        fits += L"x";
    EXPECT_TRUE(CreateDirectoryPath(fits));
    EXPECT_TRUE(IsDirectory(fits));
}
