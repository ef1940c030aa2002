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
    EXPECT_TRUE(none.dataDir.empty() && !none.headless && none.windowMode == -1);

    TRunOptions o;
    ASSERT_EQ(Parse({"--data", "d", "--headless", "--frames", "60", "--seed", "1", "--input",
                     "in.txt", "--dump-state", "60:s.json", "--dump-state", "2:t.json",
                     "--screenshot", "5:a.png", "--scale", "1", "--windowed"},
                    &o),
              -1);
    EXPECT_EQ(o.dataDir + " " + o.inputScript + " " + o.dumps.at(0).path + " " + o.dumps.at(1).path,
              "d in.txt s.json t.json");
    EXPECT_EQ(
        (std::vector<uint32_t>{o.headless, o.frames, o.seedGiven, o.seed, o.dumps[0].frame,
                               o.dumps[1].frame, uint32_t(o.screenshots.size()),
                               o.screenshots[0].frame, uint32_t(o.scale), uint32_t(o.windowMode)}),
        (std::vector<uint32_t>{1, 60, 1, 1, 60, 2, 1, 5, 1, 1}));
    EXPECT_EQ(Parse({"--version"}, &o), 0);
}

TEST(CommandLine, RefusesMalformedValuesWithCode2) {
    const std::vector<std::string> bad[] = {{"--frames", "sixty"},
                                            {"--frames", "-1"},
                                            {"--seed", "99999999999"},
                                            {"--dump-state", "s.json"},
                                            {"--dump-state", "0:s.json"},
                                            {"--screenshot", "3:"},
                                            {"--bogus"},
                                            {"--fullscreen", "--windowed"},
                                            {"--record", "a", "--replay", "b"},
                                            {"--input", "a", "--replay", "b"},
                                            {"--scale", "17"}};
    for (const auto& args : bad) {
        TRunOptions o;
        EXPECT_EQ(Parse(args, &o), 2) << args[0] << " " << args.back();
    }
}

}  // namespace
