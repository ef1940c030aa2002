// Author mode's reload: a project file saved while the game runs is loaded within a second
// and play restarts at the running entry; a broken file keeps the old project running and
// says why. (Its keys and the test-play options are the golden scenarios'.)
#include "shell/author.h"

#include <gtest/gtest.h>

#include "media/inspect.h"
#include "project/project.h"
#include "shell/state_dump.h"
#include "support/game_runner.h"
#include "support/png_writer.h"
#include "support/project_writer.h"
#include "support/temp_dir.h"

namespace {

std::string Square(int size, uint32_t argb) {
    const auto png = EncodeArgbPng(size, size, std::vector<uint32_t>(size_t(size) * size, argb));
    return std::string(png.begin(), png.end());
}

class Author : public testing::Test {
protected:
    void SetUp() override {
        ProjectWriter w(dir.path());
        w.KindFolders().Global({2}).Player({32, 32, 40.0, 3});  // the project starts at entry 2
        w.File("Frame.png", Square(30, 0xFF808080u)).Sprite(10, {"e", 0, 16, 16, 1});
        w.File("Sprite/Sprite10.png", Square(16, 0xFF20C020u));
        w.Enemy(1, enemy).Scene(
            {{{3, 1, 2, 100, 0, 90}, {0, 30}, {3, 1, 2, 200, 0, 90}, {0, 1000}}});
        run.testPlay = {true, 0, true, -1, -1, true};  // test play from entry 0
        ASSERT_TRUE(run.Start());
        ASSERT_TRUE(run.RunUntilState(kGamePlay));
        ASSERT_LT(game().world.scene.entryIndex, 2);
        ASSERT_TRUE(run.game().author->watching);
    }
    TGame& game() { return run.game(); }

    TempDir dir;
    EnemyFile enemy{"e", 10};
    GameRunner run{dir.path()};
};

TEST_F(Author, ChangedFileReloadsWithinASecondAndRestartsAtTheRunningEntry) {
    ASSERT_TRUE(run.RunTo(game().frame + 40));
    dir.WriteFile("Global/Player.bin", PlayerFile{32, 32, 40.0, 5}.Encode().str());
    const uint32_t changed = game().frame;
    int32_t entry = -1;  // the entry running when the reload came
    while (game().author->reloads == 0 && game().frame < changed + 59) {
        entry = game().world.scene.entryIndex;
        ASSERT_TRUE(run.Frame());
    }
    EXPECT_EQ(game().author->reloads, 1u);
    ASSERT_TRUE(run.Frame());  // the new game's start
    EXPECT_EQ(game().world.player.lives, 5);
    EXPECT_EQ(game().world.scene.entryIndex, entry);
    EXPECT_EQ(run.Queue(), (std::vector<int32_t>{kGameFadeIn, kGamePlay}));
}

TEST_F(Author, BrokenFileKeepsTheOldProjectRunningUntilItIsWholeAgain) {
    const std::pair<std::string, std::string> files[] = {
        {"Enemy/Enemy1.bin", enemy.Encode().str()},
        {"Sprite/Sprite0.png", Square(16, 0xFF20C020u)}};
    for (const auto& [path, good] : files) {
        SCOPED_TRACE(path);
        const TProject* old = game().project.get();
        dir.WriteFile(path, path[1] == 'n' ? enemy.Encode().Prefix(12) : "\x89PNG\r\n\x1a\n bad");
        const uint32_t before = game().author->gameFrames;
        ASSERT_TRUE(run.RunTo(game().frame + 30));
        EXPECT_EQ(game().author->reloads, 0u);
        EXPECT_EQ(game().project.get(), old);
        EXPECT_EQ(game().author->gameFrames, before + 30);
        EXPECT_EQ(run.Front(), kGamePlay);
        std::string expected = "\"reloadError\": \"" + path;  // the project path first
        expected.replace(expected.find('/'), 1, "\\\\");
        const std::string dump = DumpState(game());
        EXPECT_NE(dump.find(expected), std::string::npos)
            << dump.substr(dump.find("\"reloadE"), 80);
        const uint32_t banner = media::BackBuffer()[478 * 640 + 410];
        EXPECT_GT(banner >> 16 & 0xFF, (banner >> 8 & 0xFF) + 40) << "no message on screen";
        dir.WriteFile(path, good);
        ASSERT_TRUE(run.RunTo(game().frame + 30));
        EXPECT_EQ(game().author->reloads, 1u);
        EXPECT_TRUE(game().author->reloadError.empty());
        game().author->reloads = 0;
    }
}

}  // namespace
