#include "shell/replay.h"

#include <gtest/gtest.h>

TEST(Replay, RoundTripsSeedInputAndChecksums) {
    TReplay r;
    r.seed = 4242;
    uint8_t keys[256] = {};
    keys[0x2D] = 1;
    keys[0xC8] = 1;
    r.RecordInput(3, keys, 0x40);
    uint8_t none[256] = {};
    r.RecordInput(4, none, 0);
    r.checksums[60] = 0x0123456789abcdefull;
    r.lastFrame = 61;

    TReplay back;
    std::string error;
    ASSERT_TRUE(back.Parse(r.Serialize(), &error)) << error;
    EXPECT_EQ(back.seed, 4242u);
    EXPECT_EQ(back.lastFrame, 61u);
    EXPECT_EQ(back.checksums.at(60), 0x0123456789abcdefull);
    uint8_t out[256] = {};
    int pad = 0;
    back.ApplyInput(3, out, &pad);
    EXPECT_EQ(out[0x2D], 1);
    EXPECT_EQ(out[0xC8], 1);
    EXPECT_EQ(pad, 0x40);
    uint8_t out4[256] = {};
    pad = 0;
    back.ApplyInput(4, out4, &pad);
    EXPECT_EQ(out4[0x2D], 0);
    EXPECT_EQ(pad, 0);
}

TEST(Replay, RefusesOtherFiles) {
    TReplay r;
    std::string error;
    EXPECT_FALSE(r.Parse("hello\n", &error));
    EXPECT_FALSE(r.Parse("orvan-replay 1\ni 3 zz 100\n", &error));
    EXPECT_NE(error.find("line 2"), std::string::npos);
}
