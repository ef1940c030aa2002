// Pixel-exact drawing: where every source pixel lands, what colour it takes (key, alpha,
// blending, brightness), and the fast loops against the portable ones.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "media/draw_list.h"
#include "media/inspect.h"
#include "media/media.h"
#include "media/raster_avx2.h"
#include "support/media_fixture.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr uint32_t kWhite = 0xFFFFFF, kBlue = 0x0000FF;

struct Src {
    int x, y;
};

class Raster : public MediaTest {
protected:
    void TearDown() override {
        media::SetAvx2Allowed(true);
        media::SetDrawingMode(media::DrawingMode::kListed);
        MediaTest::TearDown();
    }
    // The draw succeeded, everything lit lies in 'box', and the back buffer at (box.x0 + x,
    // box.y0 + y) shows the numbered picture's pixel source(x, y). Clears the screen for the
    // next draw, pass or fail.
    void ExpectDrawn(const char* what, int result, Box box,
                     const std::function<Src(int, int)>& source) {
        SCOPED_TRACE(what);
        EXPECT_EQ(result, 0);
        EXPECT_EQ(LitBox(), box);
        const std::vector<uint32_t> shown(media::BackBuffer(), media::BackBuffer() + 640 * 480);
        ClearScreen();
        for (int y = 0; y < box.y1 - box.y0; ++y) {
            for (int x = 0; x < box.x1 - box.x0; ++x) {
                const Src s = source(x, y);
                ASSERT_EQ(shown[(box.y0 + y) * 640 + box.x0 + x] & kWhite,
                          NumberedPixel(s.x, s.y) & kWhite)
                    << "at " << x << "," << y;
            }
        }
    }
};

// The draw, the box it lights, and the source pixel (as expressions of x and y) at each of
// the box's pixels.
#define DRAWN(draw, x0, y0, x1, y1, sourceX, sourceY)                \
    ExpectDrawn(#draw, draw, Box{x0, y0, x1, y1},                    \
                []([[maybe_unused]] int x, [[maybe_unused]] int y) { \
                    return Src{sourceX, sourceY};                    \
                })

TEST_F(Raster, EverySourcePixelLandsWhereTheDrawPutsIt) {
    const int img = Numbered(4, 2), odd = Numbered(3, 3), big = Numbered(16, 16);
    DRAWN(DrawImage(10, 20, img, 1), 10, 20, 14, 22, x, y);
    DRAWN(DrawImage(-2, -1, img, 0), 0, 0, 2, 1, x + 2, 1);
    DRAWN(DrawImage(638, 479, img, 0), 638, 479, 640, 480, x, 0);
    DRAWN(DrawImageMirrored(10, 10, img, 0), 10, 10, 14, 12, 3 - x, y);
    DRAWN(DrawImageMirrored(-1, 0, img, 0), 0, 0, 3, 2, 2 - x, y);
    // Centred on the position by integer halves: an odd side's extra pixel lies right and below.
    DRAWN(DrawImageRotated(10, 10, 1, 0, odd, 0, 0), 9, 9, 12, 12, x, y);
    DRAWN(DrawImageRotated(10, 10, 1, 0, img, 0, 0), 8, 9, 12, 11, x, y);
    DRAWN(DrawImageRotated(10, 10, 1, 2 * kPi, img, 0, 1), 8, 9, 12, 11, 3 - x, y);
    DRAWN(DrawImageRotated(10, 10, 1, kPi / 2, img, 0, 0), 9, 8, 11, 12, y, 1 - x);
    DRAWN(DrawImageRotated(10, 10, 1, kPi, img, 0, 1), 8, 9, 12, 11, x, 1 - y);
    DRAWN(DrawImageRotated(10, 10, 2, 0, img, 0, 0), 6, 8, 14, 12, x / 2, y / 2);
    DRAWN(DrawImagePart(20, 30, 4, 5, 3, 2, big, 0, 0), 20, 30, 23, 32, 4 + x, 5 + y);
    // Only what exists of the source rectangle is drawn, and only inside the destination.
    DRAWN(DrawImagePart(50, 50, -2, -1, 10, 10, img, 0, 0), 52, 51, 56, 53, x, y);
    DRAWN(DrawImagePart(50, 50, 2, 1, 10, 10, img, 0, 1), 58, 50, 60, 51, 3 - x, 1);
}

