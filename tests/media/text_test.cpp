// Fonts and text: face matching, the 40-font limit, widths that agree with drawing, anti-aliased
// and monochrome rendering, colour, blending, brightness (the frame-rate text: golden menus).
#include <gtest/gtest.h>

#include <cstring>

#include "media/core.h"
#include "media/inspect.h"
#include "media/media.h"
#include "support/media_fixture.h"

namespace {

// "ＭＳ ゴシック", "ＭＳ 明朝" and "あいう漢字" in cp932.
const char kGothic[] = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";
const char kMincho[] = "\x82\x6c\x82\x72\x20\x96\xbe\x92\xa9";
const char kJapanese[] = "\x82\xa0\x82\xa2\x82\xa4\x8a\xbf\x8e\x9a";
const int kWhite = 0xFFFF;  // MakeColor(255, 255, 255) on the 16-bit screen

class Text : public MediaTest {
protected:
    static int Font(int size = 16, int type = 2, const char* face = kGothic) {
        return CreateFontToHandle(face, size, 1, type, -1, -1, -1, -1);
    }
    static int Width(const char* text, int font, int length = -1) {
        return GetTextWidthWithFont(text, length < 0 ? int(std::strlen(text)) : length, font, 0);
    }
    // Pixels of exactly 'colour' in the top-left w x h.
    static int Count(uint32_t colour, int w = 640, int h = 480) {
        int n = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) n += Pixel(x, y) == colour;
        return n;
    }
};

TEST_F(Text, FacesMatchTheirJapaneseCounterpartsAndFortyAreTheLimit) {
    auto picture = [&](const char* face) {
        ClearScreen();
        DrawTextWithFont(0, 0, kJapanese, kWhite, Font(25, 0, face), 0, 0);
        return std::vector<uint32_t>(media::BackBuffer(), media::BackBuffer() + 640 * 30);
    };
    const std::vector<uint32_t> gothic = picture(kGothic);
    EXPECT_GT(LitPixels(), 100);
    EXPECT_NE(picture(kMincho), gothic);
    EXPECT_EQ(picture("No Such Face 123"), gothic);  // the gothic face stands in
    std::vector<int> handles;                        // three fonts were made above
    for (int i = 3; i < 40; ++i) handles.push_back(Font(10 + i % 5));
    EXPECT_NE(handles.back(), -1);
    EXPECT_EQ(Font(), -1);
    // Released fonts make room again, and the old handles are dead.
    media::ReleaseAllFonts();
    EXPECT_EQ(DrawTextWithFont(0, 0, "A", kWhite, handles[0], 0, 0), -1);
    EXPECT_NE(Font(), -1);
}

TEST_F(Text, DoubleByteWidthsAddUpAndMatchTheDrawing) {
    for (int size : {13, 25}) {  // the menu's and the score panel's sizes
        SCOPED_TRACE(size);
        ClearScreen();
        const int font = Font(size);
        const int one = Width("\x82\xa0", font);  // あ
        EXPECT_TRUE(one > size / 2 && one <= size + 2) << one;
        EXPECT_EQ(Width(kJapanese, font), 5 * one);                // a monospace face
        EXPECT_LT(Width("A", font), one);                          // half-width is narrower
        EXPECT_EQ(Width("\xB1\xB2", font), 2 * Width("A", font));  // so is katakana ｱｲ
        // Only the first 'length' bytes count; a split character and a lone lead byte at the
        // end are left out.
        for (auto [length, chars] : {std::pair{4, 2}, {5, 2}, {0, 0}, {100, 5}})
            EXPECT_EQ(Width(kJapanese, font, length), chars * one) << length;
        EXPECT_EQ(Width("AB\x82", font), Width("AB", font));
        // The drawing covers the measured width, and its height is the size.
        ASSERT_EQ(DrawTextWithFont(100, 200, kJapanese, kWhite, font, 0, 0), 0);
        const Box b = LitBox();
        EXPECT_TRUE(b.x0 >= 100 && b.x1 <= 100 + 5 * one && b.x1 > 100 + 4 * one) << b.x1;
        EXPECT_TRUE(b.y0 >= 200 && b.y1 - b.y0 >= size * 3 / 4 && b.y1 - b.y0 <= size + 1);
    }
    EXPECT_EQ(DrawTextWithFont(0, 0, "A", kWhite, 77, 0, 0), -1);  // bad handles
    EXPECT_EQ(GetTextWidthWithFont("A", 1, -1, 0), -1);
}

TEST_F(Text, MonochromeIsOneColourAntiAliasedHasLevels) {
    // Every lit pixel of monochrome text is its colour, after brightness or blending.
    const struct {
        int type, colour, brightR, blend;
        uint32_t only;  // 0: anti-aliased, with more than one level
    } cases[] = {{0, kWhite, 255, 0, 0xFFFFFF},
                 {0, MakeColor(255, 0, 255), 128, 0, 0x8000FF},
                 {0, kWhite, 255, 128, 0x808080},
                 {2, kWhite, 255, 0, 0}};
    for (const auto& c : cases) {
        ClearScreen();
        SetDrawBrightness(c.brightR, 255, 255);
        SetBlendMode(c.blend ? 1 : 0, c.blend);
        DrawTextWithFont(0, 0, kJapanese, c.colour, Font(16, c.type), 0, 0);
        EXPECT_GT(LitPixels(), 50);
        const int others = LitPixels() - Count(c.only ? c.only : 0xFFFFFF);
        EXPECT_TRUE(c.only ? others == 0 : others > 20) << std::hex << c.only << " " << others;
    }
}

}  // namespace
