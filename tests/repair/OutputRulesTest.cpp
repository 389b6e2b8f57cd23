#include <gtest/gtest.h>

#include <vector>

#include "repair/OutputNames.h"
#include "repair/RepairLog.h"
#include "repair/TextFileOutput.h"
#include "testutil.h"

namespace {

void WriteBytes(const CString& path, const char* text)
{
    HANDLE h = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    ::WriteFile(h, text, static_cast<DWORD>(strlen(text)), &n, nullptr);
    ::CloseHandle(h);
}

}  // namespace

TEST(OutputRules, NamesInBothModesAndTheRenameForm)
{
    EXPECT_EQ(Utf8(DocumentOutputPath(L"D:\\out\\sub", L"Report.DOC", FALSE)), "D:\\out\\sub\\Report.DOC");
    EXPECT_EQ(Utf8(DocumentOutputPath(L"D:\\src", L"报告.doc", TRUE)), "D:\\src\\报告_[Quillmend].doc");
    EXPECT_EQ(Utf8(RenamedOutputPath(L"D:\\src", L"a.doc", 7)), "D:\\src\\a_[QuillmendRename_7].doc");
    EXPECT_EQ(Utf8(JoinPath(L"D:\\out", L"sub")), "D:\\out\\sub");
    for (int i = 0; i < 20; ++i) {
        const int k = RenameNumber();
        EXPECT_TRUE(k >= 0 && k <= 999) << k;
    }

    EXPECT_EQ(Utf8(TextFileName(L"D:\\o\\X.doc")), "D:\\o\\X.txt");
    EXPECT_EQ(Utf8(TextFileName(L"D:\\o\\X_[Quillmend].doc")), "D:\\o\\X_[Quillmend].txt");
    EXPECT_EQ(Utf8(TextFileName(L"D:\\o\\X.DOC")), "D:\\o\\X.txt");
    EXPECT_EQ(Utf8(TextFileName(L"D:\\o\\X.TXT")), "D:\\o\\X.TXT");
}

TEST(OutputRules, LogLinesAreNumberedAndNeverFormatTheMessage)
{
    EXPECT_EQ(Utf8(FormatLogLine(1, TRUE, L"a")), " 1.  a");
    EXPECT_EQ(Utf8(FormatLogLine(12, FALSE, L"b")), "\r\n 12.  b");
    EXPECT_EQ(Utf8(FormatLogLine(2, FALSE, L"D:\\100%s%d%n.doc")), "\r\n 2.  D:\\100%s%d%n.doc");
}

// A name is taken when an earlier result holds it or its ".txt" name, with or without Word.
TEST(OutputRules, TakenNamesAreTheNameAndItsTextName)
{
    TempDir dir;
    WriteBytes(dir.Path(L"old.txt"), "earlier run as text");
    WriteBytes(dir.Path(L"word.doc"), "earlier run with Word");
    EXPECT_TRUE(IsOutputTaken(dir.Path(L"old.doc")));
    EXPECT_TRUE(IsOutputTaken(dir.Path(L"word.doc")));
    EXPECT_FALSE(IsOutputTaken(dir.Path(L"new.doc")));
}

TEST(OutputRules, TextFileIsByteOrderMarkAndTheUnitsUnchanged)
{
    TempDir dir;
    const CString path = dir.Path(L"out.txt");
    WriteBytes(path, "an older and much longer file that must be replaced entirely");
    const CString text(L"A\r\n\t\x4E2D\xD800", 6);  // a lone surrogate goes through unchanged too
    CString error;
    ASSERT_TRUE(WriteTextFile(text, path, &error));
    EXPECT_TRUE(error.IsEmpty());
    EXPECT_EQ(ReadFileBytes(path), std::string("\xFF\xFE" "A\0\r\0\n\0\t\0\x2D\x4E\x00\xD8", 14));

    EXPECT_FALSE(WriteTextFile(text, dir.Path(L"missing\\out.txt"), &error));
    EXPECT_TRUE(error.IsEmpty()) << Utf8(error);  // a file that cannot be created is no file error
}

// Wine's Z: drive reaches the host's /dev/full, whose every write fails for want of space.
TEST(OutputRules, DiskFullGivesTheFileErrorsMessage)
{
    CString error;
    EXPECT_FALSE(WriteTextFile(CString(L"text"), L"Z:\\dev\\full", &error));
    EXPECT_NE(Utf8(error).find("full"), std::string::npos) << Utf8(error);
}
