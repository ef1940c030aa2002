// Decoding every PNG layout and JPEG into prepared pictures, and refusing bad files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/image.h"
#include "support/png_writer.h"

namespace {

using media::Image;
using media::ImageCoverage;

Image Decode(const std::vector<unsigned char>& bytes) {
    Image image;
    std::string error;
    EXPECT_TRUE(media::DecodeImage(bytes.data(), bytes.size(), &image, &error)) << error;
    return image;
}

std::string DecodeError(const std::vector<unsigned char>& bytes) {
    Image image;
    std::string error;
    EXPECT_FALSE(media::DecodeImage(bytes.data(), bytes.size(), &image, &error));
    EXPECT_TRUE(image.pixels.empty());
    return error;
}

PngLayout Layout(int w, int h, int type, int depth, std::vector<unsigned char> rows) {
    PngLayout s;
    s.width = w;
    s.height = h;
    s.colourType = type;
    s.bitDepth = depth;
    s.rows = std::move(rows);
    return s;
}

// Big-endian CRC-32 of the PNG chunk type and data.
uint32_t Crc32(const unsigned char* p, size_t n) {
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return c ^ 0xFFFFFFFFu;
}

void PutBe32(std::vector<unsigned char>* out, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out->push_back(static_cast<unsigned char>(v >> s));
}

void PutChunk(std::vector<unsigned char>* out, const char* type,
              const std::vector<unsigned char>& data) {
    PutBe32(out, static_cast<uint32_t>(data.size()));
    std::vector<unsigned char> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out->insert(out->end(), body.begin(), body.end());
    PutBe32(out, Crc32(body.data(), body.size()));
}

// A PNG whose header claims width x height with a few bytes of image data.
std::vector<unsigned char> PngWithHeader(uint32_t width, uint32_t height) {
    std::vector<unsigned char> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> ihdr;
    PutBe32(&ihdr, width);
    PutBe32(&ihdr, height);
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
    PutChunk(&out, "IHDR", ihdr);
    PutChunk(&out, "IDAT", {0x78, 0x9C, 0x63, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01});
    PutChunk(&out, "IEND", {});
    return out;
}

std::vector<uint32_t> Gradient(int w, int h) {
    std::vector<uint32_t> px;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            px.push_back(0xFF000000u | uint32_t(x * 255 / (w - 1)) << 16 |
                         uint32_t(y * 255 / (h - 1)) << 8 | 0x40);
    return px;
}

TEST(ImageDecode, RgbaKeepsColoursAndFoldsTheColourKeyIntoAlpha) {
    const std::vector<uint32_t> px = {0xFF102030, 0xFF000000, 0x80FF0000, 0x00FFFFFF};
    Image image = Decode(EncodeArgbPng(2, 2, px));
    ASSERT_EQ(image.width, 2);
    ASSERT_EQ(image.height, 2);
    EXPECT_EQ(image.pixels[0], 0xFF102030u);
    EXPECT_EQ(image.pixels[1], 0x00000000u);  // opaque black is the colour key
    EXPECT_EQ(image.pixels[2], 0x80FF0000u);  // partial alpha kept
    EXPECT_EQ(image.pixels[3], 0x00FFFFFFu);  // alpha 0: colour kept, not drawn keyed
    EXPECT_EQ(image.coverage, ImageCoverage::kTranslucent);
}

TEST(ImageDecode, CoverageClassFollowsThePixels) {
    EXPECT_EQ(Decode(EncodeArgbPng(2, 1, {0xFF010101, 0xFFFFFFFF}, false)).coverage,
              ImageCoverage::kOpaque);
    EXPECT_EQ(Decode(EncodeArgbPng(2, 1, {0xFF000000, 0xFFFFFFFF}, false)).coverage,
              ImageCoverage::kKeyed);
    EXPECT_EQ(Decode(EncodeArgbPng(2, 1, {0x00123456, 0xFFFFFFFF})).coverage,
              ImageCoverage::kKeyed);
}

TEST(ImageDecode, RgbWithoutAlphaIsOpaque) {
    Image image = Decode(EncodeArgbPng(3, 1, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF}, false));
    EXPECT_EQ(image.pixels, (std::vector<uint32_t>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF}));
}

