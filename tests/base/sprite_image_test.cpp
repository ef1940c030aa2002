// TSpriteImage: frame checks, blend mode before and after each draw, truncated positions,
// centring, and the window frame's box and clockwise border.
#include "base/sprite_image.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/check.h"
#include "media/core.h"
#include "media/media.h"
#include "support/media_fixture.h"
#include "support/temp_dir.h"
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
    // An opaque frame whose pixel (x, y) has the colour (x + 1, y + 1, blue).
    void AddFrame(TSpriteImage* s, int w, int h, uint32_t blue = 0x80) {
        std::vector<uint32_t> px;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) px.push_back(0xFF000000u | Numbered(x, y, blue));
        s->frames.push_back(TFramePicture{LoadArgbImage(dir_.path(), w, h, px), 10});
        s->imageWidth = w;
        s->imageHeight = h;
    }
    static uint32_t Numbered(int x, int y, uint32_t blue = 0x80) {
        return uint32_t(x + 1) << 16 | uint32_t(y + 1) << 8 | blue;
    }
    static int BlendModeNow() { return media::TheCore().blendMode; }
    TempDir dir_;
};

TEST_F(SpriteImage, NegativeFrameIsACheckedFailureAndDrawsNothing) {
    TSpriteImage s;
    AddFrame(&s, 4, 4);
    const int before = CheckFailureCount();
    s.DrawRotated(-1);
    EXPECT_EQ(CheckFailureCount(), before + 1);
    EXPECT_TRUE(sys::QuitPosted());
    s.Draw(-3);
    EXPECT_EQ(CheckFailureCount(), before + 2);
    EXPECT_EQ(LitPixels(), 0);
}

TEST_F(SpriteImage, MissingPicturesAndFramesDrawNothingSilently) {
    TSpriteImage empty;
    const int before = CheckFailureCount();
    empty.drawX = 20;
    empty.drawY = 20;
    empty.DrawRotated(0);
    empty.Draw(0);
    empty.DrawPart(0, 0, 4, 4);
    TSpriteImage one;
    AddFrame(&one, 4, 4);
    one.DrawRotated(1);
    one.Draw(7);
    EXPECT_EQ(CheckFailureCount(), before);
    EXPECT_FALSE(sys::QuitPosted());
    EXPECT_EQ(LitPixels(), 0);
}

TEST_F(SpriteImage, DrawPutsTheTopLeftAtTheTruncatedPositionIgnoringAngleAndScale) {
    TSpriteImage s;
    AddFrame(&s, 3, 2);
    s.drawX = 10.9;
    s.drawY = -0.7;  // toward zero: row 0, not -1
    s.drawAngle = 45;
    s.drawScale = 3;
    s.Draw(0);
    EXPECT_EQ(Pixel(10, 0), Numbered(0, 0));
    EXPECT_EQ(Pixel(12, 1), Numbered(2, 1));
    EXPECT_EQ(LitPixels(), 6);
    ClearScreen();
    s.mirrored = 1;
    s.Draw(0);
    EXPECT_EQ(Pixel(10, 0), Numbered(2, 0));
}

TEST_F(SpriteImage, DrawRotatedCentresOnThePositionInDegrees) {
    TSpriteImage s;
    AddFrame(&s, 4, 2);
    s.drawX = 10.9;
    s.drawY = 10.2;
    s.DrawRotated(0);
    const Box b = LitBox();
    EXPECT_EQ(b.x0, 8);
    EXPECT_EQ(b.x1, 12);
    EXPECT_EQ(b.y0, 9);
    EXPECT_EQ(b.y1, 11);
    ClearScreen();
    s.drawAngle = 90;  // a quarter turn clockwise: the top-left pixel goes top-right
    s.DrawRotated(0);
    EXPECT_EQ(Pixel(10, 8), Numbered(0, 0));
    EXPECT_EQ(Pixel(9, 11), Numbered(3, 1));
    ClearScreen();
    s.drawAngle = 0;
    s.drawScale = 2;
    s.DrawRotated(0);
    EXPECT_EQ(LitPixels(), 32);
}

TEST_F(SpriteImage, EveryDrawLeavesBlendingOff) {
    TSpriteImage s;
    AddFrame(&s, 2, 2);
    DrawRect(0, 0, 640, 480, MakeColor(0, 0, 0), 1);
    s.blendValue = 128;
    s.drawX = 10;
    s.DrawRotated(0);
    EXPECT_EQ(BlendModeNow(), 0);
    s.drawX = 20;
    s.Draw(0);
    EXPECT_EQ(BlendModeNow(), 0);
    s.drawX = 30;
    s.DrawPart(0, 0, 2, 2);
    EXPECT_EQ(BlendModeNow(), 0);
    // All three drew at 128 / 255 over black: (1, 1, 128) becomes (1, 1, 64).
    const uint32_t half = 0x010140u;
    EXPECT_EQ(Pixel(9, 0), half);  // centred: the 2 x 2 picture covers 9..10, -1..0
    EXPECT_EQ(Pixel(20, 0), half);
    EXPECT_EQ(Pixel(30, 0), half);
    s.DrawWindowFrame(100, 100, 2, 1);
    EXPECT_EQ(BlendModeNow(), 0);
}

