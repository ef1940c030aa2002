#include <gtest/gtest.h>

#include "sys/sys.h"

TEST(VirtualClock, MovesOnlyWhenSleeping) {
    sys::UseVirtualClock(true, 5000);
    EXPECT_EQ(sys::TimeGetTime(), 5000u);
    EXPECT_EQ(sys::TimeGetTime(), 5000u);
    sys::Sleep(17);
    EXPECT_EQ(sys::TimeGetTime(), 5017u);
    sys::UseVirtualClock(false);
}

TEST(VirtualClock, WrapsAroundAsUnsigned) {
    sys::UseVirtualClock(true, 0xFFFFFFF0u);
    uint32_t before = sys::TimeGetTime();
    sys::Sleep(32);
    uint32_t after = sys::TimeGetTime();
    EXPECT_EQ(after, 0x10u);
    EXPECT_EQ(after - before, 32u);  // differences stay right across the wrap
    sys::UseVirtualClock(false);
}

TEST(RealClock, Advances) {
    uint32_t a = sys::TimeGetTime();
    sys::Sleep(5);
    EXPECT_GE(sys::TimeGetTime() - a, 4u);
}
