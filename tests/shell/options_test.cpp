// The command line, and the replay files it names.
#include "shell/options.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "shell/replay.h"

namespace {

// Parses the words of 'line' after the program name into 'out', with the messages kept off
// the test's output.
int Parse(const std::string& line, TRunOptions* out) {
    std::vector<std::string> args = {"orvan"};
    std::istringstream words(line);
    for (std::string w; words >> w;) args.push_back(w);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    testing::internal::CaptureStderr();
    const int code = ParseCommandLine(static_cast<int>(argv.size()), argv.data(), out);
    testing::internal::GetCapturedStderr();
    return code;
}

// The other options are read by the headless runs of the binary (tests/e2e), whose dumps
// show each of them.
TEST(CommandLine, ReadsTheWindowOptionsAndNoneMeansTheGamesOwnStart) {
    TRunOptions none;
    EXPECT_EQ(Parse("", &none), -1);
    EXPECT_TRUE(none.dataDir.empty() && !none.headless && none.windowMode == -1);
    EXPECT_FALSE(none.author || none.play || none.invincible);
    EXPECT_EQ(none.sceneEntry + none.lives + none.power, -3);
    TRunOptions o;
    ASSERT_EQ(Parse("--scale 3 --windowed --screenshot 5:a.png", &o), -1);
    EXPECT_EQ((std::vector<int>{o.scale, o.windowMode, int(o.screenshots.at(0).frame)}),
              (std::vector<int>{3, 1, 5}));
    EXPECT_EQ(Parse("--version", &o), 0);
}

TEST(CommandLine, RefusesMalformedValuesWithCode2) {
    for (const char* bad :
         {"--frames sixty", "--frames -1", "--seed 99999999999", "--dump-state s.json",
          "--dump-state 0:s.json", "--screenshot 3:", "--bogus", "--fullscreen --windowed",
          "--record a --replay b", "--input a --replay b", "--scale 17", "--power 6", "--lives 100",
          "--scene-entry -1", "--lives x"}) {
        TRunOptions o;
        EXPECT_EQ(Parse(bad, &o), 2) << bad;
    }
}

// A replay file keeps the seed, the last frame and each frame's keys and pad bits; anything
// else is refused with its line. (Recordings are replayed in headless_e2e_test.cpp.)
TEST(Replay, KeepsTheSeedAndInputAndRefusesOtherFilesByLine) {
    TReplay r, back;
    r.seed = 4242;
    uint8_t keys[256] = {}, out[256] = {};
    keys[0x2D] = 1;
    r.RecordInput(61, keys, 0x40);
    std::string error;
    ASSERT_TRUE(back.Parse(r.Serialize(), &error)) << error;
    int pad = 0;
    back.ApplyInput(61, out, &pad);
    EXPECT_EQ(
        (std::vector<uint32_t>{back.seed, back.lastFrame, out[0x2D], out[0x2C], uint32_t(pad)}),
        (std::vector<uint32_t>{4242, 61, 1, 0, 0x40}));
    EXPECT_FALSE(back.Parse("hello\n", &error));
    EXPECT_FALSE(back.Parse("orvan-replay 1\ni 3 zz 100\n", &error));
    EXPECT_NE(error.find("line 2"), std::string::npos);
}

}  // namespace
