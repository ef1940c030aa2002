// Loading images and frame strips through project paths, handle life, and the log lines
// that name a file that could not be loaded.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "media/media.h"
#include "support/media_fixture.h"
#include "support/png_writer.h"

namespace {

using Bytes = std::vector<unsigned char>;

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

TEST_F(ImageLoad, BadFrameLayoutsFailAndAreLogged) {
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
}

TEST_F(ImageLoad, UnreadableFilesFailWithALogLineNamingThem) {
    // Every way a decoder can fail is in the decoding tests; here, that each is logged.
    const Bytes jpeg = EncodeJpeg(16, 16, std::vector<uint32_t>(256, 0x00FF00));
    dir_.WriteFile("truncated.jpg", Bytes(jpeg.begin(), jpeg.begin() + jpeg.size() / 2));
    dir_.WriteFile("empty.png", Bytes());
    dir_.WriteFile("text.png", Bytes{'h', 'e', 'l', 'l', 'o'});
    dir_.WriteFile("huge.png", EncodePngHeaderOnly(100000, 100000));
    for (const char* name : {"truncated.jpg", "empty.png", "text.png", "huge.png", "absent.png"}) {
        EXPECT_EQ(LoadImageFile(name), -1) << name;
        EXPECT_NE(Log().find(name), std::string::npos) << name;
    }
    EXPECT_EQ(LoadImageFile(nullptr), -1);
}

}  // namespace