TEST_F(Raster, OffScreenEmptyAndBadDrawsTouchNothing) {
    const int img = Numbered(4, 4);
    for (int bad : {-1, -2, 0, 12345, img + 1}) {
        EXPECT_EQ(DrawImage(0, 0, bad, 0), -1);
        EXPECT_EQ(DrawImageMirrored(0, 0, bad, 0), -1);
        EXPECT_EQ(DrawImageRotated(10, 10, 1.0, 0.5, bad, 0, 0), -1);
        EXPECT_EQ(DrawImagePart(0, 0, 0, 0, 2, 2, bad, 0, 0), -1);
    }
    EXPECT_EQ(DrawImage(-100, 5, img, 0), 0);
    EXPECT_EQ(DrawImage(5, 1000, img, 0), 0);
    EXPECT_EQ(DrawImage(INT32_MAX, INT32_MIN, img, 0), 0);
    EXPECT_EQ(DrawImageRotated(INT32_MIN, INT32_MAX, 3.0, 0.3, img, 1, 0), 0);
    EXPECT_EQ(DrawImagePart(0, 0, 0, 0, 0, 5, img, 0, 0), 0);
    EXPECT_EQ(DrawImagePart(0, 0, 0, 0, -3, 5, img, 0, 0), 0);
    DrawRect(10, 10, 10, 20, MakeColor(255, 255, 255), 1);
    EXPECT_EQ(LitPixels(), 0);
}

TEST_F(Raster, RotatedDrawsCoverTheirSquareAndSurviveAnyScale) {
    const int img = Load(32, 32, std::vector<uint32_t>(32 * 32, 0xFFFFFFFF));
    const double r = 1.5 * 16 * std::sqrt(2.0) + 1;
    for (double a = 0.05; a < 7; a += 0.37) {
        ClearScreen();
        DrawImageRotated(100, 100, 1.5, a, img, 1, 0);
        EXPECT_GE(LitBox().x0, 100 - r);
        EXPECT_LE(LitBox().y1, 100 + r);
        EXPECT_NEAR(LitPixels(), 48 * 48, 48 * 4 * 1.5) << a;  // the area, within a rim
    }
    for (double scale : {0.0, -1.0, 1e-9, 1e9, 1e300, double(NAN), double(INFINITY)}) {
        EXPECT_EQ(DrawImageRotated(0, 0, scale, 1.0, img, 1, 1), 0);
        EXPECT_EQ(DrawImageRotated(639, 479, scale, NAN, img, 1, 0), 0);
    }
}

enum How { kImage, kRotated, kRect };

struct ColourCase {
    const char* what;
    uint32_t src;  // the picture's one ARGB pixel, or the rectangle's colour
    bool alphaFile;
    uint32_t under;
    int blendMode, blendParam, r, g, b, transparent;
    uint32_t expected;
    How how = kImage;
};

