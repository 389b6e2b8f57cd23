#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "EngineTestSupport.h"
#include "engine/CharTables.h"
#include "testutil.h"

#ifdef _WIN32
#include "resources/LoadStr.h"
#include "resources/resource.h"
#endif

namespace {

struct CharClass {
    int text;
    int common;
    int other;
};

CharClass ClassOf(WCHAR c)
{
    return {TextCharTable[c], CommonCharTable[c], OtherCharTable[c]};
}

bool InFixedTextRanges(unsigned c)
{
    static const unsigned ranges[][2] = {
        {0xFF00, 0xFFEF}, {0x2700, 0x27BF}, {0x3000, 0x303F}, {0xFE10, 0xFE1F},
        {0xFE30, 0xFE4F}, {0x0001, 0x007E}, {0x2014, 0x2014}, {0x201C, 0x201D},
        {0x2026, 0x2026}, {0x00B7, 0x00B7}, {0x00D7, 0x00D7}, {0x00A7, 0x00A7},
        {0x2160, 0x2161}, {0x2573, 0x2573}, {0x2013, 0x2013}, {0x4E00, 0x9FA5}};
    for (const auto& range : ranges) {
        if (c >= range[0] && c <= range[1])
            return true;
    }
    return false;
}

bool IsSpaceLetterOrDigit(unsigned c)
{
    return c == 0x20 || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

class CharTables : public ::testing::Test {
protected:
    void TearDown() override { FreeCharTables(); }
};

}  // namespace

TEST_F(CharTables, ListsHoldingOnlyTheirMarkLeaveTheFixedRanges)
{
    BuildTablesFromLists({}, {});
    for (unsigned c = 0; c < 0x10000; ++c) {
        const CharClass cls = ClassOf(static_cast<WCHAR>(c));
        ASSERT_EQ(cls.text, InFixedTextRanges(c) ? 1 : 0) << std::hex << c;
        ASSERT_EQ(cls.common, IsSpaceLetterOrDigit(c) ? 1 : 0) << std::hex << c;
        ASSERT_EQ(cls.other, c >= 1 && c <= 0x7F ? 0 : 1) << std::hex << c;
    }
    // Tab, LF and CR are text, neither common nor noise; U+007F is in no table; the zero unit is
    // only noise.
    for (WCHAR c : {L'\t', L'\n', L'\r', L'\v', L'\f'}) {
        EXPECT_EQ(ClassOf(c).text, 1);
        EXPECT_EQ(ClassOf(c).common, 0);
        EXPECT_EQ(ClassOf(c).other, 0);
    }
    EXPECT_EQ(ClassOf(0x7F).text + ClassOf(0x7F).common + ClassOf(0x7F).other, 0);
    EXPECT_EQ(ClassOf(0).text + ClassOf(0).common, 0);
    EXPECT_EQ(ClassOf(0).other, 1);
    // Text only when a list names them.
    for (WCHAR c : {0x9FA6, 0xFFF0, 0xFFFF, 0xFEFF, 0xFFFD})
        EXPECT_EQ(ClassOf(c).text, 0) << std::hex << c;
}

TEST_F(CharTables, ListedCharactersStopBeingNoise)
{
    BuildTablesFromLists({0x4E2D, 0x00E9, 0x9FA6}, {0x6587, 0x3002});
    // An ideograph in neither list is text and noise; listed in either, it is no longer noise.
    EXPECT_EQ(ClassOf(0x4E00).text, 1);
    EXPECT_EQ(ClassOf(0x4E00).other, 1);
    EXPECT_EQ(ClassOf(0x4E2D).other, 0);
    EXPECT_EQ(ClassOf(0x4E2D).common, 0);
    EXPECT_EQ(ClassOf(0x6587).other, 0);
    EXPECT_EQ(ClassOf(0x6587).common, 1);
    // The text list adds text characters beyond the ranges; the common list adds common ones
    // (which need not be text characters).
    EXPECT_EQ(ClassOf(0x00E9).text, 1);
    EXPECT_EQ(ClassOf(0x9FA6).text, 1);
    EXPECT_EQ(ClassOf(0x3002).common, 1);
    EXPECT_EQ(ClassOf(0x3002).other, 0);
    EXPECT_EQ(ClassOf(0x3001).other, 1);  // CJK punctuation is noise unless listed
}

TEST_F(CharTables, ListFileFormat)
{
    // Members end at the first zero unit.
    BuildTablesFromLists({L'\x00E0', 0, L'\x00E1'}, {});
    EXPECT_EQ(ClassOf(0x00E0).text, 1);
    EXPECT_EQ(ClassOf(0x00E1).text, 0);

    // The first two bytes are skipped whatever they hold: without a mark the first character is
    // lost. CR LF between the members are members too. A final odd byte is the low byte of a last
    // unit.
    const Bytes noMark = ToBytes({0x00E2, 0x00E3});
    const Bytes withBreaks = ListFile({0x00E4, L'\r', L'\n', 0x00E5}) + Bytes{0xE6};
    ASSERT_TRUE(BuildTablesFromFiles(&noMark, &withBreaks));
    EXPECT_EQ(ClassOf(0x00E2).text, 0);
    EXPECT_EQ(ClassOf(0x00E3).text, 1);
    EXPECT_EQ(ClassOf(L'\r').common, 1);
    EXPECT_EQ(ClassOf(L'\n').common, 1);
    EXPECT_EQ(ClassOf(0x00E5).common, 1);
    EXPECT_EQ(ClassOf(0x00E6).common, 1);
    EXPECT_EQ(ClassOf(0x00E6).other, 0);

    // Files of 0, 1 and 2 bytes list nothing (and a lone odd byte after the mark is a member).
    for (const Bytes& tiny : {Bytes{}, Bytes{0xE7}, Bytes{0xFF, 0xFE}}) {
        ASSERT_TRUE(BuildTablesFromFiles(&tiny, &tiny));
        EXPECT_EQ(ClassOf(0x00E7).text, 0);
    }
    const Bytes oddByte = {0xFF, 0xFE, 0xE8};
    ASSERT_TRUE(BuildTablesFromFiles(&oddByte, &oddByte));
    EXPECT_EQ(ClassOf(0x00E8).text, 1);
}

TEST_F(CharTables, RangeFillersMarkInclusiveRangesOnly)
{
    BuildTablesFromLists({}, {});
    SetTextCharRange(0x0400, 0x0402);
    EXPECT_EQ(ClassOf(0x03FF).text, 0);
    EXPECT_EQ(ClassOf(0x0400).text + ClassOf(0x0401).text + ClassOf(0x0402).text, 3);
    EXPECT_EQ(ClassOf(0x0403).text, 0);
    // A reversed range marks nothing.
    SetCommonCharRange(0x000D, 0x000A);
    for (WCHAR c = 0x0A; c <= 0x0D; ++c)
        EXPECT_EQ(ClassOf(c).common, 0);
    ClearOtherCharRange(0x0500, 0x0500);
    EXPECT_EQ(ClassOf(0x0500).other, 0);
    EXPECT_EQ(ClassOf(0x0501).other, 1);
}

TEST_F(CharTables, ShippedListsAreFoundFromAnotherFolder)
{
    // The build enters the program's folder, whatever the current directory is.
    TempDir elsewhere;
    EnterFolder(elsewhere.Root());
    BuildShippedTables();
    EXPECT_EQ(ClassOf(0x4E2D).common, 1);    // a level-1 hanzi
    EXPECT_EQ(ClassOf(0x4E2D).other, 0);
    EXPECT_EQ(ClassOf(0x4E28).common, 0);    // a level-2 hanzi: text, not common
    EXPECT_EQ(ClassOf(0x4E28).other, 0);
    EXPECT_EQ(ClassOf(0x0391).text, 1);      // Greek capital alpha, a GB2312 symbol
    EXPECT_EQ(ClassOf(0x4E02).other, 1);     // a CJK ideograph outside GB2312
}

#ifdef _WIN32

namespace {

BOOL CALLBACK CollectStaticText(HWND child, LPARAM param)
{
    WCHAR className[32];
    WCHAR text[256];
    if (::GetClassNameW(child, className, 32) && ::lstrcmpiW(className, L"Static") == 0 &&
        ::GetWindowTextW(child, text, 256) > 0)
        reinterpret_cast<std::vector<std::string>*>(param)->push_back(Utf8(text));
    return TRUE;
}

// Answers, from another thread, every message box this process shows until it is stopped, and
// keeps the texts of each.
class MessageBoxWatcher {
public:
    MessageBoxWatcher()
        : m_thread([this] {
              HWND answered = nullptr;
              while (!m_stop) {
                  HWND box = ::FindWindowW(L"#32770", nullptr);
                  DWORD process = 0;
                  if (box)
                      ::GetWindowThreadProcessId(box, &process);
                  if (box && box != answered && process == ::GetCurrentProcessId() &&
                      ::IsWindowVisible(box)) {
                      std::vector<std::string> texts;
                      ::EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&texts));
                      m_boxes.push_back(texts);
                      ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                      answered = box;
                  }
                  ::Sleep(20);
              }
          })
    {
    }
    std::vector<std::vector<std::string>> Stop()
    {
        m_stop = true;
        m_thread.join();
        return m_boxes;
    }

private:
    std::atomic<bool> m_stop{false};
    std::vector<std::vector<std::string>> m_boxes;
    std::thread m_thread;
};

}  // namespace

