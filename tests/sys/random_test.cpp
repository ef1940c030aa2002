#include <gtest/gtest.h>

#include "sys/sys.h"

TEST(Random, SeededWithOneGivesTheClassicSequence) {
    sys::SeedRandom(1);
    EXPECT_EQ(sys::Rand(), 41);
    EXPECT_EQ(sys::Rand(), 18467);
    EXPECT_EQ(sys::Rand(), 6334);
    EXPECT_EQ(sys::Rand(), 26500);
    EXPECT_EQ(sys::Rand(), 19169);
}

TEST(Random, StaysInRangeAndCountsDraws) {
    sys::SeedRandom(12345);
    uint64_t before = sys::RandCalls();
    for (int i = 0; i < 10000; ++i) {
        int v = sys::Rand();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 32767);
    }
    EXPECT_EQ(sys::RandCalls() - before, 10000u);
}

TEST(Random, ReseedingRepeatsTheStream) {
    sys::SeedRandom(777);
    int a = sys::Rand(), b = sys::Rand();
    sys::SeedRandom(777);
    EXPECT_EQ(sys::Rand(), a);
    EXPECT_EQ(sys::Rand(), b);
}
