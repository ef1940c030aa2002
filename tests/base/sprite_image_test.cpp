// TSpriteImage: frame checks, blend mode during and after each draw, truncated positions,
// centring, and the window frame's box and border.
#include "base/sprite_image.h"

#include <gtest/gtest.h>

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

TEST_F(SpriteImage, WindowFrameOfNineByTwoCells) {
    // A 3 x 3 sheet of 10 x 13 cells; cell (cx, cy) is filled with its own colour.
    auto cellColour = [](int cx, int cy) {
        return uint32_t(0x40 * (cx + 1)) << 16 | uint32_t(0x40 * (cy + 1)) << 8 | 0x20;
    };
    std::vector<uint32_t> sheet(30 * 39);
    for (int y = 0; y < 39; ++y)
        for (int x = 0; x < 30; ++x) sheet[y * 30 + x] = 0xFF000000 | cellColour(x / 10, y / 13);
    TSpriteImage s;
    s.frames.push_back(TFramePicture{Load(30, 39, sheet), 0});
    s.DrawWindowFrame(100.7, 50.2, 9, 2);
    // 11 x 4 cells: a box of 110 x 52 pixels, and nothing beyond.
    EXPECT_EQ(LitBox(), (Box{100, 50, 210, 102}));
    // Inside the 26 border cells the translucent box shows: MakeColor(128, 128, 192) at
    // 108 / 255 over black.
    const uint32_t box = media::ColourToXrgb(MakeColor(128, 128, 192));
    uint32_t translucent = 0;
    for (int shift : {16, 8, 0}) translucent |= ((box >> shift & 0xFF) * 108 + 127) / 255 << shift;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 11; ++col) {
            // Sheet cell 0 at the left and top, 2 at the right and bottom, 1 between.
            const int cx = (col > 0) + (col == 10), cy = (row > 0) + (row == 3);
            const uint32_t want = cx == 1 && cy == 1 ? translucent : cellColour(cx, cy);
            const int x = 100 + 10 * col, y = 50 + 13 * row;
            EXPECT_TRUE(Pixel(x, y) == want && Pixel(x + 9, y + 12) == want) << col << "," << row;
        }
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
