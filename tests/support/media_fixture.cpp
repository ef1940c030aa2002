#include "support/media_fixture.h"

#include <algorithm>

#include "media/core.h"
#include "media/inspect.h"
#include "media/media.h"
#include "support/png_writer.h"

void MediaTest::SetUp() {
    media::ReleaseAllImages();
    media::ReleaseAllFonts();
    SetBlendMode(0, 0);
    SetDrawBrightness(255, 255, 255);
    ClearScreen();
}

void MediaTest::TearDown() {
    media::ReleaseAllImages();
    media::ReleaseAllFonts();
    SetBlendMode(0, 0);
    SetDrawBrightness(255, 255, 255);
    SetAppLogEnabled(0);
}

uint32_t MediaTest::Pixel(int x, int y) {
    return media::BackBuffer()[y * media::ScreenWidth() + x] & 0xFFFFFFu;
}

int MediaTest::LitPixels() {
    int n = 0;
    const int total = media::ScreenWidth() * media::ScreenHeight();
    for (int i = 0; i < total; ++i)
        if (media::BackBuffer()[i] & 0xFFFFFFu) ++n;
    return n;
}

MediaTest::Box MediaTest::LitBox() {
    Box b{media::ScreenWidth(), media::ScreenHeight(), 0, 0};
    for (int y = 0; y < media::ScreenHeight(); ++y) {
        for (int x = 0; x < media::ScreenWidth(); ++x) {
            if (!Pixel(x, y)) continue;
            b.x0 = std::min(b.x0, x);
            b.y0 = std::min(b.y0, y);
            b.x1 = std::max(b.x1, x + 1);
            b.y1 = std::max(b.y1, y + 1);
        }
    }
    if (b.x1 == 0) return Box{};
    return b;
}

int MediaTest::Load(int width, int height, const std::vector<uint32_t>& argb, bool withAlpha) {
    static int counter = 0;
    const std::string name = "picture" + std::to_string(counter++) + ".png";
    dir_.WriteFile(name, EncodeArgbPng(width, height, argb, withAlpha));
    const int handle = LoadImageFile((dir_ / name).c_str());
    EXPECT_NE(handle, -1);
    return handle;
}

int MediaTest::Numbered(int width, int height) {
    std::vector<uint32_t> px;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) px.push_back(NumberedPixel(x, y));
    return Load(width, height, px);
}

// fontconfig keeps parts of its parsed configuration unreachable until FcFini, which a
// process that may still draw text never calls. Leak checks in sanitizer builds skip it.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
