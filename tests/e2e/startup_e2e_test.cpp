// Runs the real binary headless.
#include <gtest/gtest.h>

#include "support/temp_dir.h"

TEST(Startup, LegacyProjectIsRefusedWithItsMessage) {
    TempDir dir;
    dir.WriteFile("Data/Data.bin", "old");
    RunResult r = RunOrvan({"--headless"}, dir.path());
    EXPECT_EQ(r.exitCode, 0);
    // エラー and the first words of the message, in UTF-8.
    EXPECT_NE(r.err.find("\xE3\x82\xA8\xE3\x83\xA9\xE3\x83\xBC"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("\xE3\x81\xBE\xE3\x81\xA0\xE5\x89\x8D"), std::string::npos) << r.err;
    // Nothing else was opened: no log, no layout upgrade.
    EXPECT_FALSE(dir.Exists("Data/AppLog.txt"));
    EXPECT_FALSE(dir.Exists("Data/Global"));
}

TEST(Startup, BadCommandLinesExitWithCode2) {
    TempDir dir;
    EXPECT_EQ(RunOrvan({"--frames", "x"}, dir.path()).exitCode, 2);
    EXPECT_EQ(RunOrvan({"--headless", "--data", dir / "missing"}, dir.path()).exitCode, 2);
    // Unreadable and malformed scripts and replays end the run before it starts.
    for (const char* input : {"--input", "--replay"})
        EXPECT_EQ(RunOrvan({"--headless", "--data", dir.path(), input, dir / "none"}).exitCode, 2);
    dir.WriteFile("bad.replay", "orvan-replay 1\nq\n");
    EXPECT_EQ(
        RunOrvan({"--headless", "--data", dir.path(), "--replay", dir / "bad.replay"}).exitCode, 2);
    dir.WriteFile("in.txt", "1 X\n2-1 Z\n");
    RunResult r = RunOrvan({"--headless", "--data", dir.path(), "--input", dir / "in.txt"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("line 2"), std::string::npos) << r.err;
}

TEST(Startup, MissingMenuFrameEndsTheRunWithTheErrorFile) {
    TempDir dir;
    RunResult r = RunOrvan({"--headless", "--data", dir.path(), "--frames", "60"});
    EXPECT_EQ(r.exitCode, 0);
    std::string error = dir.ReadFile("Error.bin");
    ASSERT_EQ(error.size(), 49u);
    EXPECT_EQ(error.substr(0, 4), std::string("\x2D\x00\x00\x00", 4));
    // The same message on stderr in UTF-8: メニューフレーム画像が見つかりませんでした。
    EXPECT_NE(r.err.find("\xE3\x83\xA1\xE3\x83\x8B\xE3\x83\xA5\xE3\x83\xBC"), std::string::npos);
}
