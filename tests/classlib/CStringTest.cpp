#include <gtest/gtest.h>

#include "testutil.h"

TEST(CString, Smoke) { CString s(L"abc"); s += L"def"; EXPECT_EQ(Utf8(s), "abcdef"); }
