// Headless runs of the real binary: dumps, screenshots, scripted input, replays, and the runs
// that end at start-up. (What the dumps hold frame by frame is the golden scenarios'.)
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "shell/game.h"
#include "support/png_writer.h"
#include "support/temp_dir.h"

using nlohmann::json;

// A recording of a visit to the configuration replays to the same state and ends on its last
// recorded frame, the pad's bits included; a recording that no longer matches the run fails loudly.
// Output files named relative to the folder the program starts in land there, not in the data
// folder, and
// --frames ends the run after its frame.
TEST(Headless, AReplayReproducesItsRecording) {
    TempDir dir;
    dir.WriteFile("Data/Frame.png",
                  EncodeArgbPng(30, 39, std::vector<uint32_t>(30 * 39, 0xFF808080u)));
    // Into the configuration, where both flags are toggled (a decision held for 16 frames),
    // and back to the title, which saves them.
    dir.WriteFile("in.txt",
                  "80-84 PADDOWN\n85 PAD3\n112-127 X\n130-134 DOWN\n135-150 X\n"
                  "151-160 DOWN\n161 X\n");
    RunResult rec = RunOrvan({"--headless", "--data", "Data", "--input", "in.txt", "--frames",
                              "200", "--record", "run.replay", "--dump-state", "200:a.json",
                              "--dump-state", "201:late.json", "--screenshot", "59:shot.png"},
                             dir.path());
    ASSERT_EQ(rec.exitCode, 0) << rec.err;
    EXPECT_FALSE(dir.Exists("late.json") || dir.Exists("Data/a.json"));
    EXPECT_EQ(dir.ReadFile("shot.png").substr(1, 3), "PNG");
    EXPECT_EQ(json::parse(dir.ReadFile("a.json"))["states"], json({kTitleMenu}));
    EXPECT_EQ(dir.ReadFile("Data/Setting.bin"), std::string("\x01\x01", 2));
    std::filesystem::remove(dir / "Data/Setting.bin");  // the replay starts as the recording did
    RunResult play = RunOrvan({"--headless", "--data", dir / "Data", "--replay", dir / "run.replay",
                               "--dump-state", "200:" + (dir / "b.json"), "--dump-state",
                               "201:" + (dir / "late.json")});
    ASSERT_EQ(play.exitCode, 0) << play.err;
    EXPECT_EQ(dir.ReadFile("a.json"), dir.ReadFile("b.json"));
    EXPECT_FALSE(dir.Exists("late.json"));

    // A recording that no longer matches the run fails loudly.
    std::string text = dir.ReadFile("run.replay");
    size_t c = text.find("\nc 60 ");
    ASSERT_NE(c, std::string::npos);
    text[c + 6] = text[c + 6] == '0' ? '1' : '0';
    dir.WriteFile("bad.replay", text);
    RunResult bad =
        RunOrvan({"--headless", "--data", dir / "Data", "--replay", dir / "bad.replay"});
    EXPECT_EQ(bad.exitCode, 3);
    EXPECT_NE(bad.err.find("frame 60"), std::string::npos) << bad.err;
}

// The test-play and author options reach the game through the command line, and the input
// script's F-keys reach author mode.
TEST(Headless, TestPlayOptionsAndFunctionKeysReachTheGame) {
    TempDir dir;
    std::filesystem::copy(ORVAN_DEMO_DATA, dir / "Data", std::filesystem::copy_options::recursive);
    dir.WriteFile("in.txt", "1 F1\n");
    RunResult r = RunOrvan(
        {"--headless", "--data", "Data",     "--input", "in.txt",       "--dump-state",  "2:d.json",
         "--seed",     "1",      "--frames", "2",       "--play",       "--scene-entry", "3",
         "--lives",    "7",      "--power",  "2",       "--invincible", "--author"},
        dir.path());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const json d = json::parse(dir.ReadFile("d.json")), author = d["author"];
    EXPECT_EQ(json::array({d["states"], d["scene"]["entryIndex"], d["player"]["lives"],
                           d["player"]["power"], author["invincible"], author["overlay"],
                           author["gameFrames"]}),
              json::array({{8, 11}, 3, 7, 2, true, true, 2}));
}

TEST(Startup, LegacyProjectIsRefusedWithItsMessage) {
    TempDir dir;
    dir.WriteFile("Data/Data.bin", "old");
    RunResult r = RunOrvan({"--headless"}, dir.path());
    EXPECT_EQ(r.exitCode, 0);
    // エラー and the first words of the message, in UTF-8.
    EXPECT_NE(r.err.find("\xE3\x82\xA8\xE3\x83\xA9\xE3\x83\xBC"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("\xE3\x81\xBE\xE3\x81\xA0\xE5\x89\x8D"), std::string::npos) << r.err;
    // Nothing else was opened: no log, no layout upgrade.
    EXPECT_FALSE(dir.Exists("Data/AppLog.txt") || dir.Exists("Data/Global"));
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
    // The length, the message in cp932 (メ first) and its terminator.
    ASSERT_EQ(error.size(), 49u);
    EXPECT_EQ(error.substr(0, 6) + error[48], std::string("\x2D\x00\x00\x00\x83\x81\x00", 7));
    // The same message on stderr in UTF-8: メニューフレーム画像が見つかりませんでした。
    EXPECT_NE(r.err.find("\xE3\x83\xA1\xE3\x83\x8B\xE3\x83\xA5\xE3\x83\xBC"), std::string::npos);
}
