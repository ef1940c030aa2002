// Plays the demo game headless with a scripted flight: to its boss, and through the end of
// the stage back to the title.
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

std::string StageScript() {
    std::ifstream in(std::string(ORVAN_SOURCE_DIR) + "/tests/e2e/data/demo_stage.txt");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// What the tests need to know of the demo's own definitions.
struct DemoFacts {
    int bossEntry = -1;  // the appearance that holds the scene until the boss dies
    int endEntry = -1;
    int bossKind = -1;
    int finalKind = -1;  // the boss's successor
    long firstPhaseScore = 0;
    long finalPhaseScore = 0;
};

DemoFacts ReadDemoFacts() {
    std::ifstream in(std::string(ORVAN_SOURCE_DIR) + "/demo/game.json");
    json game = json::parse(in);
    DemoFacts facts;
    const json& scene = game["scene"];
    for (size_t i = 0; i < scene.size(); ++i) {
        if (scene[i]["command"] == "enemyAppearance" && scene[i]["waitUntilDeath"] != 0) {
            facts.bossEntry = static_cast<int>(i);
            facts.bossKind = scene[i]["enemy"];
        }
        if (scene[i]["command"] == "endOfStage") facts.endEntry = static_cast<int>(i);
    }
    if (facts.bossKind >= 0) {
        const json& boss = game["enemies"][facts.bossKind];
        facts.finalKind = boss["successor"];
        facts.firstPhaseScore = boss["score"];
        if (facts.finalKind >= 0) facts.finalPhaseScore = game["enemies"][facts.finalKind]["score"];
    }
    return facts;
}

// A private copy of the built demo, so that the game's own files (best score, settings) start
// from a known state and the build folder is never written.
class DemoPlay : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::is_directory(ORVAN_DEMO_DATA)) << ORVAN_DEMO_DATA;
        fs::copy(ORVAN_DEMO_DATA, dir_ / "Data", fs::copy_options::recursive);
        for (const char* own : {"Score.bin", "Setting.bin", "AppLog.txt"}) {
            fs::remove(fs::path(dir_ / "Data") / own);
        }
        script_ = StageScript();
        ASSERT_FALSE(script_.empty()) << "tests/e2e/data/demo_stage.txt is missing";
        facts_ = ReadDemoFacts();
        ASSERT_GE(facts_.bossEntry, 0);
        ASSERT_GE(facts_.finalKind, 0);
        ASSERT_GT(facts_.endEntry, facts_.bossEntry);
    }

    // Plays the stage script (plus extra lines) up to frame `frames`, dumping the given frames.
    RunResult Play(int frames, const std::vector<int>& dumps, const std::string& extra = "") {
        dir_.WriteFile("in.txt", script_ + extra);
        std::vector<std::string> args = {"--headless",    "--data",   dir_ / "Data",
                                         "--seed",        kSeed,      "--input",
                                         dir_ / "in.txt", "--frames", std::to_string(frames)};
        for (int f : dumps) {
            args.push_back("--dump-state");
            args.push_back(std::to_string(f) + ":" + DumpPath(f));
        }
        return RunOrvan(args);
    }

    json Dump(int frame) const { return json::parse(dir_.ReadFile(DumpName(frame))); }

    static const json* EnemyInSlot(const json& dump, int slot) {
        for (const json& e : dump["enemies"]) {
            if (e["slot"] == slot) return &e;
        }
        return nullptr;
    }

    static std::string DumpName(int frame) { return "s" + std::to_string(frame) + ".json"; }
    std::string DumpPath(int frame) const { return dir_ / DumpName(frame); }

    TempDir dir_;
    std::string script_;
    DemoFacts facts_;
};

// The scripted ship is still in the game: alive, or waiting with a life in hand.
void ExpectShipInPlay(const json& dump) {
    const json& ship = dump["player"];
    EXPECT_TRUE(ship["alive"] == true || ship["lives"] > 0)
        << "the scripted flight no longer dodges; replan tests/e2e/data/demo_stage.txt\n"
        << ship.dump();
    EXPECT_EQ(ship["gameOver"], false);
}

bool Contains(const json& list, int value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

}  // namespace

