#include <gtest/gtest.h>
#include "classlib/CArray.h"
TEST(CArray, Smoke) { CArray<int, int> a; EXPECT_EQ(a.Add(3), 0); EXPECT_EQ(a[0], 3); }