TEST_F(Raster, ColourKeyAlphaBlendAndBrightness) {
    const ColourCase cases[] = {
        {"pure black is the colour key", 0xFF000000, false, kWhite, 0, 0, 255, 255, 255, 1, kWhite},
        {"red 1 is not the key", 0xFF010000, false, kWhite, 0, 0, 255, 255, 255, 1, 0x010000},
        {"no transparency draws black", 0xFF000000, false, kWhite, 0, 0, 255, 255, 255, 0, 0},
        {"alpha 0 is left out", 0x00FF0000, true, kWhite, 0, 0, 255, 255, 255, 1, kWhite},
        {"alpha 128 blends", 0x80FFFFFF, true, 0, 0, 0, 255, 255, 255, 1, 0x808080},
        {"no transparency ignores alpha", 0x00FF0000, true, 0, 0, 0, 255, 255, 255, 0, 0xFF0000},
        {"blend 128 over blue", 0xFFC86400, true, kBlue, 1, 128, 255, 255, 255, 1, 0x64327F},
        {"blending keeps the key out", 0xFF000000, true, kBlue, 1, 128, 255, 255, 255, 1, kBlue},
        {"blend 300 is solid", 0xFFFFFFFF, true, 0, 1, 300, 255, 255, 255, 1, kWhite},
        {"blend -5 is nothing", 0xFFFFFFFF, true, 0, 1, -5, 255, 255, 255, 1, 0},
        {"mode 0 ignores the parameter", 0xFFFFFFFF, true, 0, 0, 0, 255, 255, 255, 1, kWhite},
        {"alpha 128 at blend 128", 0x80FFFFFF, true, 0, 1, 128, 255, 255, 255, 1, 0x404040},
        {"brightness clamped", 0xFFFFFFFF, true, 0, 0, 0, 300, 128, -1, 1, 0xFF8000},
        {"clamped, rotated", 0xFFFFFFFF, true, 0, 0, 0, 300, 128, -1, 1, 0xFF8000, kRotated},
        {"clamped, rectangle", 0xFFFFFF, true, 0, 0, 0, 300, 128, -1, 1, 0xFF8000, kRect},
        {"brightness 128 of 100", 0xFF646464, true, 0, 0, 0, 128, 128, 128, 1, 0x323232},
        {"brightness 0 draws black, not the key", 0xFF010101, true, kWhite, 0, 0, 0, 0, 0, 1, 0},
        {"rectangle, blend 128", 0xFFFFFF, true, 0, 1, 128, 255, 255, 255, 1, 0x808080, kRect},
    };
    auto colour = [](uint32_t c) { return MakeColor(c >> 16 & 0xFF, c >> 8 & 0xFF, c & 0xFF); };
    for (const ColourCase& c : cases) {
        SCOPED_TRACE(c.what);
        SetBlendMode(0, 0);
        SetDrawBrightness(255, 255, 255);
        DrawRect(0, 0, 10, 10, colour(c.under), 1);
        const int img = Load(1, 1, {c.src}, c.alphaFile);
        SetBlendMode(c.blendMode, c.blendParam);
        SetDrawBrightness(c.r, c.g, c.b);
        if (c.how == kImage) DrawImage(5, 5, img, c.transparent);
        if (c.how == kRotated) DrawImageRotated(5, 5, 2.0, 0.5, img, c.transparent, 0);
        if (c.how == kRect) DrawRect(5, 5, 6, 6, colour(c.src), 1);
        EXPECT_EQ(Pixel(5, 5), c.expected);
    }
}

TEST_F(Raster, RectanglesExcludeTheirRightAndBottomEdgesInScreenColours) {
    const int white = MakeColor(255, 255, 255);
    DrawRect(5, 7, 2, 3, white, 1);  // corners in either order
    EXPECT_EQ(LitBox(), (Box{2, 3, 5, 7}));
    EXPECT_EQ(LitPixels(), 12);
    ClearScreen();
    DrawRect(0, 0, 5, 4, white, 0);  // the outline only
    EXPECT_EQ(LitPixels(), 5 * 2 + 2 * 2);
    EXPECT_EQ(Pixel(2, 1), 0u);
    DrawRect(-100, -100, 1000, 1000, MakeColor(0, 0, 0), 1);
    EXPECT_EQ(LitPixels(), 0);
    // Colours are 5-6-5 on the default 16-bit screen, widened back for the back buffer.
    ASSERT_EQ(GetScreenColorDepth(), 16);
    EXPECT_EQ(MakeColor(255, 0, 0), 0xF800);
    DrawRect(0, 0, 1, 1, MakeColor(128, 128, 192), 1);
    EXPECT_EQ(Pixel(0, 0), 0x8482C6u);
}

TEST_F(Raster, BackBufferWritesAsPngThatLoadsBackTheSame) {
    DrawRect(0, 0, 640, 480, MakeColor(0, 0, 255), 1);
    DrawRect(1, 2, 3, 4, MakeColor(255, 0, 0), 1);
    ASSERT_TRUE(media::WriteBackBufferPng(dir_ / "shot.png"));
    EXPECT_FALSE(media::WriteBackBufferPng(dir_ / "no/such/folder/shot.png"));
    ClearScreen();
    ASSERT_EQ(DrawImage(0, 0, LoadImageFile((dir_ / "shot.png").c_str()), 0), 0);
    EXPECT_EQ(LitBox(), (Box{0, 0, 640, 480}));
    EXPECT_EQ(Pixel(2, 3), 0xFF0000u);
    EXPECT_EQ(Pixel(3, 3), kBlue);
}

