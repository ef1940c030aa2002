// The shell around play on the headless host: start-up's screen and font, the title's last
// fade-in frame, the menu box and the play screen at their places, the settings saved on
// leaving the configuration, both sequences queued when a game ends with the stage, and
// shut-down's order. (Every transition, menu and picture is in the golden scenarios.)
#include <gtest/gtest.h>

#include "media/core.h"
#include "media/inspect.h"
#include "project/project.h"
#include "support/game_runner.h"
#include "support/png_writer.h"
#include "support/project_writer.h"
#include "support/temp_dir.h"

namespace {

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00;

uint32_t Pixel(int x, int y) {
    return media::BackBuffer()[y * 640 + x] & 0xFFFFFF;
}
// The title picture: a pattern that tells every pixel's place.
uint32_t Title(int x, int y) {
    return ((x * 7 & 0xFF) << 16) | ((y * 3 & 0xFF) << 8) | 0x40;
}
std::vector<unsigned char> Solid(int width, int height, uint32_t rgb) {
    return EncodeArgbPng(width, height, std::vector<uint32_t>(width * height, 0xFF000000u | rgb));
}

// A 30 x 39 frame sheet (red corners, green edges, blue centre), the title, the background,
// the panel, the ship and its shot.
class States : public testing::Test {
protected:
    void SetUp() override {
        ProjectWriter w(dir.path());
        w.KindFolders().Global();
        std::vector<uint32_t> sheet(30 * 39), title(640 * 480);
        for (int i = 0; i < 30 * 39; ++i) {
            const bool edgeX = i % 30 / 10 == 1, edgeY = i / 30 / 13 == 1;
            sheet[i] = 0xFF000000u | (edgeX && edgeY ? 0x0000FF : edgeX || edgeY ? kGreen : kRed);
        }
        for (int i = 0; i < 640 * 480; ++i) title[i] = 0xFF000000u | Title(i % 640, i / 640);
        w.File("Frame.png", EncodeArgbPng(30, 39, sheet));
        w.File("Sprite/Sprite0.png", EncodeArgbPng(640, 480, title));
        w.File("Sprite/Sprite8.png", Solid(416, 480, 0x103050));  // background
        w.File("Sprite/Sprite1.png", Solid(224, 480, 0x505050));  // panel
        for (int n : {2, 3, 4})
            w.File("Sprite/Sprite" + std::to_string(n) + ".png", Solid(16, 16, kGreen));
        w.Bullet(0, {"shot", 20}).File("Sprite/Sprite20.png", Solid(4, 8, 0xFFFF00));
        run.reset();
        run = std::make_unique<GameRunner>(dir.path());
        ASSERT_TRUE(run->Start());
    }
    // Holds the named inputs for the next 'count' frames and runs them.
    void Hold(const std::string& names, uint32_t count) {
        const uint32_t f = run->game().frame;
        run->SetInput(std::to_string(f + 1) + "-" + std::to_string(f + count) + " " + names);
        ASSERT_TRUE(run->RunTo(f + count));
        run->SetInput("");
    }
    void Reach(int32_t state, uint32_t extra = 0) {
        ASSERT_TRUE(run->RunUntilState(state));
        ASSERT_TRUE(run->RunTo(run->game().frame + extra));
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

TEST_F(States, TitleFadesInToExactlyItsPictureAndTheMenuBoxAndPlayScreenAreInPlace) {
    ASSERT_TRUE(run->RunTo(52));
    EXPECT_NE(Pixel(320, 240), Title(320, 240));  // frame 52 is drawn at the level of 51
    ASSERT_TRUE(run->RunTo(53));
    for (int i = 0; i < 640 * 480; ++i)
        ASSERT_EQ(Pixel(i % 640, i / 640), Title(i % 640, i / 640)) << "pixel " << i;
    Reach(kTitleMenu, 30);  // past the 25-frame delay: the menu shows
    const int cells = run->game().menu.widthCells;
    EXPECT_EQ(Pixel(272, 402), kRed);  // the frame's top-left corner at (270, 400)
    EXPECT_EQ(Pixel(270 + 10 * (cells + 1) + 2, 400 + 13 * 3 + 2), kRed);
    EXPECT_EQ(Pixel(269, 420), Title(269, 420));  // outside the box, the title untouched
    Hold("X", 1);
    Reach(kGamePlay);
    // Flying to the right edge of the field, firing: background, ship, shots, then the panel
    // over the ship's right half.
    Hold("RIGHT X", 80);
    ASSERT_EQ(run->game().world.player.x, 416.0);
    const int sy = static_cast<int>(run->game().world.player.y);
    EXPECT_EQ(Pixel(100, 100), 0x103050u);
    EXPECT_EQ(Pixel(412, sy), kGreen);
    EXPECT_EQ(Pixel(420, sy), 0x505050u);
    int shots = 0;
    for (int y = 0; y < sy - 12; ++y)
        for (int x = 380; x < 416; ++x) shots += Pixel(x, y) == 0xFFFF00u;
    EXPECT_GT(shots, 0);
}

TEST_F(States, LeavingTheConfigurationSavesTheToggledFlags) {
    Reach(kTitleMenu, 25);
    Hold("DOWN", 5);
    Hold("X", 1);
    Reach(kConfigMenu, 25);
    Hold("X", 16);  // one toggle of the window mode, then the frame rate's
    Hold("DOWN", 5);
    Hold("X", 16);
    Hold("DOWN", 5);
    Hold("X", 1);  // "戻る"
    EXPECT_EQ(dir.ReadFile("Setting.bin"), std::string("\x01\x01", 2));
}

// Game over and the end of the stage in one frame queue both sequences; shut-down lets go
// of the enemies and the menu between its two shut-downs of the media layer.
TEST_F(States, GameOverWithTheEndOfTheStageAndShutDown) {
    Reach(kTitleMenu, 25);
    Hold("X", 1);
    Reach(kGamePlay);
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
