// The shell around play on the headless host: start-up's screen and font, both sequences
// queued when a game ends with the stage, shut-down's order, and the state dump. (Every
// transition, menu and picture is in the golden scenarios; the settings a visit to the
// configuration saves are headless_e2e_test.cpp's.)
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "media/core.h"
#include "media/inspect.h"
#include "media/media.h"
#include "project/project.h"
#include "shell/state_dump.h"
#include "support/game_runner.h"
#include "support/png_writer.h"
#include "support/project_writer.h"
#include "support/temp_dir.h"
#include "support/wav_writer.h"

namespace {

class States : public testing::Test {
protected:
    void SetUp() override {
        ProjectWriter w(dir.path());
        w.KindFolders().Global().File("Sound/s.wav",
                                      wav::Pcm16(std::vector<int16_t>(4800, 100), 1, 48000));
        w.File("Frame.png", EncodeArgbPng(30, 39, std::vector<uint32_t>(30 * 39, 0xFF808080u)));
        for (int n : {0, 255}) w.Sound(n, {"", 0, "s.wav", 255, 1});
        run.reset();
        run = std::make_unique<GameRunner>(dir.path());
        ASSERT_TRUE(run->Start());
    }

    TempDir dir;
    std::unique_ptr<GameRunner> run;
};

}  // namespace

// Start-up asks the media layer for a 640 x 480 screen at 60 Hz, in a window as the settings
// say, drawing to the back buffer unfiltered, with a 13-pixel anti-aliased default font.
TEST_F(States, StartUpSetsTheScreenAndTheDefaultFont) {
    const media::Core& c = media::TheCore();
    EXPECT_EQ((std::vector<int>{c.width, c.height, c.refreshRate, c.windowed, c.logEnabled}),
              (std::vector<int>{640, 480, 60, 0, 1}));
    EXPECT_EQ((std::vector<int>{c.drawTarget, c.filterMode, c.defaultFontSize,
                                c.defaultFontThickness, c.defaultFontCharset, c.defaultFontType}),
              (std::vector<int>{-2, 0, 13, 1, -1, 2}));
    dir.WriteFile("Setting.bin", std::string("\x01\x01", 2));  // frame rate, window
    SetUp();
    EXPECT_TRUE(media::TheCore().windowed);
    ASSERT_TRUE(run->RunTo(1));
    EXPECT_EQ(media::DebugText(), "FPS:0");
}

// Game over and the end of the stage in one frame queue both sequences; shut-down lets go
// of the enemies and the menu between its two shut-downs of the media layer.
TEST_F(States, GameOverWithTheEndOfTheStageAndShutDown) {
    run->game().states = {kBoot, kGameStart, kGamePlay};  // a game started from the title
    ASSERT_TRUE(run->RunUntilState(kGamePlay));
    TGame& game = run->game();
    game.world.player.gameOver = true;
    game.world.scene.stageEnded = true;
    game.project->scene.push_back(TSceneCommand{8, 0, 0, 0, 0, 0, 0});
    ASSERT_TRUE(run->Frame());
    EXPECT_EQ(run->Queue(),
              (std::vector<int32_t>{kGameOverFadeIn, kGameOverOpen, kGameOverMenu, kGameFadeOut,
                                    kTitleFadeIn, kTitleMenuOpen, kTitleMenu}));
    game.world.enemies.enemies[511].loopRecords.resize(3);
    game.Shutdown();
    EXPECT_EQ(game.world.enemies.enemies[511].loopRecords.capacity(), 0u);
    EXPECT_EQ(game.menu.ItemCount(), 0u);
    EXPECT_FALSE(game.project);
}

// The state dump lists every live actor from the first slot of its pool to the last, and the
// sounds playing and started by their numbers, first and last of the table.
TEST_F(States, TheDumpListsTheFirstAndLastSlotOfEveryPoolAndSoundsByNumber) {
    TWorld& world = run->game().world;
    for (TActor* a : {(TActor*)&world.bullets.bullets[0], (TActor*)&world.bullets.bullets.back(),
                      (TActor*)&world.items.items[0], (TActor*)&world.items.items.back(),
                      (TActor*)&world.effects.effects[0], (TActor*)&world.effects.effects.back(),
                      (TActor*)&world.enemies.enemies.back()})
        a->Activate();
    world.enemies.SpawnEnemy(0, 10, 10, 0, 0, false, -1);
    const int first = run->game().project->sounds[0].handle,
              last = run->game().project->sounds[255].handle;
    StartSound(last, 3, 1);
    StartSound(first, 3, 1);
    run->game().frameSoundStarts = {last, first};
    const nlohmann::json j = nlohmann::json::parse(DumpState(run->game()));
    for (auto [pool, size] : {std::pair{"bullets", TBulletPool::kSize},
                              {"items", TItemPool::kSize},
                              {"effects", TEffectPool::kSize},
                              {"enemies", TEnemyPool::kSize}}) {
        std::vector<int> slots;
        for (const nlohmann::json& e : j[pool]) slots.push_back(e["slot"]);
        EXPECT_EQ(slots, (std::vector<int>{0, size - 1})) << pool;
    }
    std::vector<int> order = j["drawOrder"];
    std::sort(order.begin(), order.end());
    EXPECT_EQ(order, (std::vector<int>{0, TEnemyPool::kSize - 1}));
    EXPECT_EQ(j["playing"], nlohmann::json({0, 255}));
    EXPECT_EQ(j["soundStarts"], nlohmann::json({255, 0}));
}