// The eight-pixel loops, drawing listed draws cut into bands on two threads, and the
// portable loops, drawing each at once, must draw identical pictures.
TEST_F(Raster, FastAndPortableLoopsDrawTheSamePixels) {
    uint32_t seed = 99;
    auto Next = [&](int n) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 8) % uint32_t(n));
    };
    // Opaque, keyed, translucent and keyed with runs (a disc) pictures of odd and even sizes.
    std::vector<int> images;
    for (int kind = 0; kind < 4; ++kind) {
        for (auto [w, h] : {std::pair{1, 1}, {7, 5}, {16, 16}, {33, 20}, {64, 64}, {9, 40}}) {
            std::vector<uint32_t> px(size_t(w) * h);
            for (uint32_t& p : px) {
                const int i = int(&p - px.data()), dx = 2 * (i % w) + 1 - w,
                          dy = 2 * (i / w) + 1 - h;
                const bool key = kind == 3 ? dx * dx * h * h + dy * dy * w * w > w * w * h * h
                                           : kind >= 1 && Next(4) == 0;
                const uint32_t rgb = key ? 0 : uint32_t(Next(1 << 24)) | 1;
                p = uint32_t(kind == 2 ? Next(256) : 0xFF) << 24 | rgb;
            }
            images.push_back(Load(w, h, px));
        }
    }
    for (int round = 0; round < 300; ++round) {
        const int img = images[Next(int(images.size()))];
        const int x = Next(700) - 30, y = Next(540) - 30, kind = Next(6);
        const double scale = 0.1 + Next(400) / 100.0, angle = (Next(2000) - 1000) / 100.0;
        const int transparent = Next(2), mirrored = Next(2);
        const int blend = Next(3) == 0 ? Next(300) - 20 : 255;
        const int bright = Next(4) == 0 ? Next(256) : 255;
        const int partX = Next(8) - 2, partY = Next(8) - 2, w = Next(40), h = Next(40);
        std::vector<uint32_t> results[2];
        for (int path = 0; path < 2; ++path) {
            media::SetAvx2Allowed(path == 0);
            media::SetDrawingMode(path == 0 ? media::DrawingMode::kAlwaysSplit
                                            : media::DrawingMode::kImmediate);
            // The same busy background for both, so that blending shows.
            uint32_t* back = const_cast<uint32_t*>(media::BackBuffer());
            for (int i = 0; i < 640 * 480; ++i) back[i] = i % 7 ? 0 : (i * 2654435761u) & 0xFFFFFF;
            SetBlendMode(blend < 255 ? 1 : 0, blend);
            SetDrawBrightness(255, bright, 255);
            if (kind == 0) DrawImage(x, y, img, transparent);
            if (kind == 1) DrawImageMirrored(x, y, img, transparent);
            if (kind == 2) DrawImageRotated(x, y, scale, angle, img, transparent, mirrored);
            if (kind == 3) DrawImagePart(x, y, partX, partY, w, h, img, transparent, mirrored);
            if (kind == 4) DrawRect(x, y, x + 2 * w, y + 2 * h, MakeColor(200, 100, 50), 1);
            if (kind == 5) {  // a solid fill, then a copy over some of it
                DrawRect(x, y + partY + 2, x + 3 * w, y + 8 + h / 8, MakeColor(9, 9, 9), 1);
                DrawImage(x + partX * w / 2, y, img, 0);
            }
            results[path].assign(media::BackBuffer(), media::BackBuffer() + 640 * 480);
        }
        size_t first = 0;
        while (first < results[0].size() && results[0][first] == results[1][first]) ++first;
        ASSERT_EQ(first, results[0].size()) << "round " << round << ", draw " << kind << ", at ("
                                            << first % 640 << ", " << first / 640 << ")";
    }
}

}  // namespace