TEST(ImageDecode, PaletteOfEveryDepthWithTransparency) {
    for (int depth : {1, 2, 4, 8}) {
        SCOPED_TRACE(depth);
        // Two pixels: index 1 then index 0, packed from the high bits.
        const unsigned char packed = static_cast<unsigned char>(1u << (8 - depth));
        PngLayout s = Layout(
            2, 1, kPngPalette, depth,
            depth == 8 ? std::vector<unsigned char>{1, 0} : std::vector<unsigned char>{packed});
        s.palette = {0x336699, 0xCC8844};
        s.paletteAlpha = {0, 255};
        Image image = Decode(EncodePng(s));
        ASSERT_EQ(image.pixels.size(), 2u);
        EXPECT_EQ(image.pixels[0], 0xFFCC8844u);
        EXPECT_EQ(image.pixels[1], 0x00336699u);
    }
}

TEST(ImageDecode, GreyOfEveryDepth) {
    Image g1 = Decode(EncodePng(Layout(8, 1, kPngGrey, 1, {0xA0})));
    EXPECT_EQ(g1.pixels[0], 0xFFFFFFFFu);
    EXPECT_EQ(g1.pixels[1], 0x00000000u);  // black: the colour key
    EXPECT_EQ(g1.pixels[2], 0xFFFFFFFFu);
    Image g4 = Decode(EncodePng(Layout(2, 1, kPngGrey, 4, {0x5F})));
    EXPECT_EQ(g4.pixels[0], 0xFF555555u);
    EXPECT_EQ(g4.pixels[1], 0xFFFFFFFFu);
    Image g8 = Decode(EncodePng(Layout(1, 1, kPngGrey, 8, {0x7B})));
    EXPECT_EQ(g8.pixels[0], 0xFF7B7B7Bu);
    Image g16 = Decode(EncodePng(Layout(1, 1, kPngGrey, 16, {0x80, 0x80})));
    EXPECT_EQ(g16.pixels[0], 0xFF808080u);
}

TEST(ImageDecode, GreyAlphaAndSixteenBitAlpha) {
    Image ga = Decode(EncodePng(Layout(1, 1, kPngGreyAlpha, 8, {0x40, 0x80})));
    EXPECT_EQ(ga.pixels[0], 0x80404040u);
    Image rgba16 = Decode(
        EncodePng(Layout(1, 1, kPngRgba, 16, {0xFF, 0xFF, 0x00, 0x00, 0x80, 0x80, 0xFF, 0xFF})));
    EXPECT_EQ(rgba16.pixels[0], 0xFFFF0080u);
    Image rgb16 = Decode(EncodePng(Layout(1, 1, kPngRgb, 16, {0x12, 0x00, 0xFF, 0xFF, 0, 1})));
    EXPECT_EQ(rgb16.pixels[0], 0xFF12FF00u);
}

TEST(ImageDecode, TransparentColourChunkOfGreyAndRgb) {
    PngLayout grey = Layout(2, 1, kPngGrey, 8, {0x20, 0x90});
    grey.transparentColour = {0x90};
    Image g = Decode(EncodePng(grey));
    EXPECT_EQ(g.pixels[0], 0xFF202020u);
    EXPECT_EQ(g.pixels[1] >> 24, 0u);

    PngLayout rgb = Layout(2, 1, kPngRgb, 8, {10, 20, 30, 40, 50, 60});
    rgb.transparentColour = {40, 50, 60};
    Image c = Decode(EncodePng(rgb));
    EXPECT_EQ(c.pixels[0], 0xFF0A141Eu);
    EXPECT_EQ(c.pixels[1] >> 24, 0u);
    EXPECT_EQ(c.coverage, ImageCoverage::kKeyed);
}

