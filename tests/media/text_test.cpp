// Fonts and text: face matching, the 40-font limit, widths that agree with drawing,
// anti-aliased and monochrome rendering, colour, blending, brightness and the debug text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "media/core.h"
#include "media/font_face.h"
#include "media/host.h"
#include "media/inspect.h"
#include "media/media.h"
#include "support/media_fixture.h"

namespace {

// "ＭＳ ゴシック", "ＭＳ 明朝" and "あいう漢字" in cp932.
const char kGothic[] = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";
const char kMincho[] = "\x82\x6c\x82\x72\x20\x96\xbe\x92\xa9";
const char kJapanese[] = "\x82\xa0\x82\xa2\x82\xa4\x8a\xbf\x8e\x9a";
const char kA[] = "\x82\xa0";  // あ

class Text : public MediaTest {
protected:
    void SetUp() override {
        MediaTest::SetUp();
        media::ReleaseAllFonts();
    }
    void TearDown() override {
        media::ReleaseAllFonts();
        MediaTest::TearDown();
    }
    int Font(int size = 16, int thickness = 1, int type = 2, const char* face = kGothic) {
        const int h = CreateFontToHandle(face, size, thickness, type, -1, -1, -1, -1);
        EXPECT_NE(h, -1);
        return h;
    }
    static int Width(const char* text, int font) {
        return GetTextWidthWithFont(text, int(std::strlen(text)), font, 0);
    }
};

TEST_F(Text, FacesMatchTheirJapaneseCounterparts) {
    std::string error;
    media::FontRequest r;
    r.faceCp932 = kGothic;
    auto gothic = media::FontFace::Open(r, &error);
    ASSERT_TRUE(gothic) << error;
    EXPECT_NE(gothic->FileName().find("gothic"), std::string::npos) << gothic->FileName();
    r.faceCp932 = kMincho;
    auto mincho = media::FontFace::Open(r, &error);
    ASSERT_TRUE(mincho) << error;
    EXPECT_NE(mincho->FileName().find("mincho"), std::string::npos) << mincho->FileName();
    r.faceCp932 = "No Such Face 123";
    auto other = media::FontFace::Open(r, &error);
    ASSERT_TRUE(other) << error;
    EXPECT_EQ(other->FileName(), gothic->FileName());
}

TEST_F(Text, FortyFontsThenMinusOne) {
    std::vector<int> handles;
    for (int i = 0; i < 40; ++i) handles.push_back(Font(10 + i % 5));
    EXPECT_EQ(CreateFontToHandle(kGothic, 16, 1, 2, -1, -1, -1, -1), -1);
    for (size_t i = 1; i < handles.size(); ++i) EXPECT_NE(handles[i], handles[i - 1]);
    // Released fonts make room again, and the old handles are dead.
    media::ReleaseAllFonts();
    EXPECT_EQ(DrawTextWithFont(0, 0, "A", MakeColor(255, 255, 255), handles[0], 0, 0), -1);
    EXPECT_NE(Font(), -1);
}

TEST_F(Text, FontsWorkWithoutAndAfterTheWindow) {
    media::SetHost(media::CreateHeadlessHost());
    const int before = Font();
    ASSERT_EQ(MediaInit(), 0);
    const int during = Font();
    ASSERT_EQ(MediaEnd(), 0);
    EXPECT_EQ(GetTextWidthWithFont("A", 1, during, 0), -1);  // released by MediaEnd
    const int after = Font();
    EXPECT_GT(GetTextWidthWithFont("AB", 2, after, 0), 0);
    EXPECT_EQ(DrawTextWithFont(5, 5, "AB", MakeColor(255, 255, 255), after, 0, 0), 0);
    EXPECT_GT(LitPixels(), 0);
    (void)before;
}

TEST_F(Text, DoubleByteWidthsAddUpAndMatchTheDrawing) {
    const int font = Font(16);
    const int one = Width(kA, font);
    EXPECT_GT(one, 8);
    EXPECT_LE(one, 18);
    EXPECT_EQ(Width(kJapanese, font), 5 * one);  // a monospace face
    // Half-width characters are narrower.
    EXPECT_LT(Width("A", font), one);
    // Only the first 'length' bytes count, and a split character is left out.
    EXPECT_EQ(GetTextWidthWithFont(kJapanese, 4, font, 0), 2 * one);
    EXPECT_EQ(GetTextWidthWithFont(kJapanese, 5, font, 0), 2 * one);
    EXPECT_EQ(GetTextWidthWithFont(kJapanese, 0, font, 0), 0);
    EXPECT_EQ(GetTextWidthWithFont(kJapanese, 100, font, 0), 5 * one);

    ASSERT_EQ(DrawTextWithFont(100, 200, kJapanese, MakeColor(255, 255, 255), font, 0, 0), 0);
    const Box b = LitBox();
    EXPECT_GE(b.x0, 100);
    EXPECT_LE(b.x1, 100 + 5 * one);
    EXPECT_GT(b.x1, 100 + 4 * one);
    EXPECT_GE(b.y0, 200);
    EXPECT_LE(b.y1, 200 + 18);
}

TEST_F(Text, SizeIsThePixelHeightOfTheText) {
    for (int size : {13, 24}) {
        ClearScreen();
        const int font = Font(size);
        DrawTextWithFont(10, 10, kJapanese, MakeColor(255, 255, 255), font, 0, 0);
        const Box b = LitBox();
        EXPECT_GE(b.y1 - b.y0, size * 3 / 4) << size;
        EXPECT_LE(b.y1 - b.y0, size + 1) << size;
        EXPECT_GE(b.y0, 10);
    }
}

TEST_F(Text, MonochromeHasOnlyFullColourAntiAliasedHasLevels) {
    const int mono = Font(16, 1, 0);
    DrawTextWithFont(0, 0, kJapanese, MakeColor(255, 255, 255), mono, 0, 0);
    int lit = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 120; ++x) {
            const uint32_t p = Pixel(x, y);
            EXPECT_TRUE(p == 0 || p == 0xFFFFFF) << x << "," << y << ": " << std::hex << p;
            lit += p != 0;
        }
    }
    EXPECT_GT(lit, 50);
    ClearScreen();
    const int smooth = Font(16, 1, 2);
    DrawTextWithFont(0, 0, kJapanese, MakeColor(255, 255, 255), smooth, 0, 0);
    int partial = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x) partial += Pixel(x, y) != 0 && Pixel(x, y) != 0xFFFFFF;
    EXPECT_GT(partial, 20);
}

