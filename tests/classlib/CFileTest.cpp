#include <gtest/gtest.h>

#include <cstring>

#include "classlib/CFile.h"
#include "testutil.h"

namespace {

void WriteFile(const CString& path, const char* bytes)
{
    CFile f;
    ASSERT_TRUE(f.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive));
    f.Write(bytes, static_cast<UINT>(std::strlen(bytes)));
    f.Close();
}

std::string ReadAll(const CString& path)
{
    std::string all;
    CFile f;
    if (!f.Open(path, CFile::modeRead | CFile::shareExclusive)) {
        ADD_FAILURE() << "cannot open " << Utf8(path);
        return all;
    }
    char buffer[4];  // small, so reading takes several calls
    for (UINT n; (n = f.Read(buffer, sizeof buffer)) > 0;)
        all.append(buffer, n);
    return all;
}

// Runs op and returns the cause of the CFileException* it throws (-1: it did not throw).
template <typename Op>
int CauseThrownBy(Op op, CString* message = nullptr)
{
    try {
        op();
    } catch (CFileException* e) {
        const int cause = e->m_cause;
        if (message) {
            WCHAR text[512];
            EXPECT_TRUE(e->GetErrorMessage(text, 512));
            *message = text;
        }
        e->Delete();
        return cause;
    }
    return -1;
}

}  // namespace

TEST(CFile, WritesAndReadsBytes)
{
    TempDir dir;
    const CString path = dir.Path(L"数据.bin");
    WriteFile(path, "hello, file");
    EXPECT_EQ(ReadAll(path), "hello, file");

    CFile f;
    ASSERT_TRUE(f.Open(path, CFile::modeCreate | CFile::modeWrite));
    EXPECT_EQ(f.GetLength(), 0u);  // modeCreate alone empties an existing file
}

TEST(CFile, OpenReportsFailureWithoutThrowing)
{
    TempDir dir;
    const CString missing = dir.Path(L"missing.dat");
    CFile f;
    CFileException error;
    EXPECT_FALSE(f.Open(missing, CFile::modeRead | CFile::shareExclusive, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(Utf8(error.m_strFileName), Utf8(missing));
    error.Delete();  // a caller's own exception object is not freed by Delete

    WCHAR text[512];
    ASSERT_TRUE(error.GetErrorMessage(text, 512));
    EXPECT_NE(Utf8(text).find(Utf8(missing)), std::string::npos) << Utf8(text);
    // A buffer too small gets a cut, terminated message.
    ASSERT_TRUE(error.GetErrorMessage(text, 4));
    EXPECT_EQ(Utf8(text).size(), 3u);

    EXPECT_FALSE(f.Open(missing, CFile::modeRead));  // no exception object: still no throw
    const CString inMissingFolder = dir.Path(L"no") + TempDir::kSep + L"x.txt";
    EXPECT_FALSE(f.Open(inMissingFolder, CFile::modeCreate | CFile::modeWrite, &error));
#ifdef _WIN32
    EXPECT_EQ(error.m_cause, CFileException::badPath);
#endif
    EXPECT_FALSE(f.Open(L"", CFile::modeRead));
    EXPECT_FALSE(f.IsOpen());
}

TEST(CFile, OperationsThatFailThrowFileExceptions)
{
    TempDir dir;
    const CString path = dir.Path(L"ro.txt");
    WriteFile(path, "abc");

    CFile closed;
    EXPECT_EQ(CauseThrownBy([&] { char b; closed.Read(&b, 1); }), CFileException::invalidFile);
    EXPECT_EQ(CauseThrownBy([&] { closed.Write("x", 1); }), CFileException::invalidFile);
    EXPECT_EQ(CauseThrownBy([&] { (void)closed.GetLength(); }), CFileException::invalidFile);
    EXPECT_EQ(CauseThrownBy([&] { closed.Close(); }), CFileException::invalidFile);

    {
        CFile reader;
        ASSERT_TRUE(reader.Open(path, CFile::modeRead));
        CString message;
        EXPECT_NE(CauseThrownBy([&] { reader.Write("x", 1); }, &message), -1);
        EXPECT_NE(Utf8(message).find("ro.txt"), std::string::npos) << Utf8(message);
    }
    EXPECT_EQ(ReadAll(path), "abc");
}

TEST(CFile, ExclusiveOpenKeepsOthersOut)
{
    TempDir dir;
    const CString path = dir.Path(L"held.dat");
    WriteFile(path, "data");
    {
        CFile holder;
        ASSERT_TRUE(holder.Open(path, CFile::modeRead | CFile::shareExclusive));
        CFile other;
        CFileException error;
        EXPECT_FALSE(other.Open(path, CFile::modeRead | CFile::shareExclusive, &error));
        EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
        EXPECT_FALSE(other.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive, &error));
        EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
    }
    // The refused create truncated nothing, and the destructor released the file.
    CFile again;
    EXPECT_TRUE(again.Open(path, CFile::modeRead | CFile::shareExclusive));
    EXPECT_EQ(again.GetLength(), 4u);
}

TEST(CException, DeleteFreesOnlyHeapObjects)
{
    // ASan reports a bad free if Delete frees the stack object, or a leak if it keeps the heap one.
    CFileException onStack(CFileException::diskFull);
    onStack.Delete();
    EXPECT_EQ(onStack.m_cause, CFileException::diskFull);
    try {
        CFileException::Throw(CFileException::endOfFile, -1, L"f");
    } catch (CException* e) {
        EXPECT_NE(dynamic_cast<CFileException*>(e), nullptr);
        e->Delete();
    }
}
