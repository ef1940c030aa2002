// Orvan as a player installs it: `cmake --install` into a folder of its own, the installed
// demo played headless and read-only with its best score kept under $XDG_DATA_HOME, and every
// kind of GAME playing the same frames as its data folder does.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "support/temp_dir.h"
#include "support/zip_writer.h"

namespace fs = std::filesystem;

namespace {

class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        prefix_ = new TempDir;
        RunResult r =
            RunProgram(ORVAN_CMAKE, {"--install", ORVAN_BUILD_DIR, "--prefix", prefix_->path()});
        ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    }
    static void TearDownTestSuite() { delete prefix_; }
    void SetUp() override {
        for (const char* v : {"XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME"})
            setenv(v, (home / v).c_str(), 1);
    }
    void TearDown() override {
        for (const char* v : {"XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME"}) unsetenv(v);
    }
    static TempDir* prefix_;
    TempDir home;
};
TempDir* Installed::prefix_ = nullptr;

// Every part in its usual place; the demo plays read-only and its own files go to
// $XDG_DATA_HOME, none of them into the installed folder.
TEST_F(Installed, TheDemoPlaysReadOnlyAndKeepsItsBestScoreUnderXdgDataHome) {
    for (const char* part :
         {"bin/orvan", "bin/orvan-tool", "share/applications/orvan.desktop",
          "share/man/man6/orvan.6.gz", "share/man/man1/orvan-tool.1.gz",
          "share/orvan/demo/Data/Global/Global.bin", "share/doc/orvan/examples/orvan.conf"})
        EXPECT_TRUE(prefix_->Exists(part)) << part;
    for (std::string size : {"16", "32", "48", "64", "128", "256"})
        EXPECT_TRUE(prefix_->Exists("share/icons/hicolor/" + size + "x" + size + "/apps/orvan.png"))
            << size;
    EXPECT_NE(prefix_->ReadFile("share/applications/orvan.desktop").find("Exec=orvan --demo"),
              std::string::npos);
    // A run of the built demo leaves its files in the build's copy; none of them is installed.
    for (const char* own : {"Setting.bin", "Score.bin", "AppLog.txt"})
        EXPECT_FALSE(prefix_->Exists(std::string("share/orvan/demo/Data/") + own)) << own;
    const auto start = fs::file_time_type::clock::now();
    // Start a game, fire until frame 1500 and let the ship be shot down: a game over by 1800.
    home.WriteFile("in.txt", "100 X\n150-1500 X\n");
    RunResult r = RunProgram(prefix_->path() + "/bin/orvan",
                             {"--demo", "--headless", "--seed", "1", "--input", home / "in.txt",
                              "--frames", "1900", "--dump-state", "1900:" + (home / "end.json")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto end = nlohmann::json::parse(home.ReadFile("end.json"));
    ASSERT_TRUE(end["player"]["gameOver"].get<bool>());
    const uint32_t best = end["best"];
    ASSERT_GT(best, 0u);

    std::vector<std::string> own;  // the demo's folder of its own files, and nothing else
    for (const auto& e : fs::directory_iterator(home / "XDG_DATA_HOME/orvan"))
        own.push_back("XDG_DATA_HOME/orvan/" + e.path().filename().string());
    ASSERT_EQ(own.size(), 1u);
    EXPECT_EQ(own[0].rfind("XDG_DATA_HOME/orvan/demo-", 0), 0u) << own[0];
    const std::string score = home.ReadFile(own[0] + "/Score.bin");
    ASSERT_EQ(score.size(), 4u);
    EXPECT_EQ(uint8_t(score[0]) | uint8_t(score[1]) << 8 | uint8_t(score[2]) << 16, best);
    EXPECT_TRUE(home.Exists(own[0] + "/AppLog.txt"));
    // Nothing in the installed folder was written, added, moved or removed since the start.
    for (const auto& e : fs::recursive_directory_iterator(prefix_->path()))
        EXPECT_LT(fs::last_write_time(e.path()), start) << e.path();
}

TEST_F(Installed, EveryKindOfGamePlaysTheFramesOfItsDataFolder) {
    TempDir games;
    games.MakeDir("Game");
    fs::copy(ORVAN_DEMO_DATA, games / "Game/Data", fs::copy_options::recursive);
    games.WriteFile("Game.zip", MakeZip(ZipItemsOfFolder(games / "Game", "Game/")));
    fs::copy_file(ORVAN_SOURCE_DIR "/tests/e2e/data/demo_stage.txt", games / "in.txt");
    auto play = [&](std::vector<std::string> what, const std::string& dump) {
        what.insert(what.end(), {"--headless", "--seed", "1", "--frames", "600", "--input",
                                 games / "in.txt", "--dump-state", "600:" + (games / dump)});
        RunResult r = RunProgram(prefix_->path() + "/bin/orvan", what);
        EXPECT_EQ(r.exitCode, 0) << dump << ": " << r.err;
        return games.ReadFile(dump);
    };
    const std::string expected = play({"--data", games / "Game/Data"}, "data.json");
    ASSERT_NE(expected.find("\"frame\""), std::string::npos);
    EXPECT_EQ(play({games / "Game"}, "game.json"), expected);
    EXPECT_EQ(play({games / "Game/Data"}, "data-folder.json"), expected);
    EXPECT_EQ(play({games / "Game.zip"}, "zip.json"), expected);

    RunResult r = RunProgram(prefix_->path() + "/bin/orvan", {"--headless", games / "in.txt"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("is not a game"), std::string::npos) << r.err;
}

}  // namespace