TEST_F(DemoPlay, ReachesTheBossWithScoreAndShips) {
    RunResult r = Play(kBossOnScreen, {kBossOnScreen});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    json s = Dump(kBossOnScreen);

    EXPECT_EQ(s["states"], json({11}));  // still in GamePlay
    ExpectShipInPlay(s);
    const json& scene = s["scene"];
    EXPECT_EQ(scene["entryIndex"], facts_.bossEntry);
    EXPECT_EQ(scene["spawned"], true);
    EXPECT_EQ(scene["stageEnded"], false);
    const json* boss = EnemyInSlot(s, scene["watchedSlot"]);
    ASSERT_NE(boss, nullptr) << "watchedSlot " << scene["watchedSlot"] << " is not a live enemy";
    EXPECT_EQ((*boss)["kind"], facts_.bossKind);
    EXPECT_EQ((*boss)["watched"], true);

    EXPECT_GT(s["score"], 0);
    EXPECT_GE(s["best"], s["score"]);
    // The boss music took over from the stage music.
    EXPECT_TRUE(Contains(s["playing"], 12)) << s["playing"].dump();
    EXPECT_FALSE(Contains(s["playing"], 11)) << s["playing"].dump();
}

TEST_F(DemoPlay, ClearsTheStageAndReturnsToTheTitleWithoutSavingTheBest) {
    // A best score on disk that the stage beats: the end of a stage must not save the new one.
    dir_.WriteFile("Data/Score.bin", std::string("\xD2\x04\x00\x00", 4));  // 1234
    RunResult r = Play(kNewGameStarted,
                       {kBossOnScreen, kFinalPhase, kStageLeft, kTitleMenuBack, kNewGameStarted},
                       std::to_string(kNewGamePress) + " X\n");
    ASSERT_EQ(r.exitCode, 0) << r.err;

    json atBoss = Dump(kBossOnScreen);
    ASSERT_EQ(atBoss["scene"]["entryIndex"], facts_.bossEntry);

    // The first phase died and left its successor; the scene still waits on the same entry.
    json lastPhase = Dump(kFinalPhase);
    EXPECT_EQ(lastPhase["states"], json({11}));
    EXPECT_EQ(lastPhase["scene"]["entryIndex"], facts_.bossEntry);
    const json* boss = EnemyInSlot(lastPhase, lastPhase["scene"]["watchedSlot"]);
    ASSERT_NE(boss, nullptr) << lastPhase["scene"].dump();
    EXPECT_EQ((*boss)["kind"], facts_.finalKind);
    EXPECT_EQ((*boss)["watched"], true);
    EXPECT_GE(lastPhase["score"].get<long>() - atBoss["score"].get<long>(), facts_.firstPhaseScore);
    ExpectShipInPlay(lastPhase);

    // Both phases gave their score; the scene ran its last entry and play left for the title.
    json end = Dump(kStageLeft);
    EXPECT_EQ(end["states"], json({9, 2, 4, 5}));
    EXPECT_EQ(end["scene"]["stageEnded"], true);
    EXPECT_EQ(end["scene"]["entryIndex"], facts_.endEntry);
    for (const json& e : end["enemies"]) EXPECT_NE(e["kind"], facts_.finalKind);
    EXPECT_GE(end["score"].get<long>() - lastPhase["score"].get<long>(), facts_.finalPhaseScore);
    EXPECT_EQ(end["best"], end["score"]);
    ExpectShipInPlay(end);

    // The title menu is back, with its music.
    json title = Dump(kTitleMenuBack);
    EXPECT_EQ(title["states"], json({5}));
    EXPECT_EQ(title["fade"], 255);
    EXPECT_GT(title["shell"]["titleDelay"], 24);
    EXPECT_EQ(title["menu"]["items"], json({"GAME START ", "CONFIG ", "EXIT "}));
    EXPECT_EQ(title["playing"], json({9}));

    // The stage's best score was never written: the next game starts from the stored one.
    EXPECT_EQ(dir_.ReadFile("Data/Score.bin"), std::string("\xD2\x04\x00\x00", 4));
    json again = Dump(kNewGameStarted);
    EXPECT_EQ(again["states"], json({8, 11}));
    EXPECT_EQ(again["score"], 0);
    EXPECT_EQ(again["best"], 1234);
    EXPECT_EQ(again["scene"]["entryIndex"], 0);
    EXPECT_EQ(again["scene"]["stageEnded"], false);
}