TEST(ImageDecode, InterlacedEqualsPlain) {
    const int w = 13, h = 9;
    const std::vector<uint32_t> px = Gradient(w, h);
    PngLayout s = Layout(w, h, kPngRgba, 8, {});
    for (uint32_t p : px)
        s.rows.insert(s.rows.end(),
                      {static_cast<unsigned char>(p >> 16), static_cast<unsigned char>(p >> 8),
                       static_cast<unsigned char>(p), 0xFF});
    Image plain = Decode(EncodePng(s));
    s.interlaced = true;
    Image interlaced = Decode(EncodePng(s));
    EXPECT_EQ(plain.pixels, px);
    EXPECT_EQ(interlaced.pixels, px);
}

TEST(ImageDecode, JpegBaselineProgressiveAndGrey) {
    const int w = 16, h = 8;
    std::vector<uint32_t> px(w * h, 0xC08040);
    for (bool progressive : {false, true}) {
        Image image = Decode(EncodeJpeg(w, h, px, 95, progressive));
        ASSERT_EQ(image.width, w);
        ASSERT_EQ(image.height, h);
        for (uint32_t p : image.pixels) {
            EXPECT_EQ(p >> 24, 0xFFu);
            EXPECT_NEAR(int((p >> 16) & 0xFF), 0xC0, 4);
            EXPECT_NEAR(int((p >> 8) & 0xFF), 0x80, 4);
            EXPECT_NEAR(int(p & 0xFF), 0x40, 4);
        }
    }
    Image grey = Decode(EncodeJpeg(w, h, std::vector<uint32_t>(w * h, 0x99), 95, false, true));
    EXPECT_NEAR(int(grey.pixels[5] & 0xFF), 0x99, 3);
    EXPECT_EQ((grey.pixels[5] >> 16) & 0xFF, grey.pixels[5] & 0xFF);
}

TEST(ImageDecode, FormatIsTakenFromTheSignature) {
    const std::vector<unsigned char> png = EncodeArgbPng(1, 1, {0xFF112233});
    const std::vector<unsigned char> jpeg = EncodeJpeg(8, 8, std::vector<uint32_t>(64, 0x808080));
    EXPECT_EQ(media::DetectImageFormat(png.data(), png.size()), media::ImageFormat::kPng);
    EXPECT_EQ(media::DetectImageFormat(jpeg.data(), jpeg.size()), media::ImageFormat::kJpeg);
    const unsigned char bmp[] = {'B', 'M', 0, 0, 0, 0};
    EXPECT_EQ(media::DetectImageFormat(bmp, sizeof bmp), media::ImageFormat::kUnknown);
}

