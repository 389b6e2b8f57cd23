// The string table as the program loads it: every entry exact, absent ones empty.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "classlib/AppHandles.h"
#include "resources/LoadStr.h"
#include "resources/resource.h"
#include "testutil.h"

namespace {

struct Entry {
    UINT id;
    const char* text;
};

const Entry kTable[] = {
    {IDS_ABOUTBOX, "关于 Quillmender(&A)..."},
    {IDS_LOADING, "数据加载ing..."},
    {IDS_DATA_FILE_MISSING, "缺少文件，请重新下载软件后，完全解压出来再运行本程序"},
    {IDS_RESTART, "重新开始"},
    {IDS_NEXT, "下一步"},
    {IDS_MKDIR_FAILED, "创建目录错误! [%s]"},
    {IDS_MKDIR_DONE, "创建目录成功! [%s]"},
    {IDS_FILE_EXISTS, "文件已经存在！请保存到另外一个空目录中。[%s]"},
    {IDS_SAVE_DONE, "保存文件成功! [%s] -> [%s]"},
    {IDS_SAME_FOLDER, "请重新选择一个目录来保存，不要和源目录相同"},
    {IDS_NOTHING_SALVAGED, "文件[%s]没有修复出内容"},
    {IDS_SAVE_FAILED, "保存文件失败 [%s] -- [%s]"},
    {IDS_LISTING_FOLDER, "正在获取目录文件。。。[%s]"},
    {IDS_FILE_COUNT, "  总共 %d 个文件"},
    {IDS_NO_DOCUMENT, "请选择一个WORD文件或者带有WORD文件的目录来恢复"},
    {IDS_CONFIRM_EXIT, "您确认要退出本程序？"},
    {IDS_REPAIRING, "正在修复 [%s]"},
    {IDS_SAVING, "正在保存 [%s]"},
    {IDS_PICK_SOURCE, "请选择一个目录来恢复"},
    {IDS_PICK_OUTPUT, "请选择一个目录来保存，建议不要和源数据在同一个盘"},
};

}  // namespace

TEST(LoadStr, EveryEntryReadsExactly)
{
    for (const Entry& e : kTable)
        EXPECT_EQ(Utf8(LoadStr(e.id)), e.text) << "string " << e.id;
}

TEST(LoadStr, DetailsThatAreEasyToLose)
{
    const CString count = LoadStr(IDS_FILE_COUNT);
    ASSERT_GE(count.GetLength(), 3);
    EXPECT_EQ(count[0], L' ');
    EXPECT_EQ(count[1], L' ');
    EXPECT_NE(count[2], L' ');

    const CString listing = LoadStr(IDS_LISTING_FOLDER);
    const int bracket = listing.Find(L'[');
    ASSERT_GE(bracket, 3);
    EXPECT_EQ(Utf8(listing.Mid(bracket - 3, 3)), "。。。");
    EXPECT_EQ(listing[bracket - 4], L'件');

    const CString about = LoadStr(IDS_ABOUTBOX);
    EXPECT_GE(about.Find(L"(&A)"), 0);
    EXPECT_EQ(Utf8(about.Right(3)), "...");

    // Full-width and ASCII punctuation are kept apart.
    EXPECT_GE(LoadStr(IDS_FILE_EXISTS).Find(L'！'), 0);
    EXPECT_GE(LoadStr(IDS_MKDIR_FAILED).Find(L'!'), 0);
}

TEST(LoadStr, AbsentEntriesAreEmpty)
{
    for (UINT id : {0u, 100u, 102u, 119u, 134u, 147u, 65535u})
        EXPECT_TRUE(LoadStr(id).IsEmpty()) << "string " << id;
    // Formatting an absent entry formats an empty format.
    CString s;
    s.Format(LoadStr(134), L"x");
    EXPECT_TRUE(s.IsEmpty());
}

TEST(LoadStr, TableIsSimplifiedChinese)
{
    // String resources come in blocks of 16: entry id lives in block id / 16 + 1.
    HRSRC block = ::FindResourceExW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(6),
                                    MAKEINTRESOURCEW(IDS_ABOUTBOX / 16 + 1),
                                    MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
    EXPECT_NE(block, nullptr);
}

TEST(LoadStr, EachCallGivesItsOwnString)
{
    CString first = LoadStr(IDS_NEXT);
    first.GetBuffer()[0] = L'X';
    first += L"!";
    EXPECT_EQ(Utf8(LoadStr(IDS_NEXT)), "下一步");
}

TEST(LoadStr, LoadsFromTheInstanceNotTheResourceModule)
{
    EXPECT_EQ(AfxGetInstanceHandle(), ::GetModuleHandleW(nullptr));  // until the application sets it
    // A resource module without the program's table must not change what LoadStr finds.
    AfxSetResourceHandle(::GetModuleHandleW(L"kernel32.dll"));
    EXPECT_EQ(Utf8(LoadStr(IDS_RESTART)), "重新开始");
    AfxSetResourceHandle(nullptr);
}

TEST(LoadStr, WorksFromManyThreadsAtOnce)
{
    std::vector<std::thread> threads;
    std::vector<int> mismatches(8, 0);
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([t, &mismatches] {
            for (int round = 0; round < 200; ++round) {
                const Entry& e = kTable[(t + round) % (sizeof kTable / sizeof kTable[0])];
                if (Utf8(LoadStr(e.id)) != e.text)
                    ++mismatches[t];
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    for (int m : mismatches)
        EXPECT_EQ(m, 0);
}

TEST(CStringLoadString, ReportsWhetherTheEntryExists)
{
    CString s(L"old");
    EXPECT_TRUE(s.LoadString(AfxGetInstanceHandle(), IDS_SAVING));
    EXPECT_EQ(Utf8(s), "正在保存 [%s]");
    EXPECT_FALSE(s.LoadString(AfxGetInstanceHandle(), 134));
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_TRUE(s.LoadString(IDS_NEXT));  // through the resource handle
    EXPECT_EQ(Utf8(s), "下一步");
}
