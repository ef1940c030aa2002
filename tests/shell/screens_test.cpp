// Pictures of the title screen and the menus, checked pixel by pixel on the headless host.
#include <gtest/gtest.h>

#include <cstdlib>

#include "media/inspect.h"
#include "project/project.h"
#include "support/game_runner.h"
#include "support/png_writer.h"
#include "support/project_writer.h"
#include "support/temp_dir.h"

namespace {

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;

// A 30 x 39 frame sheet: red corners, green edges, blue centre.
std::vector<unsigned char> FrameSheet() {
    std::vector<uint32_t> px(30 * 39);
    for (int y = 0; y < 39; ++y)
        for (int x = 0; x < 30; ++x) {
            bool edgeX = x / 10 == 1, edgeY = y / 13 == 1;
            uint32_t c = (edgeX && edgeY) ? kBlue : (edgeX || edgeY) ? kGreen : kRed;
            px[y * 30 + x] = 0xFF000000u | c;
        }
    return EncodeArgbPng(30, 39, px);
}

uint32_t Pixel(int x, int y) {
    return media::BackBuffer()[y * 640 + x] & 0xFFFFFF;
}
int Channel(uint32_t c, int i) {
    return (c >> (8 * i)) & 0xFF;
}
// c over d at opacity a/255.
uint32_t Over(uint32_t c, uint32_t d, int a) {
    uint32_t out = 0;
    for (int i = 0; i < 3; ++i)
        out |= ((Channel(c, i) * a + Channel(d, i) * (255 - a) + 127) / 255) << (8 * i);
    return out;
}
::testing::AssertionResult Near(uint32_t actual, uint32_t expected, int tolerance) {
    for (int i = 0; i < 3; ++i)
        if (std::abs(Channel(actual, i) - Channel(expected, i)) > tolerance)
            return ::testing::AssertionFailure()
                   << std::hex << actual << " is not within " << tolerance << " of " << expected;
    return ::testing::AssertionSuccess();
}
// Starts a game from the title menu and runs it until play.
void ReachPlay(GameRunner& run) {
    run.SetInput("80 X\n");
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(run.RunUntilState(kGamePlay));
}

// The title picture: a pattern that tells every pixel's place.
uint32_t Title(int x, int y) {
    return ((x * 7 & 0xFF) << 16) | ((y * 3 & 0xFF) << 8) | 0x40;
}
std::vector<unsigned char> Solid(int width, int height, uint32_t rgb) {
    return EncodeArgbPng(width, height, std::vector<uint32_t>(width * height, 0xFF000000u | rgb));
}

}  // namespace

TEST(MenuScreens, TitleFadesInToExactlyItsPictureAndTheMenuLiesOverIt) {
    TempDir dir;
    ProjectWriter w(dir.path());
    w.KindFolders().Global();
    w.File("Frame.png", FrameSheet());
    std::vector<uint32_t> title(640 * 480);
    for (int i = 0; i < 640 * 480; ++i) title[i] = 0xFF000000u | Title(i % 640, i / 640);
    w.File("Sprite/Sprite0.png", EncodeArgbPng(640, 480, title));
    GameRunner run(dir.path());
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(run.RunTo(52));
    EXPECT_NE(Pixel(320, 240), Title(320, 240));  // frame 52 is drawn at the level of 51
    ASSERT_TRUE(run.RunTo(53));
    ASSERT_EQ(run.Front(), kTitleMenuOpen);
    for (int i = 0; i < 640 * 480; ++i)
        ASSERT_EQ(media::BackBuffer()[i] & 0xFFFFFF, title[i] & 0xFFFFFF) << "pixel " << i;

    ASSERT_TRUE(run.RunUntilState(kTitleMenu));
    ASSERT_TRUE(run.RunTo(run.game().frame + 26));  // past the delay: drawn
    const int cells = run.game().menu.widthCells;
    ASSERT_GT(cells, 3);
    const int x = 270, y = 400, rows = 2;
    // The border: corners red, edges green, clockwise around (cells + 2) x (rows + 2) cells.
    EXPECT_EQ(Pixel(x + 2, y + 2), kRed);
    EXPECT_EQ(Pixel(x + 12, y + 2), kGreen);
    EXPECT_EQ(Pixel(x + 10 * (cells + 1) + 2, y + 2), kRed);
    EXPECT_EQ(Pixel(x + 10 * (cells + 1) + 6, y + 15), kGreen);  // right of the cursor bar
    EXPECT_EQ(Pixel(x + 2, y + 13 * (rows + 1) + 2), kRed);
    EXPECT_EQ(Pixel(x + 2, y + 15), kGreen);
    // Outside the box: the title picture untouched.
    EXPECT_EQ(Pixel(x - 1, y + 20), Title(x - 1, y + 20));
    EXPECT_EQ(Pixel(x + 10 * (cells + 2), y + 20), Title(x + 10 * (cells + 2), y + 20));
    // Inside: the translucent box (colour 128,128,192 on a 16-bit screen, opacity 108), with
    // the cursor bar over item 0 only.
    const int bx = x + 11;
    EXPECT_TRUE(Near(Pixel(bx, y + 32), Over(0x8482C6, Title(bx, y + 32), 108), 3));
    EXPECT_FALSE(Near(Pixel(bx, y + 10), Over(0x8482C6, Title(bx, y + 10), 108), 3));
    EXPECT_TRUE(Near(Pixel(bx, y + 23), Over(0x8482C6, Title(bx, y + 23), 108), 3));
    // Each item's text: white pixels in its row (under the half-transparent bar for item 0).
    for (int i = 0; i < 3; ++i) {
        int white = 0;
        for (int yy = y + 13 * i + 5; yy < y + 13 * i + 18; ++yy)
            for (int xx = x + 10; xx < x + 10 * (cells + 1); ++xx) {
                uint32_t c = Pixel(xx, yy);
                if (i == 0 ? (Channel(c, 2) > 140 && Channel(c, 1) > 160) : c == 0xFFFFFF) ++white;
            }
        EXPECT_GT(white, 10) << "item " << i;
    }
}

