#include <gtest/gtest.h>

#include "testutil.h"

namespace {

CString Fmt(LPCWSTR format) { CString s; s.Format(format); return s; }

template <typename... Args>
std::string F(LPCWSTR format, const Args&... args)
{
    CString s;
    s.Format(format, args...);
    return Utf8(s);
}

std::string FV(LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    CString s;
    s.FormatV(format, args);
    va_end(args);
    return Utf8(s);
}

}  // namespace

TEST(CStringFormat, WideStringArguments)
{
    const CString name(L"报告.doc");
    EXPECT_EQ(F(L"保存文件成功! [%s] -> [%s]", name, L"C:\\out\\报告.doc"),
              "保存文件成功! [报告.doc] -> [C:\\out\\报告.doc]");
    EXPECT_EQ(F(L"[%s]", static_cast<LPCWSTR>(nullptr)), "[(null)]");
    EXPECT_EQ(F(L"[%s]", CString()), "[]");
    EXPECT_EQ(FV(L"%s|%s", L"a", name.GetString()), "a|报告.doc");
    // A format that is empty, as an absent string-table entry gives, formats to nothing.
    EXPECT_EQ(F(L"", 5), "");
    EXPECT_EQ(Utf8(Fmt(L"100%%")), "100%");
}

TEST(CStringFormat, WidthsPrecisionAndFlags)
{
    EXPECT_EQ(F(L"[%6s]", L"ab"), "[    ab]");
    EXPECT_EQ(F(L"[%-6s]", L"ab"), "[ab    ]");
    EXPECT_EQ(F(L"[%.2s]", L"abcdef"), "[ab]");
    EXPECT_EQ(F(L"[%*s]", 4, L"x"), "[   x]");
    EXPECT_EQ(F(L"[%-*d]", 4, 7), "[7   ]");
    EXPECT_EQ(F(L"[%05d]", -42), "[-0042]");
    EXPECT_EQ(F(L"[%5d]", -42), "[  -42]");
    EXPECT_EQ(F(L"[%-5d]", 42), "[42   ]");
    EXPECT_EQ(F(L"[%+d]", 42), "[+42]");
    EXPECT_EQ(F(L"[%.3d]", 7), "[007]");
    EXPECT_EQ(F(L"[%08.3d]", 7), "[     007]");
    EXPECT_EQ(F(L"[%3c]", L'字'), "[  字]");
}

TEST(CStringFormat, Integers)
{
    EXPECT_EQ(F(L"  总共 %d 个文件", 12), "  总共 12 个文件");
    EXPECT_EQ(F(L"%i %u", -2147483647 - 1, 4294967295u), "-2147483648 4294967295");
    EXPECT_EQ(F(L"%x %X %#x %o", 255, 255, 255, 8), "ff FF 0xff 10");
    EXPECT_EQ(F(L"%u", -1), "4294967295");
    EXPECT_EQ(F(L"%d", static_cast<DWORD>(0xFFFFFFFF)), "-1");
    EXPECT_EQ(F(L"%I64u %lld", 5000000000ULL, -5000000000LL), "5000000000 -5000000000");
    EXPECT_EQ(F(L"%hd", 70000), "4464");
    EXPECT_EQ(F(L"%c%c", L'A', 0x4E2D), "A中");
    EXPECT_EQ(FV(L"%d %u %x %I64d %c", -5, 7u, 0xABu, 1LL << 40, L'z'), "-5 7 ab 1099511627776 z");
    EXPECT_EQ(F(L"%.1f", 2.25), "2.2");
}

TEST(CStringFormat, MissingOrMistypedArgumentsPrintNothing)
{
    EXPECT_EQ(F(L"[%s][%d]"), "[][]");
    EXPECT_EQ(F(L"[%d]", L"text"), "[]");
    EXPECT_EQ(F(L"[%s]", 3), "[]");
    EXPECT_EQ(F(L"trailing %"), "trailing ");
}

TEST(CStringFormat, AppendFormatMayUseItsOwnText)
{
    CString s(L"ab");
    s.AppendFormat(L"-%s-%d", s, 3);
    EXPECT_EQ(Utf8(s), "ab-ab-3");
    s.Format(L"<%s>", s);
    EXPECT_EQ(Utf8(s), "<ab-ab-3>");
}
