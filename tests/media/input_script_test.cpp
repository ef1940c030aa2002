// Scripted input for headless runs: spans of frames holding keys and pad bits.
#include "media/input_script.h"

#include <gtest/gtest.h>

#include <tuple>

using media::InputScript;

TEST(InputScript, HoldsNamesOverTheirSpans) {
    InputScript s;
    std::string error;
    ASSERT_TRUE(s.Parse("# start the game\n10-12 X\n11 up pad3 # both\n20 PADUP PAD24\n", &error))
        << error;
    // Frame by frame: X (scan code 0x2D), Up (0xC8) and the pad bits.
    for (auto [frame, x, up, pad] : {std::tuple{9u, 0, 0, 0},
                                     {10u, 1, 0, 0},
                                     {11u, 1, 1, 0x40},
                                     {12u, 1, 0, 0},
                                     {13u, 0, 0, 0},
                                     {20u, 0, 0, 0x8 | 0x10 << 23}}) {
        uint8_t keys[256] = {};
        int bits = 0;
        s.Apply(frame, keys, &bits);
        EXPECT_EQ(keys[0x2D], x) << frame;
        EXPECT_EQ(keys[0xC8], up) << frame;
        EXPECT_EQ(bits, pad) << frame;
    }
}

TEST(InputScript, ReportsTheLineOfABadEntry) {
    InputScript s;
    std::string error;
    EXPECT_FALSE(s.Parse("1 X\n\n5-3 Z\n", &error));
    EXPECT_NE(error.find("line 3"), std::string::npos);
    EXPECT_FALSE(s.Parse("1 X\n2 JUMP\n", &error));
    EXPECT_NE(error.find("line 2"), std::string::npos);
    EXPECT_NE(error.find("JUMP"), std::string::npos);
    for (const char* bad : {"abc X\n", "7\n", "1 PAD25\n", "99999999999 X\n"})
        EXPECT_FALSE(s.Parse(bad, &error)) << bad;
}
