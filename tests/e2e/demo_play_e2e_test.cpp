// Plays the demo game headless with a scripted flight, in one run: to its boss, through the
// end of the stage back to the title, and into a new game.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

using nlohmann::json;
namespace fs = std::filesystem;

namespace {

// The flight of tests/e2e/data/demo_stage.txt was planned for this seed; its frames are the
// ones named below. It dodges everything, so it needs no invincible ship.
const char* const kSeed = "1";
constexpr int kBossOnScreen = 5800;    // the boss appeared in 5763
constexpr int kFinalPhase = 6200;      // the first phase died in 6121
constexpr int kStageLeft = 6950;       // the end of the stage came in 6931; the fade-out runs
constexpr int kTitleMenuBack = 7080;   // the title menu reopened and takes input again
constexpr int kNewGamePress = 7100;    // "GAME START " once more
constexpr int kNewGameStarted = 7160;  // GameStart has run; the fade-in runs

std::string SourceFile(const std::string& path) {
    std::ifstream in(std::string(ORVAN_SOURCE_DIR) + "/" + path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A private copy of the built demo, so that the game's own files (best score, settings) start
// from a known state and the build folder is never written; and what the tests need to know
// of the demo's own definitions.
class DemoPlay : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::is_directory(ORVAN_DEMO_DATA)) << ORVAN_DEMO_DATA;
        fs::copy(ORVAN_DEMO_DATA, dir_ / "Data", fs::copy_options::recursive);
        for (const char* own : {"Score.bin", "Setting.bin", "AppLog.txt"}) {
            fs::remove(fs::path(dir_ / "Data") / own);
        }
        script_ = SourceFile("tests/e2e/data/demo_stage.txt");
        ASSERT_FALSE(script_.empty()) << "tests/e2e/data/demo_stage.txt is missing";
        const json game = json::parse(SourceFile("demo/game.json"));
        const json& scene = game["scene"];
        for (size_t i = 0; i < scene.size(); ++i) {
            // The appearance that holds the scene until the boss dies.
            if (scene[i]["command"] == "enemyAppearance" && scene[i]["waitUntilDeath"] != 0) {
                bossEntry_ = static_cast<int>(i);
                bossKind_ = scene[i]["enemy"];
            }
            if (scene[i]["command"] == "endOfStage") endEntry_ = static_cast<int>(i);
        }
        ASSERT_GE(bossKind_, 0);
        ASSERT_GT(endEntry_, bossEntry_);
        const json& boss = game["enemies"][bossKind_];
        finalKind_ = boss["successor"];
        ASSERT_GE(finalKind_, 0);
        firstPhaseScore_ = boss["score"];
        finalPhaseScore_ = game["enemies"][finalKind_]["score"];
    }

    // Plays the stage script (plus extra lines) up to frame `frames`, dumping the given frames.
    void Play(int frames, const std::vector<int>& dumps, const std::string& extra = "") {
        dir_.WriteFile("in.txt", script_ + extra);
        std::vector<std::string> args = {"--headless",    "--data",   dir_ / "Data",
                                         "--seed",        kSeed,      "--input",
                                         dir_ / "in.txt", "--frames", std::to_string(frames)};
        for (int f : dumps) {
            args.push_back("--dump-state");
            args.push_back(std::to_string(f) + ":" + (dir_ / DumpName(f)));
        }
        RunResult r = RunOrvan(args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
    }
    json Dump(int frame) const { return json::parse(dir_.ReadFile(DumpName(frame))); }
    static std::string DumpName(int frame) { return "s" + std::to_string(frame) + ".json"; }

    // In play on the boss's entry, the watched enemy of 'kind' alive, the ship still in the game.
    static void ExpectBossFight(const json& dump, int entry, int kind) {
        EXPECT_EQ(dump["states"], json({11}));  // GamePlay
        EXPECT_EQ(dump["scene"]["entryIndex"], entry);
        int watched = dump["scene"]["watchedSlot"], found = 0;
        for (const json& e : dump["enemies"]) {
            if (e["slot"] != watched) continue;
            EXPECT_EQ(e["kind"], kind);
            EXPECT_EQ(e["watched"], true);
            ++found;
        }
        EXPECT_EQ(found, 1) << "watchedSlot " << watched << " is not a live enemy";
        ExpectShipInPlay(dump);
    }
    // The scripted ship is still in the game: alive, or waiting with a life in hand.
    static void ExpectShipInPlay(const json& dump) {
        const json& ship = dump["player"];
        EXPECT_TRUE(ship["alive"] == true || ship["lives"] > 0)
            << "the scripted flight no longer dodges; replan tests/e2e/data/demo_stage.txt\n"
            << ship.dump();
        EXPECT_EQ(ship["gameOver"], false);
    }

    TempDir dir_;
    std::string script_;
    int bossEntry_ = -1, endEntry_ = -1, bossKind_ = -1, finalKind_ = -1;
    long firstPhaseScore_ = 0, finalPhaseScore_ = 0;
};

}  // namespace

