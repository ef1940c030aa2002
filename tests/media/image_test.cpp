// Decoding every PNG layout and JPEG, refusing bad files (random damage is the fuzz target's),
// and loading images and frame strips through project paths, with handle life and log lines.
#include "media/image.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "media/media.h"
#include "support/media_fixture.h"
#include "support/png_writer.h"

namespace {

using media::Image;
using media::ImageCoverage;
using Bytes = std::vector<unsigned char>;

bool Decode(const Bytes& bytes, Image* image, std::string* error) {
    return media::DecodeImage(bytes.data(), bytes.size(), image, error);
}

Bytes Png(int w, int h, int type, int depth, Bytes rows, std::vector<uint32_t> palette = {},
          Bytes paletteAlpha = {}, std::vector<uint16_t> transparent = {}) {
    return EncodePng({w, h, type, depth, false, rows, palette, paletteAlpha, transparent});
}

constexpr uint32_t W = 0xFFFFFFFF;
constexpr ImageCoverage kOpaque = ImageCoverage::kOpaque, kKeyed = ImageCoverage::kKeyed,
                        kTranslucent = ImageCoverage::kTranslucent;

void ExpectDecoded(const char* what, const Bytes& file, const std::vector<uint32_t>& expected,
                   ImageCoverage coverage) {
    SCOPED_TRACE(what);
    Image image;
    std::string error;
    ASSERT_TRUE(Decode(file, &image, &error)) << error;
    EXPECT_EQ(image.pixels, expected);
    EXPECT_EQ(size_t(image.width) * image.height, expected.size());
    EXPECT_EQ(image.coverage, coverage);
}

TEST(ImageDecode, EveryPngLayoutGivesArgbWithTheColourKeyFolded) {
    // Opaque black is the key; alpha 0 keeps its colour for drawing without transparency.
    ExpectDecoded("rgba", EncodeArgbPng(4, 1, {0xFF102030, 0xFF000000, 0x80FF0000, 0x00FFFFFF}),
                  {0xFF102030, 0, 0x80FF0000, 0x00FFFFFF}, kTranslucent);
    ExpectDecoded("rgb", EncodeArgbPng(2, 1, {0xFF010101, 0xFF000000}, false), {0xFF010101, 0},
                  kKeyed);
    const std::vector<uint32_t> palette = {0x336699, 0xCC8844};
    ExpectDecoded("palette 1-bit", Png(2, 1, kPngPalette, 1, {0x80}, palette, {0, 255}),
                  {0xFFCC8844, 0x00336699}, kKeyed);
    ExpectDecoded("palette 8-bit", Png(2, 1, kPngPalette, 8, {1, 0}, palette, {0, 255}),
                  {0xFFCC8844, 0x00336699}, kKeyed);
    ExpectDecoded("grey 1-bit", Png(8, 1, kPngGrey, 1, {0xA0}), {W, 0, W, 0, 0, 0, 0, 0}, kKeyed);
    ExpectDecoded("grey 16-bit", Png(1, 1, kPngGrey, 16, {0x80, 0x80}), {0xFF808080}, kOpaque);
    ExpectDecoded("grey, alpha", Png(1, 1, kPngGreyAlpha, 8, {0x40, 0x80}), {0x80404040},
                  kTranslucent);
    ExpectDecoded("rgba 16-bit",
                  Png(1, 1, kPngRgba, 16, {0xFF, 0xFF, 0, 0, 0x80, 0x80, 0xFF, 0xFF}), {0xFFFF0080},
                  kOpaque);
    ExpectDecoded("grey tRNS", Png(2, 1, kPngGrey, 8, {0x20, 0x90}, {}, {}, {0x90}),
                  {0xFF202020, 0x00909090}, kKeyed);
    ExpectDecoded("rgb tRNS", Png(2, 1, kPngRgb, 8, {10, 20, 30, 40, 50, 60}, {}, {}, {40, 50, 60}),
                  {0xFF0A141E, 0x0028323C}, kKeyed);
    std::vector<uint32_t> grid(13 * 9);  // every pixel its own and never black
    for (size_t i = 0; i < grid.size(); ++i) grid[i] = 0xFF000040u | uint32_t(i) << 8;
    ExpectDecoded("interlaced", EncodeArgbPng(13, 9, grid, true, true), grid, kOpaque);
}

TEST(ImageDecode, JpegBaselineProgressiveAndGreyComeOutOpaqueAndClose) {
    const std::vector<uint32_t> colour(16 * 8, 0xC08040), grey(16 * 8, 0x99);
    for (auto [file, want] : {std::pair{EncodeJpeg(16, 8, colour), 0xC08040},
                              {EncodeJpeg(16, 8, colour, 95, true), 0xC08040},
                              {EncodeJpeg(16, 8, grey, 95, false, true), 0x999999}}) {
        Image image;
        std::string error;
        ASSERT_TRUE(Decode(file, &image, &error)) << error;
        ASSERT_TRUE(image.width == 16 && image.height == 8);
        for (uint32_t p : image.pixels) {
            ASSERT_EQ(p >> 24, 0xFFu);
            for (int shift : {16, 8, 0})
                ASSERT_NEAR(int(p >> shift & 0xFF), want >> shift & 0xFF, 4) << std::hex << p;
        }
    }
}

void ExpectRefused(const std::string& what, const Bytes& file, const char* reason = "") {
    SCOPED_TRACE(what);
    Image image;
    std::string error;
    EXPECT_FALSE(Decode(file, &image, &error));
    EXPECT_TRUE(image.pixels.empty());
    EXPECT_FALSE(error.empty());
    EXPECT_NE(error.find(reason), std::string::npos) << error;
}

TEST(ImageDecode, BadFilesAreRefusedWithAReason) {
    std::vector<uint32_t> noise(32 * 32);
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = uint32_t(i * 2654435761u) & 0xFFFFFF;
    const Bytes png = EncodeArgbPng(32, 32, noise, false), jpeg = EncodeJpeg(32, 32, noise);
    ExpectRefused("empty", {}, "empty file");
    ExpectRefused("text", {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
    for (size_t keep : {size_t(8), size_t(20), size_t(40), png.size() / 2, png.size() - 20})
        ExpectRefused("png cut at " + std::to_string(keep), Bytes(png.begin(), png.begin() + keep));
    for (size_t keep : {size_t(3), size_t(30), jpeg.size() / 2, jpeg.size() - 2})
        ExpectRefused("jpeg cut at " + std::to_string(keep),
                      Bytes(jpeg.begin(), jpeg.begin() + keep));
    Bytes corrupt = png;
    for (size_t i = 60; i < 90; ++i) corrupt[i] ^= 0x5A;  // inside the image data: bad CRC
    ExpectRefused("png corrupt", corrupt);
    corrupt = jpeg;
    for (size_t i = 2; i < 40; ++i) corrupt[i] = 0xFF;  // headers destroyed
    ExpectRefused("jpeg corrupt", corrupt);
    // Refused from the header alone: 100000 x 100000 x 4 bytes would be 40 GB, and each side
    // of 16000 x 16000 is allowed but not the area.
    ExpectRefused("png 100000 x 100000", EncodePngHeaderOnly(100000, 100000));
    ExpectRefused("png 16000 x 16000", EncodePngHeaderOnly(16000, 16000), "limit");
    Bytes huge = EncodeJpeg(8, 8, std::vector<uint32_t>(64, 0x808080));
    const size_t frame = std::string(huge.begin(), huge.end()).find("\xFF\xC0");  // 65000 x 65000
    huge.at(frame + 5) = huge.at(frame + 7) = 0xFD;
    huge.at(frame + 6) = huge.at(frame + 8) = 0xE8;
    ExpectRefused("jpeg 65000 x 65000", huge, "limit");
}

class ImageLoad : public MediaTest {
protected:
    void SetUp() override {
        MediaTest::SetUp();
        SetAppLogEnabled(1);  // MediaTest::TearDown closes it
    }
    std::string Log() const { return dir_.ReadFile("AppLog.txt"); }
    ScopedCwd cwd_{dir_.path()};
};

TEST_F(ImageLoad, ProjectPathsLoadEitherFormatAndDeletedHandlesStayDead) {
    dir_.WriteFile("Sprite/Sprite3.png",
                   EncodeArgbPng(5, 7, std::vector<uint32_t>(35, 0xFF123456)));
    dir_.WriteFile("photo.png", EncodeJpeg(8, 4, std::vector<uint32_t>(32, 0x808080)));
    int w = 0, h = 0;
    const int sprite = LoadImageFile("Sprite\\Sprite3.png");
    EXPECT_EQ(GetImageSize(sprite, &w, &h), 0);
    EXPECT_TRUE(w == 5 && h == 7) << w << "x" << h;
    EXPECT_EQ(GetImageSize(LoadImageFile("photo.png"), &w, &h), 0);  // JPEG content
    EXPECT_TRUE(w == 8 && h == 4) << w << "x" << h;
    EXPECT_EQ(GetImageSize(12345, nullptr, nullptr), -1);
    EXPECT_EQ(DeleteImage(sprite, 0), 0);
    EXPECT_EQ(DeleteImage(sprite, 0), -1);
    EXPECT_EQ(GetImageSize(sprite, nullptr, nullptr), -1);
    // The slot is reused with new handles; the old one stays dead however often, also
    // once the slot's generations are used up.
    for (int k = 0; k < 4100; ++k) {
        int again = LoadImageFile("Sprite\\Sprite3.png");
        ASSERT_NE(again, sprite);
        ASSERT_EQ(DeleteImage(again, 0), 0);
    }
    EXPECT_EQ(DrawImage(0, 0, sprite, 0), -1);
    EXPECT_EQ(GetImageSize(sprite, nullptr, nullptr), -1);
}

TEST_F(ImageLoad, FramesAreCutLeftToRightThenRowByRow) {
    // 3 x 2 cells of 6 x 5: the cell at column c, row r has grey 10 * (r * 3 + c + 1).
    std::vector<uint32_t> px(18 * 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 18; ++x)
            px[y * 18 + x] = 0xFF000000u | 0x010101u * uint32_t(10 * ((y / 5) * 3 + x / 6 + 1));
    dir_.WriteFile("grid.png", EncodeArgbPng(18, 10, px));
    int handles[5];
    ASSERT_EQ(LoadImageFrames("grid.png", 5, 3, 2, 6, 5, handles), 0);
    for (int i = 0; i < 5; ++i) {
        int w = 0, h = 0;
        ASSERT_EQ(GetImageSize(handles[i], &w, &h), 0);
        EXPECT_TRUE(w == 6 && h == 5) << w << "x" << h;
        ASSERT_EQ(DrawImage(10 * i, 0, handles[i], 0), 0);
        const uint32_t grey = 0x010101u * uint32_t(10 * (i + 1));
        EXPECT_EQ(Pixel(10 * i, 0), grey) << i;
        EXPECT_EQ(Pixel(10 * i + 5, 4), grey) << i;
        EXPECT_EQ(Pixel(10 * i + 6, 0), 0u) << i;
    }
}

TEST_F(ImageLoad, BadFilesAndFrameLayoutsFailWithALogLineNamingTheFile) {
    dir_.WriteFile("strip.png", EncodeArgbPng(24, 5, std::vector<uint32_t>(24 * 5, 0xFF808080)));
    int handles[600];
    EXPECT_EQ(LoadImageFrames("strip.png", 5, 5, 1, 6, 5, handles), -1);  // wider than the file
    EXPECT_EQ(LoadImageFrames("strip.png", 2, 1, 2, 6, 5, handles), -1);  // taller
    EXPECT_EQ(LoadImageFrames("strip.png", 513, 513, 1, 1, 1, handles), -1);
    EXPECT_EQ(LoadImageFrames("strip.png", 0, 1, 1, 6, 5, handles), -1);
    EXPECT_EQ(LoadImageFrames("strip.png", 3, 1, 2, 6, 5, handles), -1);  // 3 frames, 2 cells
    EXPECT_EQ(LoadImageFrames("strip.png", 1, 1, 1, 0, 5, handles), -1);
    EXPECT_EQ(LoadImageFrames("strip.png", 1, 1, 1, 6, 5, nullptr), -1);
    EXPECT_EQ(LoadImageFrames("missing.png", 1, 1, 1, 6, 5, handles), -1);
    const std::string log = Log();
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 8) << log;
    size_t named = 0;  // a line for each failure, naming its file
    for (size_t at = 0; (at = log.find("strip.png", at)) != std::string::npos; ++at) ++named;
    EXPECT_EQ(named, 7u) << log;
    EXPECT_NE(log.find("missing.png"), std::string::npos);
    // The limit itself is fine.
    dir_.WriteFile("wide.png", EncodeArgbPng(512, 1, std::vector<uint32_t>(512, 0xFFFFFFFF)));
    EXPECT_EQ(LoadImageFrames("wide.png", 512, 512, 1, 1, 1, handles), 0);
    // Every way a decoder can fail is in the decoding tests; here, that each is logged.
    dir_.WriteFile("empty.png", Bytes());
    dir_.WriteFile("text.png", Bytes{'h', 'e', 'l', 'l', 'o'});
    dir_.WriteFile("huge.png", EncodePngHeaderOnly(100000, 100000));
    for (const char* name : {"empty.png", "text.png", "huge.png", "absent.png"}) {
        EXPECT_EQ(LoadImageFile(name), -1) << name;
        EXPECT_NE(Log().find(name), std::string::npos) << name;
    }
    EXPECT_EQ(LoadImageFile(nullptr), -1);
}

}  // namespace
