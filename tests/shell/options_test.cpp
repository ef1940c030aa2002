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

// A replay file keeps the seed and the last frame, and anything else is refused with the line
// it is on. (The keys, pad bits and checksums go through the binary in headless_e2e_test.cpp.)
TEST(Replay, KeepsTheSeedAndRefusesOtherFilesByLine) {
    TReplay r;
    r.seed = 4242;
    r.lastFrame = 61;
    TReplay back;
    std::string error;
    ASSERT_TRUE(back.Parse(r.Serialize(), &error)) << error;
    EXPECT_EQ(std::make_pair(back.seed, back.lastFrame), std::make_pair(4242u, 61u));
    EXPECT_FALSE(back.Parse("hello\n", &error));
    EXPECT_FALSE(back.Parse("orvan-replay 1\ni 3 zz 100\n", &error));
    EXPECT_NE(error.find("line 2"), std::string::npos);
}

}  // namespace