TEST_F(DemoPlay, FightsTheBossClearsTheStageAndReturnsToTheTitleWithoutSavingTheBest) {
    // A best score on disk that the stage beats: the end of a stage must not save the new one.
    const std::string best1234("\xD2\x04\x00\x00", 4);
    dir_.WriteFile("Data/Score.bin", best1234);
    ASSERT_NO_FATAL_FAILURE(Play(
        kNewGameStarted, {kBossOnScreen, kFinalPhase, kStageLeft, kTitleMenuBack, kNewGameStarted},
        std::to_string(kNewGamePress) + " X\n"));

    // At the boss, with score and ships; the boss music took over from the stage music.
    json atBoss = Dump(kBossOnScreen), lastPhase = Dump(kFinalPhase);
    ExpectBossFight(atBoss, bossEntry_, bossKind_);
    EXPECT_EQ(atBoss["scene"]["spawned"], true);
    EXPECT_EQ(atBoss["scene"]["stageEnded"], false);
    EXPECT_GT(atBoss["score"], 0);
    EXPECT_GE(atBoss["best"], atBoss["score"]);
    const json& playing = atBoss["playing"];
    EXPECT_NE(std::find(playing.begin(), playing.end(), 12), playing.end()) << playing.dump();
    EXPECT_EQ(std::find(playing.begin(), playing.end(), 11), playing.end()) << playing.dump();
    // The first phase died and left its successor; the scene still waits on the same entry.
    ExpectBossFight(lastPhase, bossEntry_, finalKind_);
    EXPECT_GE(lastPhase["score"].get<long>() - atBoss["score"].get<long>(), firstPhaseScore_);

    // Both phases gave their score; the scene ran its last entry and play left for the title.
    json end = Dump(kStageLeft);
    EXPECT_EQ(end["states"], json({9, 2, 4, 5}));
    EXPECT_EQ(end["scene"]["stageEnded"], true);
    EXPECT_EQ(end["scene"]["entryIndex"], endEntry_);
    for (const json& e : end["enemies"]) EXPECT_NE(e["kind"], finalKind_);
    EXPECT_GE(end["score"].get<long>() - lastPhase["score"].get<long>(), finalPhaseScore_);
    EXPECT_EQ(end["best"], end["score"]);
    ExpectShipInPlay(end);

    // The title menu is back, with its music.
    json title = Dump(kTitleMenuBack);
    EXPECT_EQ(title["states"], json({5}));
    EXPECT_EQ(title["fade"], 255);
    EXPECT_GT(title["shell"]["titleDelay"], 24);
    EXPECT_EQ(title["playing"], json({9}));

    // The stage's best score was never written: the next game starts from the stored one.
    EXPECT_EQ(dir_.ReadFile("Data/Score.bin"), best1234);
    json again = Dump(kNewGameStarted);
    EXPECT_EQ(again["states"], json({8, 11}));
    EXPECT_EQ(again["score"], 0);
    EXPECT_EQ(again["best"], 1234);
    EXPECT_EQ(again["scene"]["entryIndex"], 0);
    EXPECT_EQ(again["scene"]["stageEnded"], false);
}