TEST_F(CharTables, MissingListShowsOneMessageAndFailsTheBuild)
{
    EXPECT_FALSE(LoadCharList(L"no-such-list.dat", nullptr));  // nothing is touched
    const Bytes list = ListFile({0x00E9});
    MessageBoxWatcher watcher;
    EXPECT_FALSE(BuildTablesFromFiles(nullptr, &list));
    const auto boxes = watcher.Stop();
    ASSERT_EQ(boxes.size(), 1u);  // the common list is not tried
    EXPECT_EQ(Utf8(LoadStr(IDS_DATA_FILE_MISSING)), "缺少文件，请重新下载软件后，完全解压出来再运行本程序");
    EXPECT_NE(std::find(boxes[0].begin(), boxes[0].end(), Utf8(LoadStr(IDS_DATA_FILE_MISSING))),
              boxes[0].end());
    EXPECT_EQ(ClassOf(0x00E9).common, 0);  // the common list was never read
}

#else

TEST_F(CharTables, MissingListFailsTheBuild)
{
    // The host build's message box writes its text to stderr.
    EXPECT_FALSE(LoadCharList(L"no-such-list.dat", nullptr));  // nothing is touched
    const Bytes list = ListFile({0x00E9});
    EXPECT_FALSE(BuildTablesFromFiles(nullptr, &list));
    EXPECT_EQ(ClassOf(0x00E9).common, 0);  // the common list was never read
    EXPECT_FALSE(BuildTablesFromFiles(&list, nullptr));
    EXPECT_EQ(ClassOf(0x00E9).text, 1);    // the text list was read first
    FreeCharTables();
    FreeCharTables();  // safe twice
    EXPECT_EQ(TextCharTable, nullptr);
}

#endif
