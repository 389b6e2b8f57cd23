#include <gtest/gtest.h>

#include "classlib/CArray.h"
#include "testutil.h"

TEST(CArray, AddIndexAndRemove)
{
    CArray<int, int> a;
    EXPECT_EQ(a.Add(10), 0);
    EXPECT_EQ(a.Add(20), 1);
    EXPECT_EQ(a.Add(30), 2);
    EXPECT_EQ(a.Add(40), 3);
    a[1] += 1;
    a.RemoveAt(2);
    ASSERT_EQ(a.GetSize(), 3);
    const int expected[] = {10, 21, 40};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(a[i], expected[i]) << i;
    a.RemoveAt(0, 2);
    ASSERT_EQ(a.GetSize(), 1);
    EXPECT_EQ(a[0], 40);
    a.RemoveAll();
    EXPECT_EQ(a.GetSize(), 0);
}

// An element of the array itself, passed by reference while the array grows.
TEST(CArray, AddsAnElementOfItself)
{
    CArray<CString, const CString&> a;
    a.Add(L"zero");
    for (int i = 0; i < 100; ++i)
        a.Add(a[0]);
    ASSERT_EQ(a.GetSize(), 101);
    EXPECT_EQ(Utf8(a[100]), "zero");
}

TEST(CArray, BadIndexesThrow)
{
    CDWordArray a;
    a.Add(7);
    auto expectThrow = [](auto&& f, int line) {
        try {
            f();
            ADD_FAILURE_AT(__FILE__, line) << "no exception";
        } catch (CInvalidArgException* e) {
            e->Delete();
        }
    };
    expectThrow([&] { (void)a[1]; }, __LINE__);
    expectThrow([&] { (void)a[-1]; }, __LINE__);
    expectThrow([&] { a.RemoveAt(0, 2); }, __LINE__);
    expectThrow([&] { a.RemoveAt(-1); }, __LINE__);
    EXPECT_EQ(a.GetSize(), 1);
    EXPECT_EQ(a[0], 7u);
}
