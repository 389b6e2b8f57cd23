#include <gtest/gtest.h>

#include "classlib/CArray.h"
#include "testutil.h"

TEST(CArray, AddInsertRemove)
{
    CArray<int, int> a;
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(a.GetUpperBound(), -1);
    EXPECT_EQ(a.Add(10), 0);
    EXPECT_EQ(a.Add(30), 1);
    a.InsertAt(1, 20);
    a.InsertAt(3, 40);
    a.InsertAt(0, 5, 2);
    ASSERT_EQ(a.GetSize(), 6);
    EXPECT_EQ(a.GetCount(), 6);
    const int expected[] = {5, 5, 10, 20, 30, 40};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(a[i], expected[i]) << i;
    a.RemoveAt(0, 2);
    a.RemoveAt(3);
    EXPECT_EQ(a.GetSize(), 3);
    EXPECT_EQ(a.GetAt(2), 30);
    a.SetAt(0, 11);
    a.ElementAt(1) += 1;
    EXPECT_EQ(a[0], 11);
    EXPECT_EQ(a[1], 21);
    EXPECT_EQ(a.GetData()[2], 30);
    a.RemoveAll();
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(a.GetData(), nullptr);
}

TEST(CArray, SizesCopiesAndElementsFromItself)
{
    CArray<CString, const CString&> a;
    a.SetSize(3);
    EXPECT_TRUE(a[2].IsEmpty());
    a[0] = L"zero";
    a.SetAtGrow(5, L"five");
    EXPECT_EQ(a.GetSize(), 6);
    // An element of the array itself, passed by reference while the array grows.
    for (int i = 0; i < 100; ++i)
        a.Add(a[0]);
    a.InsertAt(0, a[5]);
    EXPECT_EQ(Utf8(a[0]), "five");
    EXPECT_EQ(Utf8(a[a.GetUpperBound()]), "zero");

    CArray<CString, const CString&> b;
    b.Copy(a);
    EXPECT_EQ(b.GetSize(), a.GetSize());
    EXPECT_EQ(b.Append(b), a.GetSize());
    EXPECT_EQ(b.GetSize(), 2 * a.GetSize());
    a.SetSize(1);
    EXPECT_EQ(Utf8(a[0]), "five");
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
    expectThrow([&] { (void)a.GetAt(1); }, __LINE__);
    expectThrow([&] { (void)a[-1]; }, __LINE__);
    expectThrow([&] { a.SetAt(1, 0); }, __LINE__);
    expectThrow([&] { a.RemoveAt(0, 2); }, __LINE__);
    expectThrow([&] { a.InsertAt(-1, 0); }, __LINE__);
    expectThrow([&] { a.SetSize(-1); }, __LINE__);
    EXPECT_EQ(a.GetSize(), 1);
    EXPECT_EQ(a[0], 7u);
}
