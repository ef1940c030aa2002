#include <gtest/gtest.h>

#include "media/input_script.h"

using media::InputScript;

TEST(InputScript, HoldsNamesOverTheirSpans) {
    InputScript s;
    std::string error;
    ASSERT_TRUE(s.Parse("# start the game\n10-12 X\n11 up pad3 # both\n20 PADUP PAD24\n", &error))
        << error;
    uint8_t keys[256] = {};
    int pad = 0;
    s.Apply(9, keys, &pad);
    EXPECT_EQ(keys[0x2D], 0);
    s.Apply(10, keys, &pad);
    EXPECT_EQ(keys[0x2D], 1);
    uint8_t k11[256] = {};
    pad = 0;
    s.Apply(11, k11, &pad);
    EXPECT_EQ(k11[0x2D], 1);
    EXPECT_EQ(k11[0xC8], 1);
    EXPECT_EQ(pad, 0x40);
    pad = 0;
    uint8_t k20[256] = {};
    s.Apply(20, k20, &pad);
    EXPECT_EQ(pad, 0x8 | (0x10 << 23));
}

TEST(InputScript, ReportsTheLineOfABadEntry) {
    InputScript s;
    std::string error;
    EXPECT_FALSE(s.Parse("1 X\n\n5-3 Z\n", &error));
    EXPECT_NE(error.find("line 3"), std::string::npos);
    EXPECT_FALSE(s.Parse("1 X\n2 JUMP\n", &error));
    EXPECT_NE(error.find("line 2"), std::string::npos);
    EXPECT_NE(error.find("JUMP"), std::string::npos);
    EXPECT_FALSE(s.Parse("abc X\n", &error));
    EXPECT_FALSE(s.Parse("7\n", &error));
    EXPECT_FALSE(s.Parse("1 PAD25\n", &error));
    EXPECT_FALSE(s.Parse("99999999999 X\n", &error));
}
