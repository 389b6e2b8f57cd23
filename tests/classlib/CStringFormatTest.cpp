#include <gtest/gtest.h>

#include "testutil.h"

namespace {

template <typename... Args>
std::string F(LPCWSTR format, const Args&... args)
{
    CString s;
    s.Format(format, args...);
    return Utf8(s);
}

}  // namespace

// Everything the formatter supports, and what it does with anything else.
TEST(CStringFormat, Conversions)
{
    const CString name(L"报告.doc");
    const struct {
        std::string got;
        const char* expected;
    } cases[] = {
        {F(L"保存文件成功! [%s] -> [%s]", name, L"C:\\out\\报告.doc"), "保存文件成功! [报告.doc] -> [C:\\out\\报告.doc]"},
        {F(L"[%s]", static_cast<LPCWSTR>(nullptr)), "[(null)]"},
        {F(L"[%s]", CString()), "[]"},
        {F(L"[%6s][%06s]", L"ab", L"cd"), "[    ab][    cd]"},
        {F(L"  总共 %d 个文件", 12), "  总共 12 个文件"},
        {F(L"%d %d", -2147483647 - 1, 5000000000LL), "-2147483648 5000000000"},
        {F(L"%d", static_cast<DWORD>(0xFFFFFFFF)), "-1"},
        {F(L"%u %u", 4294967295u, -1), "4294967295 4294967295"},
        {F(L"[%5d][%05d][%04d][%1d]", -42, -42, 7, 123), "[  -42][-0042][0007][123]"},
        {F(L"%x %X %x %08X %04x", 255, 255, 0, 0x1A2Bu, 0x12), "ff FF 0 00001A2B 0012"},
        {F(L"%s.txt", name), "报告.doc.txt"},
        // A format that is empty, as an absent string-table entry gives, formats to nothing.
        {F(L"", 5), ""},
        // Missing or mistyped arguments print nothing.
        {F(L"[%s][%d]"), "[][]"},
        {F(L"[%d]", L"text"), "[]"},
        {F(L"[%s]", 3), "[]"},
        // Anything else is kept as written and takes no argument.
        {F(L"[%.2f][%-5d][%c][%d]", 7), "[%.2f][%-5d][%c][7]"},
        {F(L"100%% at %"), "100%% at %"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.expected);
}

TEST(CStringFormat, FormatMayUseItsOwnText)
{
    CString s(L"ab");
    s.Format(L"<%s>-%d", s, 3);
    EXPECT_EQ(Utf8(s), "<ab>-3");
}
