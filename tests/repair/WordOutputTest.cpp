// The Word path against the test automation server (tests/fakeword).
#include <gtest/gtest.h>

#include <objbase.h>

#include <string>
#include <vector>

#include "repair/WordOutput.h"
#include "testutil.h"
#include "tests/fakeword/FakeWordConfig.h"
#include "tests/fakeword/FakeWordControl.h"

namespace {

std::vector<std::string> Utf8Lines(const std::vector<std::wstring>& lines)
{
    std::vector<std::string> out;
    for (const std::wstring& line : lines)
        out.push_back(Utf8(line.c_str()));
    return out;
}

std::wstring ReadUtf16File(const CString& path)
{
    const std::string bytes = ReadFileBytes(path);
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

class WordOutput : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
        ASSERT_TRUE(word.IsRegistered());
    }
    void TearDown() override
    {
        EXPECT_EQ(word.LiveObjects(), 0);
        EXPECT_EQ(word.RunningInstances(), expectedRunning);  // no hidden Word left behind
        ::CoUninitialize();
    }
    FakeWordServer word;
    TempDir dir;
    long expectedRunning = 0;
};

// The whole conversation of one save, in order, with every argument's type and value.
std::vector<std::string> FullSaveTrace(const std::string& path)
{
    return {
        "create Application",
        "Application 23 put BOOL:0",
        "Application 6 get",
        "Documents 14 method &BSTR:\"\" &BOOL:0 &I4:0 &EMPTY",
        "Application 5 get",
        "Selection 507 method BSTR:\"第一行\\r\\n第二行\"",
        "Application 3 get",
        "Document 102 method &BSTR:\"" + path + "\" &I4:0 &BOOL:0 &BSTR:\"\" &BOOL:-1 &BSTR:\"\" &BOOL:0 &BOOL:0 "
        "&BOOL:0 &BOOL:0 &BOOL:0",
        "Application 1105 method &BOOL:0 &EMPTY &EMPTY",
    };
}

}  // namespace

TEST_F(WordOutput, FullSaveMakesTheCallsInOrderAndLeavesTheDocument)
{
    const CString path = dir.Path(L"报告.DOC");
    ASSERT_TRUE(SaveTextViaWord(L"第一行\r\n第二行", path));
    EXPECT_EQ(Utf8Lines(word.TakeTrace()), FullSaveTrace(Utf8(path)));
    EXPECT_EQ(ReadUtf16File(path), std::wstring(L"\xFEFF" FAKEWORD_DOCUMENT_MARKER L"\r\n第一行\r\n第二行"));
}

TEST_F(WordOutput, CreationFailureMakesNoCall)
{
    word.FailCreation(true);
    EXPECT_FALSE(SaveTextViaWord(L"x", dir.Path(L"a.doc")));
    EXPECT_EQ(Utf8Lines(word.TakeTrace()), std::vector<std::string>{"create refused"});
    EXPECT_FALSE(ProbeWord());
}

// A Word that failed half-way is still asked to quit.
TEST_F(WordOutput, FailedCallStillQuitsWord)
{
    for (long id : {102L, 507L, 14L}) {
        word.FailDispId(id);
        EXPECT_FALSE(SaveTextViaWord(L"x", dir.Path(L"a.doc"))) << id;
        const std::vector<std::string> trace = Utf8Lines(word.TakeTrace());
        ASSERT_GE(trace.size(), 2u);
        EXPECT_EQ(trace[trace.size() - 2], "  raised: failure asked for this dispatch id") << id;
        EXPECT_EQ(trace.back(), "Application 1105 method &BOOL:0 &EMPTY &EMPTY") << id;
        EXPECT_EQ(word.RunningInstances(), 0) << id;
    }
}

TEST_F(WordOutput, ProbeStartsAndQuitsWordOnce)
{
    EXPECT_TRUE(ProbeWord());
    EXPECT_EQ(Utf8Lines(word.TakeTrace()),
              (std::vector<std::string>{"create Application", "Application 1105 method &BOOL:0 &EMPTY &EMPTY"}));
    word.FailDispId(1105);
    EXPECT_TRUE(ProbeWord());  // a failing quit does not hide that Word is there
    expectedRunning = 1;       // the probe does not insist: that Word stays
}
