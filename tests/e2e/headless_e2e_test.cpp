// Headless runs of the real binary: dumps, screenshots, scripted input, replays. (Every way
// to quit is walked in-process in shell/states_test.cpp.)
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "support/png_writer.h"
#include "support/project_writer.h"
#include "support/temp_dir.h"

using nlohmann::json;

namespace {

// The smallest folder that plays: only the menu frame (the layout upgrade makes the rest).
void MinimalData(const TempDir& dir) {
    dir.WriteFile("Frame.png", EncodeArgbPng(30, 39, std::vector<uint32_t>(30 * 39, 0xFF808080u)));
}

json ReadJson(const TempDir& dir, const std::string& name) {
    return json::parse(dir.ReadFile(name));
}

}  // namespace

// Output files named relative to the folder the program starts in land there, not in the data
// folder; the run stops after the frame --frames names.
TEST(Headless, DumpsTheStateQueueAndFadeAndTakesScreenshots) {
    TempDir dir;
    MinimalData(dir);
    dir.MakeDir("Data");
    std::rename((dir / "Frame.png").c_str(), (dir / "Data/Frame.png").c_str());
    RunResult r = RunOrvan({"--headless", "--data", "Data", "--frames", "60", "--dump-state",
                            "1:s1.json", "--dump-state", "60:" + (dir / "s60.json"), "--dump-state",
                            "61:late.json", "--screenshot", "59:shot.png"},
                           dir.path());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_FALSE(dir.Exists("late.json") || dir.Exists("Data/s1.json"));
    EXPECT_EQ(dir.ReadFile("shot.png").substr(1, 3), "PNG");
    json s1 = ReadJson(dir, "s1.json");
    EXPECT_EQ(s1["frame"], 1);
    EXPECT_EQ(s1["states"], json({2, 4, 5}));  // Boot has popped
    EXPECT_EQ(s1["fade"], 0);
    EXPECT_EQ(std::make_pair(s1["score"], s1["best"]), std::make_pair(json(0), json(0)));
    json s60 = ReadJson(dir, "s60.json");
    // Fade in over frames 2..53, the menu opens in 54, frames 55..60 count the delay.
    EXPECT_EQ(s60["states"], json({5}));
    EXPECT_EQ(s60["fade"], 255);
    EXPECT_EQ(s60["shell"]["titleDelay"], 6);
    EXPECT_EQ(s60["menu"]["items"], json({"GAME START ", "CONFIG ", "EXIT "}));
}

TEST(Headless, AReplayReproducesItsRecording) {
    TempDir dir;
    MinimalData(dir);
    dir.WriteFile("in.txt", "80-84 DOWN\n90 X\n150-160 X\n");
    RunResult rec =
        RunOrvan({"--headless", "--data", dir.path(), "--input", dir / "in.txt", "--frames", "200",
                  "--record", dir / "run.replay", "--dump-state", "200:" + (dir / "a.json")});
    ASSERT_EQ(rec.exitCode, 0) << rec.err;
    RunResult play = RunOrvan({"--headless", "--data", dir.path(), "--replay", dir / "run.replay",
                               "--dump-state", "200:" + (dir / "b.json"), "--dump-state",
                               "201:" + (dir / "late.json")});
    ASSERT_EQ(play.exitCode, 0) << play.err;
    EXPECT_EQ(dir.ReadFile("a.json"), dir.ReadFile("b.json"));
    EXPECT_FALSE(dir.Exists("late.json"));  // the replay ends on its last recorded frame

    // A recording that no longer matches the run fails loudly.
    std::string text = dir.ReadFile("run.replay");
    size_t c = text.find("\nc 60 ");
    ASSERT_NE(c, std::string::npos);
    text[c + 6] = text[c + 6] == '0' ? '1' : '0';
    dir.WriteFile("bad.replay", text);
    RunResult bad = RunOrvan({"--headless", "--data", dir.path(), "--replay", dir / "bad.replay"});
    EXPECT_EQ(bad.exitCode, 3);
    EXPECT_NE(bad.err.find("frame 60"), std::string::npos) << bad.err;
}

// The test-play and author options reach the game through the command line, and the input
// script's F-keys reach author mode.
TEST(Headless, TestPlayOptionsAndFunctionKeysReachTheGame) {
    TempDir dir;
    std::filesystem::copy(ORVAN_DEMO_DATA, dir / "Data", std::filesystem::copy_options::recursive);
    dir.WriteFile("in.txt", "1 F1\n");
    std::vector<std::string> args = {"--data",       dir / "Data",   "--input",
                                     dir / "in.txt", "--dump-state", "2:" + (dir / "d.json")};
    std::istringstream more(
        "--headless --seed 1 --frames 2 --play --scene-entry 3 --lives 7 --power 2 --invincible "
        "--author");
    for (std::string a; more >> a;) args.push_back(a);
    RunResult r = RunOrvan(args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    json d = ReadJson(dir, "d.json");
    EXPECT_EQ(d["states"], json({8, 11}));
    EXPECT_EQ(d["scene"]["entryIndex"], 3);
    EXPECT_EQ(std::make_pair(d["player"]["lives"], d["player"]["power"]),
              std::make_pair(json(7), json(2)));
    EXPECT_EQ(d["author"]["invincible"], true);
    EXPECT_EQ(d["author"]["overlay"], true);
    EXPECT_EQ(d["author"]["gameFrames"], 2);
}
