// Pixel-exact drawing of images and rectangles into the back buffer: colour key, alpha,
// blending, brightness, mirroring, rotation, centring, part clipping.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "media/core.h"
#include "media/inspect.h"
#include "media/media.h"
#include "support/media_fixture.h"
#include "support/png_writer.h"
#include "support/temp_dir.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

class Raster : public MediaTest {
protected:
    int Load(int w, int h, const std::vector<uint32_t>& argb, bool alpha = true) {
        const int handle = LoadArgbImage(dir_.path(), w, h, argb, alpha);
        EXPECT_NE(handle, -1);
        return handle;
    }
    // A w x h picture whose pixel (x, y) is 0xFF000000 | (x + 1) << 16 | (y + 1) << 8 | 0x80.
    int Numbered(int w, int h) {
        std::vector<uint32_t> px;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) px.push_back(NumberedPixel(x, y));
        return Load(w, h, px);
    }
    static uint32_t NumberedPixel(int x, int y) {
        return 0xFF000000u | uint32_t(x + 1) << 16 | uint32_t(y + 1) << 8 | 0x80;
    }
    static uint32_t Rgb(uint32_t argb) { return argb & 0xFFFFFF; }
    TempDir dir_;
};

TEST_F(Raster, DrawImageCopiesAtItsTopLeft) {
    const int img = Numbered(3, 2);
    ASSERT_EQ(DrawImage(10, 20, img, 1), 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(Pixel(10 + x, 20 + y), Rgb(NumberedPixel(x, y)));
    EXPECT_EQ(LitPixels(), 6);
}

TEST_F(Raster, DrawImageClipsAtEveryScreenEdge) {
    const int img = Numbered(4, 4);
    DrawImage(-2, -3, img, 0);
    EXPECT_EQ(Pixel(0, 0), Rgb(NumberedPixel(2, 3)));
    EXPECT_EQ(LitPixels(), 2);
    ClearScreen();
    DrawImage(638, 478, img, 0);
    EXPECT_EQ(Pixel(639, 479), Rgb(NumberedPixel(1, 1)));
    EXPECT_EQ(LitPixels(), 4);
    ClearScreen();
    EXPECT_EQ(DrawImage(-100, 5, img, 0), 0);
    EXPECT_EQ(DrawImage(5, 1000, img, 0), 0);
    EXPECT_EQ(DrawImage(INT32_MAX, INT32_MIN, img, 0), 0);
    EXPECT_EQ(LitPixels(), 0);
}

TEST_F(Raster, ColourKeyLeavesOutExactlyPureBlack) {
    const int img = Load(4, 1, {0xFF000000, 0xFF010000, 0xFF000001, 0xFF000000}, false);
    DrawRect(0, 0, 8, 1, MakeColor(255, 255, 255), 1);
    DrawImage(0, 0, img, 1);
    EXPECT_EQ(Pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(Pixel(1, 0), 0x010000u);
    EXPECT_EQ(Pixel(2, 0), 0x000001u);
    EXPECT_EQ(Pixel(3, 0), 0xFFFFFFu);
    // Without transparency every pixel is drawn.
    DrawImage(4, 0, img, 0);
    EXPECT_EQ(Pixel(4, 0), 0u);
    EXPECT_EQ(Pixel(7, 0), 0u);
}

TEST_F(Raster, PngAlphaZeroIsLeftOutPartialAlphaBlends) {
    const int img = Load(3, 1, {0x00FF0000, 0x80FFFFFF, 0xFF00FF00});
    DrawRect(0, 0, 6, 1, MakeColor(0, 0, 0), 1);
    DrawImage(0, 0, img, 1);
    EXPECT_EQ(Pixel(0, 0), 0u);
    EXPECT_EQ(Pixel(1, 0), 0x808080u);
    EXPECT_EQ(Pixel(2, 0), 0x00FF00u);
    // Transparency off: opaque, alpha ignored.
    DrawImage(3, 0, img, 0);
    EXPECT_EQ(Pixel(3, 0), 0xFF0000u);
    EXPECT_EQ(Pixel(4, 0), 0xFFFFFFu);
}

TEST_F(Raster, AlphaBlendAtHalf) {
    const int white = Load(2, 1, {0xFFFFFFFF, 0xFFFFFFFF});
    const int dark = Load(2, 1, {0xFFC86400, 0xFF000000});
    DrawRect(0, 1, 2, 2, MakeColor(0, 0, 255), 1);
    SetBlendMode(1, 128);
    DrawImage(0, 0, white, 1);
    EXPECT_EQ(Pixel(0, 0), 0x808080u);  // 255 * 128 / 255 over black
    DrawImage(0, 1, dark, 1);
    EXPECT_EQ(Pixel(0, 1), 0x64327Fu);  // (200, 100, 0) at 128/255 over (0, 0, 255)
    EXPECT_EQ(Pixel(1, 1), 0x0000FFu);  // the colour key stays out when blending
}

TEST_F(Raster, BlendParameterIsClamped) {
    const int white = Load(1, 1, {0xFFFFFFFF});
    SetBlendMode(1, 300);
    DrawImage(0, 0, white, 1);
    EXPECT_EQ(Pixel(0, 0), 0xFFFFFFu);
    SetBlendMode(1, -5);
    DrawImage(1, 0, white, 1);
    EXPECT_EQ(Pixel(1, 0), 0u);
    SetBlendMode(0, 0);
    DrawImage(2, 0, white, 1);
    EXPECT_EQ(Pixel(2, 0), 0xFFFFFFu);
}

TEST_F(Raster, TranslucentPixelsCombineWithTheBlendParameter) {
    const int img = Load(1, 1, {0x80FFFFFF});
    SetBlendMode(1, 128);
    DrawImage(0, 0, img, 1);
    EXPECT_EQ(Pixel(0, 0), 0x404040u);  // 128/255 * 128/255 of white
}

TEST_F(Raster, BrightnessIsClampedAndMultipliesEachChannel) {
    const int white = Load(1, 1, {0xFFFFFFFF});
    SetDrawBrightness(300, 128, -1);
    DrawImage(0, 0, white, 1);
    EXPECT_EQ(Pixel(0, 0), 0xFF8000u);
    DrawImageRotated(5, 5, 2.0, 0.5, white, 1, 0);
    EXPECT_EQ(Pixel(5, 5), 0xFF8000u);
    DrawRect(10, 0, 11, 1, MakeColor(255, 255, 255), 1);
    EXPECT_EQ(Pixel(10, 0), 0xFF8000u);
    SetDrawBrightness(128, 128, 128);
    const int grey = Load(1, 1, {0xFF646464});
    DrawImage(1, 0, grey, 1);
    EXPECT_EQ(Pixel(1, 0), 0x323232u);  // 100 * 128 / 255 = 50.2
}

TEST_F(Raster, BrightnessDoesNotTurnDarkPixelsIntoTheColourKey) {
    const int img = Load(1, 1, {0xFF010101});
    DrawRect(0, 0, 1, 1, MakeColor(255, 255, 255), 1);
    SetDrawBrightness(0, 0, 0);
    DrawImage(0, 0, img, 1);
    EXPECT_EQ(Pixel(0, 0), 0u);  // drawn, and black
}

TEST_F(Raster, MirroredCoversTheSameRectangleReversed) {
    const int img = Numbered(3, 2);
    DrawImageMirrored(10, 10, img, 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(Pixel(10 + x, 10 + y), Rgb(NumberedPixel(2 - x, y)));
    EXPECT_EQ(LitPixels(), 6);
    // Clipped on the left: the visible part is still the mirrored one.
    ClearScreen();
    DrawImageMirrored(-1, 0, img, 0);
    EXPECT_EQ(Pixel(0, 0), Rgb(NumberedPixel(1, 0)));
    EXPECT_EQ(Pixel(1, 0), Rgb(NumberedPixel(0, 0)));
}

TEST_F(Raster, RotatedWithoutTurnCentresWithTheOddPixelRightAndBelow) {
    const int odd = Numbered(3, 3);
    DrawImageRotated(10, 10, 1.0, 0.0, odd, 0, 0);
    EXPECT_EQ(LitBox().x0, 9);
    EXPECT_EQ(LitBox().x1, 12);
    EXPECT_EQ(LitBox().y0, 9);
    EXPECT_EQ(Pixel(9, 9), Rgb(NumberedPixel(0, 0)));
    ClearScreen();
    const int even = Numbered(4, 2);
    DrawImageRotated(10, 10, 1.0, 0.0, even, 0, 0);
    const Box b = LitBox();
    EXPECT_EQ(b.x0, 8);
    EXPECT_EQ(b.x1, 12);
    EXPECT_EQ(b.y0, 9);
    EXPECT_EQ(b.y1, 11);
}

TEST_F(Raster, TransformedPathMatchesThePlainBlitAtNoTurn) {
    const int img = Numbered(5, 3);
    DrawImageRotated(20, 20, 1.0, 0.0, img, 0, 1);
    std::vector<uint32_t> plain(media::BackBuffer(), media::BackBuffer() + 640 * 480);
    ClearScreen();
    DrawImageRotated(20, 20, 1.0, 2 * kPi, img, 0, 1);  // a full turn takes the stepping path
    EXPECT_EQ(std::vector<uint32_t>(media::BackBuffer(), media::BackBuffer() + 640 * 480), plain);
}

TEST_F(Raster, QuarterTurnIsClockwise) {
    // 4 x 2 turned a quarter clockwise: 2 wide, 4 high; the top-left pixel goes top-right.
    const int img = Numbered(4, 2);
    DrawImageRotated(10, 10, 1.0, kPi / 2, img, 0, 0);
    const Box b = LitBox();
    EXPECT_EQ(b.x0, 9);
    EXPECT_EQ(b.x1, 11);
    EXPECT_EQ(b.y0, 8);
    EXPECT_EQ(b.y1, 12);
    // Destination (9 + c, 8 + r) shows source (r, 1 - c).
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 2; ++c)
            EXPECT_EQ(Pixel(9 + c, 8 + r), Rgb(NumberedPixel(r, 1 - c))) << r << "," << c;
    EXPECT_EQ(LitPixels(), 8);
}

TEST_F(Raster, HalfTurnAndMirrorBeforeTurning) {
    const int img = Numbered(4, 2);
    DrawImageRotated(10, 10, 1.0, kPi, img, 0, 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(Pixel(8 + x, 9 + y), Rgb(NumberedPixel(3 - x, 1 - y)));
    ClearScreen();
    // Mirrored then turned half way: only the rows swap.
    DrawImageRotated(10, 10, 1.0, kPi, img, 0, 1);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(Pixel(8 + x, 9 + y), Rgb(NumberedPixel(x, 1 - y)));
    EXPECT_EQ(LitPixels(), 8);
}

TEST_F(Raster, ScaleTwoDoublesEveryPixelAroundTheCentre) {
    const int img = Numbered(2, 2);
    DrawImageRotated(10, 10, 2.0, 0.0, img, 0, 0);
    const Box b = LitBox();
    EXPECT_EQ(b.x0, 8);
    EXPECT_EQ(b.x1, 12);
    EXPECT_EQ(b.y0, 8);
    EXPECT_EQ(b.y1, 12);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(Pixel(8 + x, 8 + y), Rgb(NumberedPixel(x / 2, y / 2)));
}

TEST_F(Raster, RotatedDrawsStayInsideTheirBoundsAndTheScreen) {
    std::vector<uint32_t> px(32 * 32, 0xFFFFFFFF);
    const int img = Load(32, 32, px);
    for (double a = 0.05; a < 7; a += 0.37) {
        ClearScreen();
        DrawImageRotated(100, 100, 1.5, a, img, 1, 0);
        const Box b = LitBox();
        const double r = 1.5 * 16 * std::sqrt(2.0) + 1;
        EXPECT_GE(b.x0, 100 - r);
        EXPECT_LE(b.x1, 100 + r);
        // The area drawn is the square's, within a rim of pixels.
        EXPECT_NEAR(LitPixels(), 48 * 48, 48 * 4 * 1.5);
    }
    // Corners of the screen, huge and degenerate scales, odd angles: no crash.
    for (double scale : {0.0, -1.0, 1e-9, 1e9, 1e300, double(NAN), double(INFINITY)}) {
        EXPECT_EQ(DrawImageRotated(0, 0, scale, 1.0, img, 1, 1), 0);
        EXPECT_EQ(DrawImageRotated(639, 479, scale, NAN, img, 1, 0), 0);
    }
    EXPECT_EQ(DrawImageRotated(INT32_MIN, INT32_MAX, 3.0, 0.3, img, 1, 0), 0);
}

TEST_F(Raster, NegativeScaleTurnsHalfWay) {
    const int img = Numbered(4, 2);
    DrawImageRotated(10, 10, -1.0, 0.0, img, 0, 0);
    std::vector<uint32_t> negative(media::BackBuffer(), media::BackBuffer() + 640 * 480);
    ClearScreen();
    DrawImageRotated(10, 10, 1.0, kPi, img, 0, 0);
    EXPECT_EQ(std::vector<uint32_t>(media::BackBuffer(), media::BackBuffer() + 640 * 480),
              negative);
}

TEST_F(Raster, DrawImagePartTouchesOnlyItsRectangle) {
    const int img = Numbered(16, 16);
    DrawImagePart(20, 30, 4, 5, 3, 2, img, 0, 0);
    EXPECT_EQ(LitBox().x0, 20);
    EXPECT_EQ(LitBox().y0, 30);
    EXPECT_EQ(LitBox().x1, 23);
    EXPECT_EQ(LitBox().y1, 32);
    EXPECT_EQ(Pixel(20, 30), Rgb(NumberedPixel(4, 5)));
    EXPECT_EQ(Pixel(22, 31), Rgb(NumberedPixel(6, 6)));
    ClearScreen();
    // Mirrored within the part.
    DrawImagePart(20, 30, 4, 5, 3, 2, img, 0, 1);
    EXPECT_EQ(Pixel(20, 30), Rgb(NumberedPixel(6, 5)));
    EXPECT_EQ(Pixel(22, 30), Rgb(NumberedPixel(4, 5)));
    EXPECT_EQ(LitPixels(), 6);
}

TEST_F(Raster, DrawImagePartOutsideThePictureDrawsOnlyWhatExists) {
    const int img = Numbered(4, 4);
    // The source rectangle starts left of and above the picture and ends past it.
    DrawImagePart(50, 50, -2, -1, 10, 10, img, 0, 0);
    const Box b = LitBox();
    EXPECT_EQ(b.x0, 52);
    EXPECT_EQ(b.y0, 51);
    EXPECT_EQ(b.x1, 56);
    EXPECT_EQ(b.y1, 55);
    EXPECT_EQ(Pixel(52, 51), Rgb(NumberedPixel(0, 0)));
    ClearScreen();
    DrawImagePart(50, 50, 2, 2, 10, 10, img, 0, 1);  // mirrored: the existing part lands right
    EXPECT_EQ(LitBox().x0, 58);
    EXPECT_EQ(LitBox().x1, 60);
    EXPECT_EQ(Pixel(59, 50), Rgb(NumberedPixel(2, 2)));
    EXPECT_EQ(DrawImagePart(0, 0, 0, 0, 0, 5, img, 0, 0), 0);
    EXPECT_EQ(DrawImagePart(0, 0, 0, 0, -3, 5, img, 0, 0), 0);
    EXPECT_EQ(LitPixels(), 4);
}

TEST_F(Raster, RectanglesExcludeTheirRightAndBottomEdges) {
    DrawRect(2, 3, 5, 7, MakeColor(255, 255, 255), 1);
    Box b = LitBox();
    EXPECT_EQ(b.x0, 2);
    EXPECT_EQ(b.y0, 3);
    EXPECT_EQ(b.x1, 5);
    EXPECT_EQ(b.y1, 7);
    EXPECT_EQ(LitPixels(), 12);
    ClearScreen();
    DrawRect(5, 7, 2, 3, MakeColor(255, 255, 255), 1);  // corners in either order
    EXPECT_EQ(LitPixels(), 12);
    ClearScreen();
    DrawRect(10, 10, 10, 20, MakeColor(255, 255, 255), 1);  // empty
    DrawRect(-100, -100, 1000, 1000, MakeColor(0, 0, 0), 1);
    EXPECT_EQ(LitPixels(), 0);
}

TEST_F(Raster, RectangleOutlineAndBlend) {
    DrawRect(0, 0, 5, 4, MakeColor(255, 255, 255), 0);
    EXPECT_EQ(LitPixels(), 5 * 2 + 2 * 2);
    EXPECT_EQ(Pixel(2, 1), 0u);
    ClearScreen();
    SetBlendMode(1, 128);
    DrawRect(0, 0, 1, 1, MakeColor(255, 255, 255), 1);
    EXPECT_EQ(Pixel(0, 0), 0x808080u);
}

TEST_F(Raster, ColoursFollowTheScreenDepth) {
    // 16-bit screen (the default): 5-6-5, widened back for the back buffer.
    ASSERT_EQ(GetScreenColorDepth(), 16);
    EXPECT_EQ(MakeColor(255, 255, 255), 0xFFFF);
    EXPECT_EQ(MakeColor(255, 0, 0), 0xF800);
    DrawRect(0, 0, 1, 1, MakeColor(128, 128, 192), 1);
    EXPECT_EQ(Pixel(0, 0), 0x8482C6u);
}

TEST_F(Raster, BadHandlesDrawNothing) {
    const int img = Numbered(2, 2);
    for (int bad : {-1, -2, 0, 12345, img + 1}) {
        EXPECT_EQ(DrawImage(0, 0, bad, 0), -1);
        EXPECT_EQ(DrawImageMirrored(0, 0, bad, 0), -1);
        EXPECT_EQ(DrawImageRotated(10, 10, 1.0, 0.5, bad, 0, 0), -1);
        EXPECT_EQ(DrawImagePart(0, 0, 0, 0, 2, 2, bad, 0, 0), -1);
    }
    EXPECT_EQ(LitPixels(), 0);
}

TEST_F(Raster, BackBufferWritesAsPng) {
    DrawRect(0, 0, 640, 480, MakeColor(0, 0, 255), 1);
    DrawRect(1, 2, 3, 4, MakeColor(255, 0, 0), 1);
    const std::string path = dir_ / "shot.png";
    ASSERT_TRUE(media::WriteBackBufferPng(path));
    ClearScreen();
    const int shot = LoadImageFile(path.c_str());
    ASSERT_NE(shot, -1);
    int w = 0, h = 0;
    GetImageSize(shot, &w, &h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    DrawImage(0, 0, shot, 0);
    EXPECT_EQ(Pixel(2, 3), 0xFF0000u);
    EXPECT_EQ(Pixel(3, 3), 0x0000FFu);
    EXPECT_FALSE(media::WriteBackBufferPng(dir_ / "no/such/folder/shot.png"));
}

}  // namespace
