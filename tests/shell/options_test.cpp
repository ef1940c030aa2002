#include "shell/options.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

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
    testing::internal::CaptureStdout();
    const int code = ParseCommandLine(static_cast<int>(argv.size()), argv.data(), out);
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    return code;
}

TEST(CommandLine, ReadsEveryOptionAndNoneMeansTheGamesOwnStart) {
    TRunOptions none;
    EXPECT_EQ(Parse("", &none), -1);
    EXPECT_TRUE(none.dataDir.empty() && !none.headless && none.windowMode == -1);
    EXPECT_FALSE(none.author || none.play || none.invincible);
    EXPECT_EQ(none.sceneEntry + none.lives + none.power, -3);

    TRunOptions o;
    ASSERT_EQ(
        Parse("--data d --headless --frames 60 --seed 1 --input in.txt --dump-state 60:s.json "
              "--dump-state 2:t.json --screenshot 5:a.png --scale 1 --windowed --author "
              "--play --scene-entry 6 --invincible --lives 7 --power 2",
              &o),
        -1);
    EXPECT_EQ(o.dataDir + " " + o.inputScript + " " + o.dumps.at(0).path + " " + o.dumps.at(1).path,
              "d in.txt s.json t.json");
    EXPECT_EQ(
        (std::vector<uint32_t>{o.headless, o.frames, o.seedGiven, o.seed, o.dumps[0].frame,
                               o.dumps[1].frame, uint32_t(o.screenshots.size()),
                               o.screenshots[0].frame, uint32_t(o.scale), uint32_t(o.windowMode)}),
        (std::vector<uint32_t>{1, 60, 1, 1, 60, 2, 1, 5, 1, 1}));
    EXPECT_TRUE(o.author && o.play && o.invincible);
    EXPECT_EQ((std::vector<int>{o.sceneEntry, o.lives, o.power}), (std::vector<int>{6, 7, 2}));
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

}  // namespace
