// Pictures of the title, the menus and the play screen on the headless host: decisive pixels
// where the picture is plain, and a checksum of each menu and of the score panel as they are
// drawn today (frame, box, texts with their shadows, cursor bar and its pulse, the panel's
// numbers). A change to how they look must update the checksum; the failure prints the new one.
#include <gtest/gtest.h>

#include "media/inspect.h"
#include "project/project.h"
#include "shell/screen_image.h"
#include "support/game_runner.h"
#include "support/png_writer.h"
#include "support/project_writer.h"
#include "support/temp_dir.h"

namespace {

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00;

uint32_t Pixel(int x, int y) {
    return media::BackBuffer()[y * 640 + x] & 0xFFFFFF;
}
// FNV-1a over the pixels of the rectangle [x0, x1) x [y0, y1).
uint64_t Checksum(int x0, int y0, int x1, int y1) {
    uint64_t h = 1469598103934665603ull;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) h = (h ^ Pixel(x, y)) * 1099511628211ull;
    return h;
}
// The title picture: a pattern that tells every pixel's place.
uint32_t Title(int x, int y) {
    return ((x * 7 & 0xFF) << 16) | ((y * 3 & 0xFF) << 8) | 0x40;
}
std::vector<unsigned char> Solid(int width, int height, uint32_t rgb) {
    return EncodeArgbPng(width, height, std::vector<uint32_t>(width * height, 0xFF000000u | rgb));
}

// A project with every picture the screens show: a 30 x 39 frame sheet (red corners, green
// edges, blue centre, each cell with a little blue counting its columns, so that a cell drawn
// mirrored shows), the title, the background, the panel, the ship and its shot.
class Screens : public testing::Test {
protected:
    void SetUp() override {
        ProjectWriter w(dir.path());
        w.KindFolders().Global();
        std::vector<uint32_t> sheet(30 * 39), title(640 * 480);
        for (int i = 0; i < 30 * 39; ++i) {  // and a little blue for the column in the cell
            const bool edgeX = i % 30 / 10 == 1, edgeY = i / 30 / 13 == 1;
            sheet[i] = 0xFF000000u | (edgeX && edgeY ? 0x0000FF : edgeX || edgeY ? kGreen : kRed);
            if (!(edgeX && edgeY)) sheet[i] += i % 10;
        }
        for (int i = 0; i < 640 * 480; ++i) title[i] = 0xFF000000u | Title(i % 640, i / 640);
        w.File("Frame.png", EncodeArgbPng(30, 39, sheet));
        w.File("Sprite/Sprite0.png", EncodeArgbPng(640, 480, title));
        w.File("Sprite/Sprite8.png", Solid(416, 480, 0x103050));  // background
        w.File("Sprite/Sprite1.png", Solid(224, 480, 0x505050));  // panel
        for (int n : {2, 3, 4})
            w.File("Sprite/Sprite" + std::to_string(n) + ".png", Solid(16, 16, kGreen));
        w.Bullet(0, {"shot", 20}).File("Sprite/Sprite20.png", Solid(4, 8, 0xFFFF00));
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

TEST_F(Screens, TitleFadesInToExactlyItsPicture) {
    ASSERT_TRUE(run->RunTo(52));
    EXPECT_NE(Pixel(320, 240), Title(320, 240));  // frame 52 is drawn at the level of 51
    ASSERT_TRUE(run->RunTo(53));
    ASSERT_EQ(run->Front(), kTitleMenuOpen);
    for (int i = 0; i < 640 * 480; ++i)
        ASSERT_EQ(Pixel(i % 640, i / 640), Title(i % 640, i / 640)) << "pixel " << i;
}

TEST_F(Screens, MenusAndThePlayScreen) {
    Reach(kTitleMenu, 30);  // past the 25-frame delay: the menu shows
    const int cells = run->game().menu.widthCells;
    EXPECT_EQ(Pixel(272, 402), kRed + 2);  // the frame's top-left corner at (270, 400)
    EXPECT_EQ(Pixel(270 + 10 * (cells + 1) + 2, 400 + 13 * 3 + 2), kRed + 2);
    EXPECT_EQ(Pixel(269, 420), Title(269, 420));  // outside the box, the title untouched
    EXPECT_EQ(Checksum(260, 390, 640, 480), 217675299206896911ull) << "title menu";
    Hold("DOWN", 5);
    Hold("X", 1);
    Reach(kConfigMenu, 30);
    EXPECT_EQ(Checksum(210, 390, 640, 480), 10917279875907793001ull) << "configuration menu";
    Hold("UP", 1);  // the cursor stays on the first item
    Hold("DOWN", 10);
    Hold("X", 1);
    Reach(kTitleMenu, 30);
    Hold("X", 1);
    Reach(kGamePlay);

    // Flying to the right edge of the field, firing: background, ship, shots, then the panel
    // over the ship's right half.
    TGame& game = run->game();
    Hold("RIGHT X", 80);
    ASSERT_EQ(game.world.player.x, 416.0);
    const int sy = static_cast<int>(game.world.player.y);
    EXPECT_EQ(Pixel(100, 100), 0x103050u);
    EXPECT_EQ(Pixel(412, sy), kGreen);
    EXPECT_EQ(Pixel(420, sy), 0x505050u);
    int shots = 0;
    for (int y = 0; y < sy - 12; ++y)
        for (int x = 380; x < 416; ++x) shots += Pixel(x, y) == 0xFFFF00u;
    EXPECT_GT(shots, 0);
    game.world.scorePanel.best = 987654321;
    game.world.scorePanel.score = 1234567;
    game.world.player.bombs = 7;
    game.world.player.lives = 42;
    ASSERT_TRUE(run->RunTo(game.frame + 1));
    EXPECT_EQ(Checksum(416, 0, 640, 480), 9759268942314899698ull) << "score panel";

    Hold("ESC", 1);  // the pause menu over the frozen picture
    ASSERT_EQ(run->Front(), kPause);
    Hold("DOWN", 5);
    EXPECT_EQ(Checksum(148, 240, 416, 330), 8303334092981385543ull) << "pause menu";
    Hold("UP", 5);
    Hold("X", 2);
    game.world.player.gameOver = true;
    Reach(kGameOverMenu, 3);
    EXPECT_EQ(Checksum(260, 390, 640, 480), 816929365970975376ull) << "game-over menu";
}

// An animated title or game-over picture shows each of its pictures for framesPerStep + 1
// frames, from the first.
TEST(ScreenImage, AnimatesFromItsFirstPicture) {
    auto project = std::make_unique<TProject>();
    project->sprites[7].animate = 1;
    project->sprites[7].frameCount = 2;
    project->sprites[7].framesPerStep = 2;
    TScreenImage picture;
    picture.Setup(project.get(), 7);
    std::vector<int> frames;
    for (int i = 0; i < 7; ++i) frames.push_back(picture.frame), picture.Step();
    EXPECT_EQ(frames, (std::vector<int>{0, 0, 0, 1, 1, 1, 0}));
}
