// Headless runs of the real binary: dumps, screenshots, scripted input, replays, and the runs
// that end at start-up (what the dumps hold frame by frame is the golden scenarios'); and the
// soak, in process.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <random>
#include <string>

#include "media/host.h"
#include "shell/game.h"
#include "support/game_runner.h"
#include "support/png_writer.h"
#include "support/temp_dir.h"

using nlohmann::json;

// A recording of a visit to the configuration (pad bits included) replays to the same state
// and ends on its last frame; one that no longer matches fails loudly. Output files named
// relative to the launch folder land there, and --frames ends the run after its frame.
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
         "--lives",    "0",      "--power",  "2",       "--invincible", "--author"},
        dir.path());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const json d = json::parse(dir.ReadFile("d.json")), author = d["author"];
    EXPECT_EQ(json::array({d["states"], d["scene"]["entryIndex"], d["player"]["lives"],
                           d["player"]["power"], author["invincible"], author["overlay"],
                           author["gameFrames"]}),
              json::array({{8, 11}, 3, 0, 2, true, true, 2}));
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

// A project of the older kind is refused with its message and nothing else opened; a missing
// menu frame ends the run with the error file.
TEST(Startup, LegacyProjectAndMissingMenuFrameEndTheRunWithTheirMessages) {
    TempDir dir;
    dir.WriteFile("Data/Data.bin", "old");
    RunResult r = RunOrvan({"--headless"}, dir.path());
    EXPECT_EQ(r.exitCode, 0);
    // エラー and the first words of the message, in UTF-8.
    EXPECT_NE(r.err.find("\xE3\x82\xA8\xE3\x83\xA9\xE3\x83\xBC"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("\xE3\x81\xBE\xE3\x81\xA0\xE5\x89\x8D"), std::string::npos) << r.err;
    EXPECT_FALSE(dir.Exists("Data/AppLog.txt") || dir.Exists("Data/Global"));

    r = RunOrvan({"--headless", "--data", dir.path(), "--frames", "60"});
    EXPECT_EQ(r.exitCode, 0);
    std::string error = dir.ReadFile("Error.bin");
    // The length, the message in cp932 (メ first) and its terminator.
    ASSERT_EQ(error.size(), 49u);
    EXPECT_EQ(error.substr(0, 6) + error[48], std::string("\x2D\x00\x00\x00\x83\x81\x00", 7));
    // The same message on stderr in UTF-8: メニューフレーム画像が見つかりませんでした。
    EXPECT_NE(r.err.find("\xE3\x83\xA1\xE3\x83\x8B\xE3\x83\xA5\xE3\x83\xBC"), std::string::npos);
}

// The demo played on and on with random input that never quits: no crash, and memory that
// stays flat. The suite plays a few thousand frames; scripts/soak sets ORVAN_SOAK_MINUTES to
// play for that long, with a memory sample every minute.
namespace {

constexpr uint32_t kSuiteFrames = 6000;
// What RSS may grow by after the first minute (or the first half of the suite's frames).
constexpr long kGrowthBoundKb = 8 * 1024;

long RssKb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key)
        if (key == "VmRSS:" && status >> value) return value;
    return 0;
}

// Random keys in phases of random length: moves and bombs without the decision key; then 20
// frames of UP, which walk any open menu's cursor to its first item; then moves that never
// go down, with the decision key held. Every menu's quit item lies below its first, and pause
// is never pressed, so games start, end and return to the title, but the program never quits.
struct NeverQuitInput {
    std::mt19937 random{20240601};
    int phase = 2, left = 0, bits = 0;
    int Between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); }
    void Apply(uint8_t keys[256]) {
        if (left-- == 0) {
            phase = (phase + 1) % 3;
            left = phase == 1 ? 20 : Between(20, phase == 0 ? 150 : 400);
        }
        if (Between(0, 9) < 3) bits = Between(0, 31);
        keys[0xC8] = phase == 1 || (bits & 1);                    // up
        keys[0xCB] = (bits >> 1) & 1;                             // left
        keys[0xCD] = (bits >> 2) & 1;                             // right
        keys[0x2C] = phase != 1 && (bits & 8) && !Between(0, 9);  // bomb, now and then
        keys[0xD0] = phase == 0 && (bits & 16);                   // down
        keys[0x2D] = phase == 2;                                  // fire and decide
    }
};

TEST(Soak, TheDemoPlaysOnWithRandomInputAndFlatMemory) {
    const char* minutesText = std::getenv("ORVAN_SOAK_MINUTES");
    const double minutes = minutesText ? std::atof(minutesText) : 0.0;
    TempDir dir;
    std::filesystem::copy(ORVAN_DEMO_DATA, dir / "Data", std::filesystem::copy_options::recursive);
    GameRunner run(dir / "Data", 7);
    NeverQuitInput input;
    media::SetInputOverride([&input](uint32_t, uint8_t keys[256], int*) { input.Apply(keys); });
    ASSERT_TRUE(run.Start());

    const auto start = std::chrono::steady_clock::now();
    long baseline = 0, peak = 0;
    int games = 0, samples = 0;
    for (bool done = false; !done;) {
        games += run.Front() == kGameStart;
        ASSERT_TRUE(run.Frame()) << "the game ended in frame " << run.game().frame;
        const uint32_t frame = run.game().frame;
        if (minutes <= 0) {
            if (frame == kSuiteFrames / 2) baseline = RssKb();
            if (frame % 100 == 0 && frame > kSuiteFrames / 2) peak = std::max(peak, RssKb());
            done = frame >= kSuiteFrames;
            continue;
        }
        const double elapsed =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        done = elapsed >= 60.0 * minutes;
        if (elapsed < 60.0 * (samples + 1) && !done) continue;
        const long rss = RssKb();
        if (++samples == 1) baseline = rss;
        peak = std::max(peak, rss);
        std::printf("soak: %5.1f min  frame %9u  games %5d  rss %6.1f MB\n", elapsed / 60.0, frame,
                    games, rss / 1024.0);
        std::fflush(stdout);
    }
    EXPECT_GE(games, 2) << "the random input should start games and get back to the title";
#if defined(__SANITIZE_ADDRESS__)
    baseline = peak;  // the sanitizer holds freed memory back for a while: RSS says nothing
#endif
    EXPECT_LE(peak - baseline, kGrowthBoundKb) << "RSS grew from " << baseline << " to " << peak;
}

}  // namespace
