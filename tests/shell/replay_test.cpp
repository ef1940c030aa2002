#include "shell/replay.h"

#include <gtest/gtest.h>

// A replay file keeps the seed, the last frame, the keys and pad bits of each frame that had
// any, and the checksums; anything else is refused with the line it is on.
TEST(Replay, RoundTripsSeedInputAndChecksumsAndRefusesOtherFiles) {
    TReplay r;
    r.seed = 4242;
    uint8_t keys[256] = {}, none[256] = {};
    keys[0x2D] = keys[0xC8] = 1;
    r.RecordInput(3, keys, 0x40);
    r.RecordInput(4, none, 0);  // a frame without input has no line
    r.RecordInput(5, none, 0x1);
    r.checksums[60] = 0x0123456789abcdefull;
    r.lastFrame = 61;
    TReplay back;
    std::string error;
    ASSERT_TRUE(back.Parse(r.Serialize(), &error)) << error;
    EXPECT_EQ(std::make_pair(back.seed, back.lastFrame), std::make_pair(4242u, 61u));
    EXPECT_EQ(back.checksums.at(60), 0x0123456789abcdefull);
    EXPECT_EQ(r.Serialize().find("\ni 4 "), std::string::npos);
    EXPECT_NE(r.Serialize().find("\ni 5 1\n"), std::string::npos);
    for (uint32_t frame : {3u, 4u}) {
        uint8_t out[256] = {};
        int pad = 0;
        back.ApplyInput(frame, out, &pad);
        EXPECT_EQ((std::vector<int>{out[0x2D], out[0xC8], pad}),
                  (frame == 3 ? std::vector<int>{1, 1, 0x40} : std::vector<int>{0, 0, 0}));
    }
    EXPECT_FALSE(back.Parse("hello\n", &error));
    EXPECT_FALSE(back.Parse("orvan-replay 1\ni 3 zz 100\n", &error));
    EXPECT_NE(error.find("line 2"), std::string::npos);
}
