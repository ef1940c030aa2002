#include "shell/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Parses 'args' after the program name into 'out', with the messages kept off the test's output.
int Parse(std::vector<std::string> args, TRunOptions* out) {
    args.insert(args.begin(), "orvan");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    int code = ParseCommandLine(static_cast<int>(argv.size()), argv.data(), out);
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    return code;
}

TEST(CommandLine, ReadsEveryOptionAndNoneMeansTheGamesOwnStart) {
    TRunOptions none;
    EXPECT_EQ(Parse({}, &none), -1);
    EXPECT_TRUE(none.dataDir.empty());
    EXPECT_FALSE(none.headless);
    EXPECT_EQ(none.windowMode, -1);

    TRunOptions o;
    ASSERT_EQ(Parse({"--data", "d", "--headless", "--frames", "60", "--seed", "1", "--input",
                     "in.txt", "--dump-state", "60:s.json", "--dump-state", "2:t.json",
                     "--screenshot", "5:a.png", "--scale", "2", "--windowed"},
                    &o),
              -1);
    EXPECT_EQ(o.dataDir, "d");
    EXPECT_TRUE(o.headless);
    EXPECT_EQ(o.frames, 60u);
    EXPECT_TRUE(o.seedGiven);
    EXPECT_EQ(o.seed, 1u);
    EXPECT_EQ(o.inputScript, "in.txt");
    ASSERT_EQ(o.dumps.size(), 2u);
    EXPECT_EQ(o.dumps[0].frame, 60u);
    EXPECT_EQ(o.dumps[0].path, "s.json");
    ASSERT_EQ(o.screenshots.size(), 1u);
    EXPECT_EQ(o.screenshots[0].frame, 5u);
    EXPECT_EQ(o.scale, 2);
    EXPECT_EQ(o.windowMode, 1);
}

TEST(CommandLine, RefusesMalformedValuesWithCode2) {
    TRunOptions o;
    EXPECT_EQ(Parse({"--frames", "sixty"}, &o), 2);
    EXPECT_EQ(Parse({"--frames", "-1"}, &o), 2);
    EXPECT_EQ(Parse({"--seed", "99999999999"}, &o), 2);
    EXPECT_EQ(Parse({"--dump-state", "s.json"}, &o), 2);
    EXPECT_EQ(Parse({"--dump-state", "0:s.json"}, &o), 2);
    EXPECT_EQ(Parse({"--screenshot", "3:"}, &o), 2);
    EXPECT_EQ(Parse({"--bogus"}, &o), 2);
    EXPECT_EQ(Parse({"--fullscreen", "--windowed"}, &o), 2);
    EXPECT_EQ(Parse({"--record", "a", "--replay", "b"}, &o), 2);
}

}  // namespace
