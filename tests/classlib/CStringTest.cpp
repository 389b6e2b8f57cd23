#include <gtest/gtest.h>

#include <climits>
#include <new>
#include <thread>
#include <utility>
#include <vector>

#include "classlib/CInvalidArgException.h"
#include "testutil.h"

TEST(CString, ConstructionAndCopies)
{
    EXPECT_TRUE(CString().IsEmpty());
    EXPECT_TRUE(CString(static_cast<LPCWSTR>(nullptr)).IsEmpty());
    EXPECT_EQ(Utf8(CString(L"abcdef", 3)), "abc");

    CString a(L"文本");
    CString b(a);
    b += L"!";
    EXPECT_EQ(Utf8(a), "文本");  // copies do not share text
    CString c(std::move(b));
    EXPECT_EQ(Utf8(c), "文本!");
    EXPECT_TRUE(b.IsEmpty());  // NOLINT: a moved-from string is empty and usable
    b = L"again";
    EXPECT_EQ(Utf8(b), "again");
    const CString& same = c;
    c = same;  // self-assignment keeps the text
    EXPECT_EQ(Utf8(c), "文本!");
    c = static_cast<LPCWSTR>(c) + 1;  // assignment from its own text
    EXPECT_EQ(Utf8(c), "本!");
}

TEST(CString, LeftRightMidClampOutOfRangeCounts)
{
    const CString s(L"abc");
    EXPECT_EQ(Utf8(s.Left(4)), "abc");
    EXPECT_EQ(Utf8(s.Left(-1)), "");
    EXPECT_EQ(Utf8(s.Right(4)), "abc");
    EXPECT_EQ(Utf8(s.Right(2)), "bc");
    EXPECT_EQ(Utf8(s.Right(-3)), "");
    EXPECT_EQ(Utf8(s.Mid(1)), "bc");
    EXPECT_EQ(Utf8(s.Mid(5)), "");
    EXPECT_EQ(Utf8(s.Mid(-2, 2)), "ab");
    EXPECT_EQ(Utf8(s.Mid(2, 10)), "c");
    EXPECT_EQ(Utf8(s.Mid(1, -1)), "");
    // The name-ending test that file names shorter than four characters reach.
    EXPECT_EQ(Utf8(CString(L"a").Right(4)), "a");
    EXPECT_EQ(Utf8(CString().Mid(0, 4)), "");
}

TEST(CString, FindAndReverseFind)
{
    const CString path(L"C:\\docs\\报告.DOC");
    EXPECT_EQ(path.Find(L'\\'), 2);
    EXPECT_EQ(path.Find(L'\\', 3), 7);
    EXPECT_EQ(path.Find(L'\\', 100), -1);
    EXPECT_EQ(path.Find(L'\\', -5), 2);
    EXPECT_EQ(path.ReverseFind(L'\\'), 7);
    EXPECT_EQ(path.ReverseFind(L'/'), -1);
    EXPECT_EQ(path.Find(L"docs"), 3);
    EXPECT_EQ(path.Find(L"docs", 4), -1);
    EXPECT_EQ(path.Find(L".DOC"), 10);
    EXPECT_EQ(path.Find(L"DOCX"), -1);
    EXPECT_EQ(CString().Find(L'a'), -1);
    EXPECT_EQ(CString().ReverseFind(L'a'), -1);
}

TEST(CString, TrimAndCase)
{
    EXPECT_EQ(Utf8(CString(L" \t text \r\n\v\f").TrimRight()), " \t text");
    EXPECT_EQ(Utf8(CString(L"C:\\a\\\\").TrimRight(L'\\')), "C:\\a");
    // Only A-Z folds: other letters keep their case.
    EXPECT_EQ(Utf8(CString(L"Report.DOC Ä").MakeLower()), "report.doc Ä");
}

TEST(CString, ComparisonsOrderByCodeUnit)
{
    const CString a(L"abc");
    EXPECT_TRUE(a == L"abc");
    EXPECT_TRUE(a == CString(L"abc"));
    EXPECT_FALSE(a == L"abd");
    EXPECT_FALSE(a == CString(L"abcd"));
    EXPECT_LT(CString(L"Z").Compare(L"a"), 0);
    EXPECT_GT(a.Compare(L""), 0);
    EXPECT_EQ(CString().Compare(nullptr), 0);
}