TEST(MenuScreens, PlayDrawsBackgroundShipShotsAndPanelInOrderAndPauseFreezesIt) {
    TempDir dir;
    ProjectWriter w(dir.path());
    w.KindFolders().Global();
    w.File("Frame.png", FrameSheet());
    w.File("Sprite/Sprite8.png", Solid(416, 480, 0x103050));  // background
    w.File("Sprite/Sprite1.png", Solid(224, 480, 0x505050));  // panel
    for (int n : {2, 3, 4})
        w.File("Sprite/Sprite" + std::to_string(n) + ".png", Solid(16, 16, kGreen));
    BulletFile shot;
    shot.sprite = 20;
    w.Bullet(0, shot);
    w.File("Sprite/Sprite20.png", Solid(4, 8, 0xFFFF00));

    GameRunner run(dir.path());
    ReachPlay(run);
    uint32_t f = run.game().frame;
    // Fly to the right edge of the play field, firing.
    run.SetInput(std::to_string(f + 1) + "-" + std::to_string(f + 80) + " RIGHT X\n");
    ASSERT_TRUE(run.RunTo(f + 80));
    const TPlayer& ship = run.game().world.player;
    ASSERT_EQ(ship.x, 416.0);
    const int sy = static_cast<int>(ship.y);
    EXPECT_EQ(Pixel(100, 100), 0x103050u);  // background
    EXPECT_EQ(Pixel(412, sy), kGreen);      // the ship over the background
    EXPECT_EQ(Pixel(420, sy), 0x505050u);   // the panel over the ship's right half
    EXPECT_EQ(Pixel(500, 300), 0x505050u);
    int shots = 0;
    for (int y = 0; y < sy - 12; ++y)
        for (int x = 380; x < 416; ++x) shots += Pixel(x, y) == 0xFFFF00u;
    EXPECT_GT(shots, 0);  // shots flying up above the ship

    // Escape: the pause menu lies over the frozen game picture.
    f = run.game().frame;
    run.SetInput(std::to_string(f + 1) + " ESC\n");
    ASSERT_TRUE(run.RunTo(f + 2));
    ASSERT_EQ(run.Front(), kPause);
    const int cells = run.game().menu.widthCells;
    const int x = 158, y = 250;
    EXPECT_EQ(Pixel(x + 2, y + 2), kRed);
    EXPECT_EQ(Pixel(x + 10 * (cells + 1) + 2, y + 13 * 3 + 2), kRed);
    EXPECT_EQ(Pixel(x + 12, y + 13 * 3 + 2), kGreen);
    EXPECT_TRUE(Near(Pixel(x + 11, y + 13 * 2 + 6), Over(0x8482C6, 0x103050, 108), 3));
}
