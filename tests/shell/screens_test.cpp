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

uint32_t Pixel(int x, int y) { return media::BackBuffer()[y * 640 + x] & 0xFFFFFF; }
int R(uint32_t c) { return (c >> 16) & 0xFF; }
int G(uint32_t c) { return (c >> 8) & 0xFF; }
int B(uint32_t c) { return c & 0xFF; }
// c over d at opacity a/255.
uint32_t Over(uint32_t c, uint32_t d, int a) {
    auto mix = [&](int s, int t) { return (s * a + t * (255 - a) + 127) / 255; };
    return (mix(R(c), R(d)) << 16) | (mix(G(c), G(d)) << 8) | mix(B(c), B(d));
}
::testing::AssertionResult Near(uint32_t actual, uint32_t expected, int tolerance) {
    if (std::abs(R(actual) - R(expected)) <= tolerance &&
        std::abs(G(actual) - G(expected)) <= tolerance &&
        std::abs(B(actual) - B(expected)) <= tolerance)
        return ::testing::AssertionSuccess();
    char buf[96];
    std::snprintf(buf, sizeof buf, "%06X is not within %d of %06X", actual, tolerance, expected);
    return ::testing::AssertionFailure() << buf;
}

struct ScreenProject {
    TempDir dir;
    std::vector<uint32_t> title;
    explicit ScreenProject(bool patterned) {
        ProjectWriter w(dir.path());
        w.KindFolders().Global();
        w.File("Frame.png", FrameSheet());
        title.resize(640 * 480);
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                title[y * 640 + x] = patterned ? 0xFF000000u | ((x * 7 & 0xFF) << 16) |
                                                     ((y * 3 & 0xFF) << 8) | 0x40
                                               : 0xFF204060u;
        w.File("Sprite/Sprite0.png", EncodeArgbPng(640, 480, title));
    }
};

}  // namespace

TEST(TitleScreen, FadesInToExactlyTheTitlePicture) {
    ScreenProject p(true);
    GameRunner run(p.dir.path());
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(run.RunTo(52));
    // Frame 52 is still drawn at the level of frame 51.
    EXPECT_NE(Pixel(320, 240), p.title[240 * 640 + 320] & 0xFFFFFF);
    ASSERT_TRUE(run.RunTo(53));
    ASSERT_EQ(run.Front(), kTitleMenuOpen);
    int differing = 0;
    for (int i = 0; i < 640 * 480; ++i)
        if ((media::BackBuffer()[i] & 0xFFFFFF) != (p.title[i] & 0xFFFFFF)) ++differing;
    EXPECT_EQ(differing, 0);
}

TEST(MenuScreens, TitleMenuLayout) {
    ScreenProject p(false);
    GameRunner run(p.dir.path());
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(run.RunUntilState(kTitleMenu));
    ASSERT_TRUE(run.RunTo(run.game().frame + 26));  // past the delay: drawn
    const TMenu& m = run.game().menu;
    const int cells = m.widthCells;
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
    EXPECT_EQ(Pixel(x - 1, y + 20), 0x204060u);
    EXPECT_EQ(Pixel(x + 10 * (cells + 2), y + 20), 0x204060u);
    // Inside: the translucent box (colour 128,128,192 on a 16-bit screen, opacity 108).
    const uint32_t box = Over(0x8482C6, 0x204060, 108);
    EXPECT_TRUE(Near(Pixel(x + 11, y + 13 * 2 + 6), box, 3));
    // The cursor bar over item 0 only.
    EXPECT_FALSE(Near(Pixel(x + 11, y + 10), box, 3));
    EXPECT_TRUE(Near(Pixel(x + 11, y + 13 + 10), box, 3));
    // Each item's text: white pixels in its row (under the half-transparent bar for item 0).
    for (int i = 0; i < 3; ++i) {
        int white = 0;
        for (int yy = y + 13 * i + 5; yy < y + 13 * i + 18; ++yy)
            for (int xx = x + 10; xx < x + 10 * (cells + 1); ++xx) {
                uint32_t c = Pixel(xx, yy);
                if (i == 0 ? (R(c) > 140 && G(c) > 160) : c == 0xFFFFFF) ++white;
            }
        EXPECT_GT(white, 10) << "item " << i;
    }
}

TEST(MenuScreens, PauseMenuSitsOverTheFrozenGame) {
    ScreenProject p(false);
    GameRunner run(p.dir.path());
    run.SetInput("80 X\n");
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(run.RunUntilState(kGamePlay));
    uint32_t f = run.game().frame;
    run.SetInput(std::to_string(f + 1) + " ESC\n");
    ASSERT_TRUE(run.RunTo(f + 2));
    ASSERT_EQ(run.Front(), kPause);
    const int cells = run.game().menu.widthCells;
    const int x = 158, y = 250;
    EXPECT_EQ(Pixel(x + 2, y + 2), kRed);
    EXPECT_EQ(Pixel(x + 10 * (cells + 1) + 2, y + 13 * 3 + 2), kRed);
    EXPECT_EQ(Pixel(x + 12, y + 13 * 3 + 2), kGreen);
    // The game picture has no background image here: the box lies over black.
    EXPECT_TRUE(Near(Pixel(x + 11, y + 13 * 2 + 6), Over(0x8482C6, 0x000000, 108), 3));
}

TEST(PlayScreen, DrawsBackgroundShipShotsAndPanelInOrder) {
    TempDir dir;
    ProjectWriter w(dir.path());
    w.KindFolders().Global();
    w.File("Frame.png", FrameSheet());
    auto solid = [](int width, int height, uint32_t rgb) {
        return EncodeArgbPng(width, height,
                             std::vector<uint32_t>(static_cast<size_t>(width * height),
                                                   0xFF000000u | rgb));
    };
    w.File("Sprite/Sprite8.png", solid(416, 480, 0x103050));  // background
    w.File("Sprite/Sprite1.png", solid(224, 480, 0x505050));  // panel
    for (int n : {2, 3, 4}) w.File("Sprite/Sprite" + std::to_string(n) + ".png", solid(16, 16, kGreen));
    BulletFile shot;
    shot.sprite = 20;
    w.Bullet(0, shot);
    w.File("Sprite/Sprite20.png", solid(4, 8, 0xFFFF00));

    GameRunner run(dir.path());
    run.SetInput("80 X\n");
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(run.RunUntilState(kGamePlay));
    uint32_t f = run.game().frame;
    // Fly to the right edge of the play field, firing.
    run.SetInput(std::to_string(f + 1) + "-" + std::to_string(f + 80) + " RIGHT X\n");
    ASSERT_TRUE(run.RunTo(f + 80));
    const TPlayer& ship = run.game().world.player;
    ASSERT_EQ(ship.x, 416.0);
    const int sy = static_cast<int>(ship.y);
    EXPECT_EQ(Pixel(100, 100), 0x103050u);          // background
    EXPECT_EQ(Pixel(412, sy), kGreen);              // the ship over the background
    EXPECT_EQ(Pixel(420, sy), 0x505050u);           // the panel over the ship's right half
    EXPECT_EQ(Pixel(500, 300), 0x505050u);
    int shots = 0;
    for (int y = 0; y < sy - 12; ++y)
        for (int x = 380; x < 416; ++x) shots += Pixel(x, y) == 0xFFFF00u;
    EXPECT_GT(shots, 0);                            // shots flying up above the ship
}