TEST(CString, EditingInPlace)
{
    CString t(L"<abcde!");
    EXPECT_EQ(t.Delete(0), 6);
    EXPECT_EQ(t.Delete(4, 100), 4);
    EXPECT_EQ(t.Delete(10, 1), 4);
    EXPECT_EQ(Utf8(t), "abcd");

    EXPECT_EQ(t.GetAt(0), L'a');
    EXPECT_EQ(t[4], 0);  // the terminator may be read
}

TEST(CString, BadIndexThrowsInsteadOfTouchingMemory)
{
    CString s(L"ab");
    for (int index : {-1, 3}) {
        try {
            (void)s.GetAt(index);
            ADD_FAILURE() << "no exception for index " << index;
        } catch (CInvalidArgException* e) {
            e->Delete();
        }
    }
    EXPECT_EQ(Utf8(s), "ab");
}

TEST(CString, BufferAccess)
{
    CString s(L"ab");
    LPWSTR p = s.GetBuffer(10);
    p[2] = L'c';
    p[3] = 0;
    s.ReleaseBuffer();
    EXPECT_EQ(Utf8(s), "abc");
    p = s.GetBuffer(0);
    EXPECT_EQ(p[0], L'a');  // the text is kept
    s.ReleaseBuffer(1);
    EXPECT_EQ(Utf8(s), "a");

    CString e;
    e.GetBuffer()[0] = 0;  // even an empty string gives a writable buffer
    e.ReleaseBuffer();
    EXPECT_TRUE(e.IsEmpty());
}

TEST(CString, ConcatenationInEveryCombination)
{
    const CString a(L"a");
    EXPECT_EQ(Utf8(a + CString(L"b")), "ab");
    EXPECT_EQ(Utf8(a + L"b"), "ab");
    EXPECT_EQ(Utf8(L"b" + a), "ba");
    CString s;
    s += a;
    s += L"字";
    s += L'!';
    s.Append(L"xyz", 2);
    s.Append(static_cast<LPCWSTR>(nullptr));
    s.AppendChar(L'.');
    EXPECT_EQ(Utf8(s), "a字!xy.");
    s.Append(s);  // appending itself
    EXPECT_EQ(Utf8(s), "a字!xy.a字!xy.");
}

// A text that would pass the largest length ends like one that memory cannot hold, unchanged,
// and without forming the overflowing length (the host build's UBSan stops on that). The count
// is never read: the guard refuses it first.
TEST(CString, AppendBeyondTheLargestLengthThrowsAndKeepsTheText)
{
    CString s(L"ab");
    EXPECT_THROW(s.Append(L"x", INT_MAX), std::bad_alloc);
    EXPECT_THROW(s.Append(L"x", INT_MAX - 3), std::bad_alloc);
    EXPECT_EQ(Utf8(s), "ab");
}

// The engine builds previews of tens of megabytes one run at a time.
TEST(CString, AppendingIsAmortisedConstant)
{
    CString s;
    int moves = 0;
    LPCWSTR last = s.GetString();
    const int total = 4 * 1024 * 1024;
    for (int i = 0; i < total; ++i) {
        s.AppendChar(static_cast<WCHAR>(L'a' + i % 26));
        if (s.GetString() != last) {
            ++moves;
            last = s.GetString();
        }
    }
    EXPECT_EQ(s.GetLength(), total);
    EXPECT_LT(moves, 60);
    EXPECT_EQ(s[total - 1], static_cast<WCHAR>(L'a' + (total - 1) % 26));
}

TEST(CString, CopiesMoveSafelyBetweenThreads)
{
    CString shared(L"共享的文本");
    std::vector<std::thread> threads;
    std::vector<int> bad(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&shared, &bad, t] {
            for (int i = 0; i < 2000; ++i) {
                CString mine(shared);  // readers only copy; each changes its own copy
                mine.AppendChar(static_cast<WCHAR>(L'0' + i % 10));
                if (!(mine.Left(5) == L"共享的文本"))
                    ++bad[t];
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    for (int b : bad)
        EXPECT_EQ(b, 0);
    EXPECT_EQ(Utf8(shared), "共享的文本");
}
