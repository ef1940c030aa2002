// Decoding every PNG layout and JPEG into prepared pictures, and refusing bad files (randomly
// damaged files are the image fuzz target's).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/image.h"
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

// Never black, blue 0x40, alpha 'a'.
std::vector<uint32_t> Gradient(int w, int h, uint32_t a = 0xFF) {
    std::vector<uint32_t> px;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            px.push_back(a << 24 | uint32_t(x * 255 / (w - 1)) << 16 |
                         uint32_t(y * 255 / (h - 1)) << 8 | 0x40);
    return px;
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
    ExpectDecoded("interlaced", EncodeArgbPng(13, 9, Gradient(13, 9), true, true), Gradient(13, 9),
                  kOpaque);
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

}  // namespace