TEST(ImageDecode, TruncatedCorruptAndEmptyPngsFail) {
    const std::vector<unsigned char> good = EncodePng([] {
        PngLayout s = Layout(32, 32, kPngRgb, 8, {});
        for (int i = 0; i < 32 * 32 * 3; ++i) s.rows.push_back(static_cast<unsigned char>(i * 7));
        return s;
    }());
    for (size_t keep : {size_t(8), size_t(20), size_t(40), good.size() / 2, good.size() - 20}) {
        SCOPED_TRACE(keep);
        DecodeError(std::vector<unsigned char>(good.begin(), good.begin() + keep));
    }
    std::vector<unsigned char> corrupt = good;
    for (size_t i = 60; i < 90; ++i) corrupt[i] ^= 0x5A;  // inside the image data: bad CRC
    DecodeError(corrupt);
    EXPECT_EQ(DecodeError({}), "empty file");
    DecodeError({'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
}

TEST(ImageDecode, TruncatedAndCorruptJpegsFail) {
    std::vector<uint32_t> px(64 * 64);
    for (size_t i = 0; i < px.size(); ++i) px[i] = uint32_t(i * 2654435761u) & 0xFFFFFF;
    const std::vector<unsigned char> good = EncodeJpeg(64, 64, px);
    Decode(good);
    for (size_t keep : {size_t(3), size_t(30), good.size() / 2, good.size() - 2}) {
        SCOPED_TRACE(keep);
        DecodeError(std::vector<unsigned char>(good.begin(), good.begin() + keep));
    }
    std::vector<unsigned char> corrupt = good;
    for (size_t i = 2; i < 40; ++i) corrupt[i] = 0xFF;  // headers destroyed
    DecodeError(corrupt);
}

TEST(ImageDecode, HugeHeadersAreRefusedBeforeAllocating) {
    // 100000 x 100000 x 4 bytes would be 40 GB: refused from the header alone.
    EXPECT_FALSE(DecodeError(PngWithHeader(100000, 100000)).empty());
    // Each side allowed, the area not.
    EXPECT_NE(DecodeError(PngWithHeader(16000, 16000)).find("limit"), std::string::npos);

    // A JPEG whose frame header claims 65000 x 65000.
    std::vector<unsigned char> jpeg = EncodeJpeg(8, 8, std::vector<uint32_t>(64, 0x808080));
    for (size_t i = 0; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = 0xFD;
            jpeg[i + 6] = 0xE8;
            jpeg[i + 7] = 0xFD;
            jpeg[i + 8] = 0xE8;
            break;
        }
    }
    EXPECT_NE(DecodeError(jpeg).find("limit"), std::string::npos);
}

TEST(ImageDecode, DamagedFilesNeverCrash) {
    // Every PNG layout and both JPEG kinds, with bytes overwritten, cut or repeated.
    std::vector<std::vector<unsigned char>> files;
    for (bool interlaced : {false, true}) {
        PngLayout s = Layout(9, 7, kPngRgba, 8, {});
        for (uint32_t p : Gradient(9, 7))
            s.rows.insert(s.rows.end(),
                          {static_cast<unsigned char>(p >> 16), static_cast<unsigned char>(p >> 8),
                           static_cast<unsigned char>(p), 0x80});
        s.interlaced = interlaced;
        files.push_back(EncodePng(s));
    }
    PngLayout palette =
        Layout(8, 2, kPngPalette, 4, {0x01, 0x23, 0x45, 0x67, 0x76, 0x54, 0x32, 0x10});
    palette.palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF,
                       0xFFFF00, 0x00FFFF, 0xFF00FF, 0xFFFFFF};
    palette.paletteAlpha = {0, 128};
    files.push_back(EncodePng(palette));
    files.push_back(EncodeJpeg(24, 16, Gradient(24, 16)));
    files.push_back(EncodeJpeg(24, 16, Gradient(24, 16), 80, true));
    uint32_t seed = 7;
    auto next = [&](uint32_t n) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % n;
    };
    int decoded = 0;
    for (const std::vector<unsigned char>& good : files) {
        for (int round = 0; round < 400; ++round) {
            std::vector<unsigned char> bad = good;
            switch (next(3)) {
                case 0:
                    for (uint32_t k = 0, n = 1 + next(8); k < n; ++k)
                        bad[next(uint32_t(bad.size()))] = static_cast<unsigned char>(next(256));
                    break;
                case 1:
                    bad.resize(next(uint32_t(bad.size())));
                    break;
                case 2: {
                    const size_t at = next(uint32_t(bad.size()));
                    bad.insert(bad.begin() + at, good.begin(), good.begin() + next(64));
                    break;
                }
            }
            Image image;
            std::string error;
            if (media::DecodeImage(bad.data(), bad.size(), &image, &error)) {
                ++decoded;
                EXPECT_EQ(image.pixels.size(), size_t(image.width) * image.height);
            } else {
                EXPECT_TRUE(image.pixels.empty());
                EXPECT_FALSE(error.empty());
            }
        }
    }
    EXPECT_GT(decoded, 0);  // damage in ancillary places still loads
}

TEST(ImageDecode, CutCopiesTheRectangleAndClassifiesIt) {
    Image sheet = Decode(EncodeArgbPng(4, 2,
                                       {0xFF111111, 0xFF222222, 0xFF000000, 0xFF444444, 0xFF555555,
                                        0xFF666666, 0xFF777777, 0xFF888888}));
    Image left = media::CutImage(sheet, 0, 0, 2, 2);
    EXPECT_EQ(left.pixels, (std::vector<uint32_t>{0xFF111111, 0xFF222222, 0xFF555555, 0xFF666666}));
    EXPECT_EQ(left.coverage, ImageCoverage::kOpaque);
    Image right = media::CutImage(sheet, 2, 0, 2, 2);
    EXPECT_EQ(right.coverage, ImageCoverage::kKeyed);
}

}  // namespace