TEST_F(SpriteImage, DrawUsesTheRecordsBlendModeTheOthersAlphaBlending) {
    TSpriteImage s;
    AddFrame(&s, 1, 1, 0xFF);
    s.blendValue = 100;
    s.blendMode = 0;  // the game never does this; Draw passes it on, DrawRotated does not
    s.drawX = 0;
    s.Draw(0);
    EXPECT_EQ(Pixel(0, 0), Numbered(0, 0, 0xFF));
    s.drawX = 1.5;  // centre pixel 1 for a 1 x 1 picture
    s.DrawRotated(0);
    EXPECT_EQ(Pixel(1, 0), 0x000064u);
    // 255 and above draws solid.
    s.blendValue = 300;
    s.blendMode = 1;
    s.drawX = 2;
    s.Draw(0);
    EXPECT_EQ(Pixel(2, 0), Numbered(0, 0, 0xFF));
}

TEST_F(SpriteImage, WindowFrameOfNineByTwoCells) {
    // A 3 x 3 sheet of 10 x 13 cells; cell (cx, cy) is filled with its own colour.
    auto cellColour = [](int cx, int cy) {
        return 0xFF000000u | uint32_t(0x40 * (cx + 1)) << 16 | uint32_t(0x40 * (cy + 1)) << 8 |
               0x20;
    };
    std::vector<uint32_t> sheet(30 * 39);
    for (int y = 0; y < 39; ++y)
        for (int x = 0; x < 30; ++x) sheet[y * 30 + x] = cellColour(x / 10, y / 13);
    TSpriteImage s;
    s.frames.push_back(TFramePicture{LoadArgbImage(dir_.path(), 30, 39, sheet), 0});
    ASSERT_NE(s.frames[0].image, -1);

    s.DrawWindowFrame(100.7, 50.2, 9, 2);

    // The box: 11 x 4 cells = 110 x 52 pixels, and nothing beyond.
    const Box b = LitBox();
    EXPECT_EQ(b.x0, 100);
    EXPECT_EQ(b.y0, 50);
    EXPECT_EQ(b.x1, 210);
    EXPECT_EQ(b.y1, 102);
    // Inside the border the translucent box shows: MakeColor(128, 128, 192) at 108 / 255.
    const uint32_t box = media::ColourToXrgb(MakeColor(128, 128, 192));
    auto part = [](uint32_t c, int shift) {
        const uint32_t t = ((c >> shift) & 0xFF) * 108 + 128;
        return ((t + (t >> 8)) >> 8) << shift;
    };
    const uint32_t translucent = part(box, 16) | part(box, 8) | part(box, 0);
    EXPECT_EQ(Pixel(110, 63), translucent);
    EXPECT_EQ(Pixel(199, 88), translucent);

    // 26 border cells, clockwise from the top-left.
    int count = 0;
    auto expectCell = [&](int column, int row, int cx, int cy) {
        ++count;
        const int x = 100 + 10 * column, y = 50 + 13 * row;
        EXPECT_EQ(Pixel(x, y), cellColour(cx, cy) & 0xFFFFFF) << column << "," << row;
        EXPECT_EQ(Pixel(x + 9, y + 12), cellColour(cx, cy) & 0xFFFFFF) << column << "," << row;
    };
    expectCell(0, 0, 0, 0);
    for (int i = 1; i <= 9; ++i) expectCell(i, 0, 1, 0);
    expectCell(10, 0, 2, 0);
    for (int r = 1; r <= 2; ++r) expectCell(10, r, 2, 1);
    expectCell(10, 3, 2, 2);
    for (int i = 9; i >= 1; --i) expectCell(i, 3, 1, 2);
    expectCell(0, 3, 0, 2);
    for (int r = 2; r >= 1; --r) expectCell(0, r, 0, 1);
    EXPECT_EQ(count, 26);
    // The draw position is left where the left edge ended.
    EXPECT_DOUBLE_EQ(s.drawX, 100.7);
    EXPECT_DOUBLE_EQ(s.drawY, 50.2 + 13);
}

TEST_F(SpriteImage, DestructorDeletesEveryFrame) {
    std::vector<int> handles;
    {
        TSpriteImage s;
        AddFrame(&s, 2, 2);
        AddFrame(&s, 2, 2);
        for (const TFramePicture& f : s.frames) handles.push_back(f.image);
        for (int h : handles) EXPECT_EQ(GetImageSize(h, nullptr, nullptr), 0);
    }
    for (int h : handles) EXPECT_EQ(GetImageSize(h, nullptr, nullptr), -1);
}

}  // namespace
