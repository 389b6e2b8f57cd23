#include <gtest/gtest.h>
TEST(Harness, Runs) { EXPECT_EQ(2, 1 + 1); }
