// TSpriteImage: frame checks, blend mode during and after each draw, truncated positions,
// centring, and the window frame's box and border.
#include "base/sprite_image.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "base/check.h"
#include "media/core.h"
#include "media/media.h"
#include "support/media_fixture.h"
#include "sys/sys.h"

namespace {

class SpriteImage : public MediaTest {
protected:
    void SetUp() override {
        MediaTest::SetUp();
        sys::SetMessageBoxesToStderr(true);
    }
    void TearDown() override {
        sys::ClearQuit();
        MediaTest::TearDown();
    }
    void AddFrame(TSpriteImage* s, int w, int h) {
        s->frames.push_back(TFramePicture{Numbered(w, h), 10});
        s->imageWidth = w;
        s->imageHeight = h;
    }
    static uint32_t At(int x, int y) { return NumberedPixel(x, y) & 0xFFFFFF; }
    static int BlendModeNow() { return media::TheCore().blendMode; }
};

TEST_F(SpriteImage, NegativeFrameIsACheckedFailureMissingOnesAreSilent) {
    TSpriteImage empty, one;
    AddFrame(&one, 4, 4);
    const int before = CheckFailureCount();
    empty.DrawRotated(0);
    empty.Draw(0);
    empty.DrawPart(0, 0, 4, 4);
    one.DrawRotated(1);
    one.Draw(7);
    EXPECT_EQ(CheckFailureCount(), before);
    EXPECT_FALSE(sys::QuitPosted());
    // The warning box, and a quit request.
    one.DrawRotated(-1);
    EXPECT_EQ(CheckFailureCount(), before + 1);
    EXPECT_TRUE(sys::QuitPosted());
    one.Draw(-3);
    EXPECT_EQ(CheckFailureCount(), before + 2);
    EXPECT_EQ(LitPixels(), 0);
}

TEST_F(SpriteImage, DrawPutsTheTopLeftAndDrawRotatedTheCentreAtTheTruncatedPosition) {
    TSpriteImage s;
    AddFrame(&s, 4, 2);
    s.drawX = 10.9;
    s.drawY = -0.7;  // toward zero: row 0, not -1
    s.drawAngle = 90;
    s.drawScale = 3;
    s.mirrored = 1;
    s.Draw(0);  // angle and scale ignored
    EXPECT_EQ(LitBox(), (Box{10, 0, 14, 2}));
    EXPECT_EQ(Pixel(10, 0), At(3, 0));
    ClearScreen();
    s.drawX = NAN;  // a position that is not a number draws at 0
    s.mirrored = 0;
    s.Draw(0);
    EXPECT_EQ(LitBox(), (Box{0, 0, 4, 2}));
    ClearScreen();
    s.drawX = 10.9;
    s.drawY = 10.2;
    s.drawScale = 1;
    s.mirrored = 0;
    s.DrawRotated(0);  // degrees, clockwise: the top-left pixel goes top-right
    EXPECT_EQ(LitBox(), (Box{9, 8, 11, 12}));
    EXPECT_EQ(Pixel(10, 8), At(0, 0));
    ClearScreen();
    s.drawAngle = 0;
    s.drawScale = 2;
    s.DrawRotated(0);
    EXPECT_EQ(LitBox(), (Box{6, 8, 14, 12}));
}

TEST_F(SpriteImage, BlendValueAppliesToTheDrawAndBlendingIsOffAfterwards) {
    TSpriteImage s;
    AddFrame(&s, 1, 1);  // (1, 1, 128)
    s.blendValue = 128;
    auto drawn = [&](int x, void (*draw)(TSpriteImage&)) {
        s.drawX = x;
        draw(s);
        EXPECT_EQ(BlendModeNow(), 0);
        return Pixel(x, 0);
    };
    // 128 / 255 over black, and 255 and above draws solid.
    EXPECT_EQ(drawn(10, [](TSpriteImage& s) { s.DrawRotated(0); }), 0x010140u);
    EXPECT_EQ(drawn(20, [](TSpriteImage& s) { s.Draw(0); }), 0x010140u);
    EXPECT_EQ(drawn(30, [](TSpriteImage& s) { s.DrawPart(0, 0, 1, 1); }), 0x010140u);
    s.blendValue = 300;
    EXPECT_EQ(drawn(60, [](TSpriteImage& s) { s.Draw(0); }), At(0, 0));
    s.DrawWindowFrame(100, 100, 2, 1);
    EXPECT_EQ(BlendModeNow(), 0);
}

// The menus' window frame: (cols + 2) x (rows + 2) cells of 10 x 13 pixels, the sheet's
// corners, edges and, inside, the translucent box instead of the sheet's centre cell. (Every
// menu's picture is also checked whole, by checksum, in the screen tests.)
TEST_F(SpriteImage, WindowFrameOfNineByTwoCells) {
    // Cell (cx, cy) has red 0x40 (cx + 1) and green 0x40 (cy + 1); blue counts the columns
    // inside the cell, so a cell drawn mirrored shows.
    std::vector<uint32_t> sheet(30 * 39);
    for (int i = 0; i < 30 * 39; ++i)
        sheet[i] = (0xFF000020u + i % 10) | uint32_t(0x40 * (i % 30 / 10 + 1)) << 16 |
                   uint32_t(0x40 * (i / 30 / 13 + 1)) << 8;
    TSpriteImage s;
    s.frames.push_back(TFramePicture{Load(30, 39, sheet), 0});
    s.DrawWindowFrame(100.7, 50.2, 9, 2);
    EXPECT_EQ(LitBox(), (Box{100, 50, 210, 102}));
    // Corners, edges (at both ends of their runs) and the box, at the cells' far corners.
    const struct {
        int col, row;
        uint32_t colour;
    } cells[] = {{0, 0, 0x404020},  {1, 0, 0x804020},  {9, 0, 0x804020},  {10, 0, 0xC04020},
                 {10, 1, 0xC08020}, {10, 2, 0xC08020}, {10, 3, 0xC0C020}, {9, 3, 0x80C020},
                 {1, 3, 0x80C020},  {0, 3, 0x40C020},  {0, 2, 0x408020},  {0, 1, 0x408020},
                 {5, 2, 0x383754}};  // 0x8482C6, MakeColor(128, 128, 192), at 108 / 255
    for (const auto& c : cells) {
        const int x = 100 + 10 * c.col, y = 50 + 13 * c.row;
        const bool box = c.col == 5;
        EXPECT_EQ(Pixel(x, y), c.colour) << c.col << "," << c.row;
        EXPECT_EQ(Pixel(x + 9, y + 12), c.colour + (box ? 0 : 9)) << c.col << "," << c.row;
    }
    // The draw position is left where the left edge ended.
    EXPECT_DOUBLE_EQ(s.drawX, 100.7);
    EXPECT_DOUBLE_EQ(s.drawY, 50.2 + 13);
}

TEST_F(SpriteImage, DestructorDeletesEveryFrame) {
    auto s = std::make_unique<TSpriteImage>();
    AddFrame(s.get(), 2, 2);
    AddFrame(s.get(), 2, 2);
    const int first = s->frames[0].image, second = s->frames[1].image;
    s.reset();
    EXPECT_EQ(GetImageSize(first, nullptr, nullptr), -1);
    EXPECT_EQ(GetImageSize(second, nullptr, nullptr), -1);
}

}  // namespace