TEST_F(Text, ThicknessSixAndAboveIsBold) {
    auto coverage = [&](int thickness) {
        ClearScreen();
        DrawTextWithFont(0, 0, kJapanese, MakeColor(255, 255, 255), Font(16, thickness, 0), 0, 0);
        return LitPixels();
    };
    const int regular = coverage(1);
    EXPECT_EQ(coverage(4), regular);
    EXPECT_GT(coverage(6), regular * 5 / 4);
}

TEST_F(Text, ColourBrightnessAndBlending) {
    const int font = Font(16, 1, 0);
    SetDrawBrightness(128, 255, 255);
    DrawTextWithFont(0, 0, "#", MakeColor(255, 0, 255), font, 0, 0);
    uint32_t seen = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) seen = std::max(seen, Pixel(x, y));
    EXPECT_EQ(seen, 0x8000FFu);
    SetDrawBrightness(255, 255, 255);
    ClearScreen();
    SetBlendMode(1, 128);
    DrawTextWithFont(0, 0, "#", MakeColor(255, 255, 255), font, 0, 0);
    seen = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) seen = std::max(seen, Pixel(x, y));
    EXPECT_EQ(seen, 0x808080u);
}

TEST_F(Text, OutlinedFontDrawsItsEdgeColourAroundTheLetters) {
    const int font = CreateFontToHandle(kGothic, 16, 1, 1, -1, -1, -1, -1);
    ASSERT_NE(font, -1);
    DrawRect(0, 0, 100, 40, MakeColor(0, 0, 255), 1);
    DrawTextWithFont(2, 2, "I", MakeColor(255, 255, 255), font, MakeColor(255, 0, 0), 0);
    int red = 0, white = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 100; ++x) {
            red += Pixel(x, y) == 0xFF0000u;
            white += Pixel(x, y) == 0xFFFFFFu;
        }
    }
    EXPECT_GT(white, 5);
    EXPECT_GT(red, white);
    EXPECT_EQ(GetTextWidthWithFont("I", 1, font, 0),
              GetTextWidthWithFont("I", 1, Font(16, 1, 0), 0) + 2);
}

TEST_F(Text, BadHandlesAndNullText) {
    EXPECT_EQ(DrawTextWithFont(0, 0, "A", 0xFFFF, -1, 0, 0), -1);
    EXPECT_EQ(DrawTextWithFont(0, 0, "A", 0xFFFF, 77, 0, 0), -1);
    EXPECT_EQ(GetTextWidthWithFont("A", 1, -1, 0), -1);
    const int font = Font();
    EXPECT_EQ(DrawTextWithFont(0, 0, nullptr, 0xFFFF, font, 0, 0), 0);
    EXPECT_EQ(GetTextWidthWithFont(nullptr, 5, font, 0), 0);
    EXPECT_EQ(LitPixels(), 0);
    // Control characters take no room; a lone lead byte is dropped.
    EXPECT_EQ(Width("A\tB", font), Width("AB", font));
    EXPECT_EQ(Width("AB\x82", font), Width("AB", font));
}

TEST_F(Text, HalfWidthKatakanaAndPunctuationHaveGlyphs) {
    EXPECT_EQ(media::Cp932CodePoint(0xB1), 0xFF71u);    // ｱ
    EXPECT_EQ(media::Cp932CodePoint(0x82A0), 0x3042u);  // あ
    EXPECT_EQ(media::Cp932CodePoint(0x8140), 0x3000u);  // ideographic space
    EXPECT_EQ(media::Cp932CodePoint('A'), uint32_t('A'));
    const int font = Font(16, 1, 0);
    DrawTextWithFont(0, 0, "\xB1\xB2", MakeColor(255, 255, 255), font, 0, 0);
    EXPECT_GT(LitPixels(), 10);
}

TEST_F(Text, DebugTextIsWhiteOnABlackOutlineLineByLine) {
    media::SetHost(media::CreateHeadlessHost());
    ASSERT_EQ(MediaInit(), 0);
    DrawRect(0, 0, 640, 480, MakeColor(0, 0, 255), 1);
    SetBlendMode(1, 10);
    SetDrawBrightness(10, 10, 10);
    PrintToScreen("FPS:%0d\nsecond line", 60);
    ASSERT_EQ(FlipScreen(), 0);
    int white = 0, black = 0, lowest = 0;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x) {
            const uint32_t p = Pixel(x, y);
            white += p == 0xFFFFFFu;
            black += p == 0;
            if (p != 0x0000FFu) lowest = y;
        }
    }
    EXPECT_GT(white, 30);
    EXPECT_GT(black, 30);
    EXPECT_GT(lowest, 16);  // the second line lies below the first
    EXPECT_LT(lowest, 48);
    ClearScreenPrint();
    MediaEnd();
}

}  // namespace
