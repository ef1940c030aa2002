// Loading images and frame strips through project paths, handle life, and the log lines
// that name a file that could not be loaded.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "media/media.h"
#include "support/media_fixture.h"
#include "support/png_writer.h"
#include "support/temp_dir.h"

namespace {

class ImageLoad : public MediaTest {
protected:
    void SetUp() override {
        MediaTest::SetUp();
        cwd_ = std::make_unique<ScopedCwd>(dir_.path());
        SetAppLogEnabled(1);
    }
    void TearDown() override {
        MediaTest::TearDown();  // closes the log
        cwd_.reset();
    }
    std::string Log() const { return dir_.ReadFile("AppLog.txt"); }
    void Write(const std::string& name, const std::vector<unsigned char>& bytes) {
        dir_.WriteFile(name, bytes);
    }

    TempDir dir_;
    std::unique_ptr<ScopedCwd> cwd_;
};

std::vector<uint32_t> Strip(int frames, int w, int h) {
    // Frame k is filled with grey level 10 * (k + 1).
    std::vector<uint32_t> px(size_t(frames) * w * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < frames * w; ++x)
            px[size_t(y) * frames * w + x] = 0xFF000000u | 0x010101u * uint32_t(10 * (x / w + 1));
    return px;
}

TEST_F(ImageLoad, ProjectPathWithBackslashLoadsAndReportsItsSize) {
    Write("Sprite/Sprite3.png", EncodeArgbPng(5, 7, std::vector<uint32_t>(35, 0xFF123456)));
    const int h = LoadImageFile("Sprite\\Sprite3.png");
    ASSERT_NE(h, -1);
    int w = 0, ht = 0;
    EXPECT_EQ(GetImageSize(h, &w, &ht), 0);
    EXPECT_EQ(w, 5);
    EXPECT_EQ(ht, 7);
    EXPECT_EQ(GetImageSize(h, nullptr, nullptr), 0);
}

TEST_F(ImageLoad, JpegContentLoadsWhateverTheExtension) {
    Write("photo.png", EncodeJpeg(8, 4, std::vector<uint32_t>(32, 0x808080)));
    EXPECT_NE(LoadImageFile("photo.png"), -1);
}

TEST_F(ImageLoad, ScreenSizeForTheScreenHandles) {
    for (int screen : {-2, -4}) {
        int w = 0, h = 0;
        EXPECT_EQ(GetImageSize(screen, &w, &h), 0);
        EXPECT_EQ(w, 640);
        EXPECT_EQ(h, 480);
    }
    EXPECT_EQ(GetImageSize(-1, nullptr, nullptr), -1);
    EXPECT_EQ(GetImageSize(12345, nullptr, nullptr), -1);
}

TEST_F(ImageLoad, DeletedHandleIsRefusedEverywhere) {
    Write("a.png", EncodeArgbPng(2, 2, std::vector<uint32_t>(4, 0xFFFFFFFF)));
    const int h = LoadImageFile("a.png");
    ASSERT_NE(h, -1);
    EXPECT_EQ(DeleteImage(h, 0), 0);
    EXPECT_EQ(DeleteImage(h, 0), -1);
    EXPECT_EQ(GetImageSize(h, nullptr, nullptr), -1);
    EXPECT_EQ(DrawImage(0, 0, h, 0), -1);
    // The slot is reused with a new handle; the old one stays dead.
    const int again = LoadImageFile("a.png");
    EXPECT_NE(again, h);
    EXPECT_EQ(DrawImage(0, 0, h, 0), -1);
    EXPECT_EQ(LitPixels(), 0);
}

TEST_F(ImageLoad, StripIsCutIntoFramesLeftToRight) {
    Write("strip.png", EncodeArgbPng(4 * 6, 5, Strip(4, 6, 5)));
    int handles[4] = {-1, -1, -1, -1};
    ASSERT_EQ(LoadImageFrames("strip.png", 4, 4, 1, 6, 5, handles), 0);
    for (int i = 0; i < 4; ++i) {
        int w = 0, h = 0;
        ASSERT_EQ(GetImageSize(handles[i], &w, &h), 0);
        EXPECT_EQ(w, 6);
        EXPECT_EQ(h, 5);
        ASSERT_EQ(DrawImage(10 * i, 0, handles[i], 0), 0);
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Pixel(10 * i, 0), 0x010101u * uint32_t(10 * (i + 1)));
        EXPECT_EQ(Pixel(10 * i + 5, 4), 0x010101u * uint32_t(10 * (i + 1)));
        EXPECT_EQ(Pixel(10 * i + 6, 0), 0u);
    }
}

TEST_F(ImageLoad, GridIsCutRowByRow) {
    // 3 x 2 cells of 2 x 2: the cell at column c, row r has grey 10 * (r * 3 + c + 1).
    std::vector<uint32_t> px(6 * 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            px[y * 6 + x] = 0xFF000000u | 0x010101u * uint32_t(10 * ((y / 2) * 3 + x / 2 + 1));
    Write("grid.png", EncodeArgbPng(6, 4, px));
    int handles[5];
    ASSERT_EQ(LoadImageFrames("grid.png", 5, 3, 2, 2, 2, handles), 0);
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(DrawImage(0, 0, handles[i], 0), 0);
        EXPECT_EQ(Pixel(1, 1), 0x010101u * uint32_t(10 * (i + 1))) << i;
    }
}

TEST_F(ImageLoad, BadFrameLayoutsFailAndAreLogged) {
    Write("strip.png", EncodeArgbPng(4 * 6, 5, Strip(4, 6, 5)));
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
    EXPECT_NE(log.find("strip.png"), std::string::npos);
    EXPECT_NE(log.find("missing.png"), std::string::npos);
    // The limit itself is fine.
    std::vector<uint32_t> wide(512, 0xFFFFFFFF);
    Write("wide.png", EncodeArgbPng(512, 1, wide));
    EXPECT_EQ(LoadImageFrames("wide.png", 512, 512, 1, 1, 1, handles), 0);
}

TEST_F(ImageLoad, AtMost32768ImagesLive) {
    Write("wide.png", EncodeArgbPng(512, 1, std::vector<uint32_t>(512, 0xFFFFFFFF)));
    Write("one.png", EncodeArgbPng(1, 1, {0xFFFFFFFF}));
    std::vector<int> handles(512);
    for (int i = 0; i < 64; ++i)
        ASSERT_EQ(LoadImageFrames("wide.png", 512, 512, 1, 1, 1, handles.data()), 0) << i;
    EXPECT_EQ(LoadImageFile("one.png"), -1);
    EXPECT_EQ(LoadImageFrames("wide.png", 1, 1, 1, 1, 1, handles.data()), -1);
    EXPECT_NE(Log().find("one.png"), std::string::npos);
    // One released handle makes room for one more.
    ASSERT_EQ(DeleteImage(handles[7], 0), 0);
    EXPECT_NE(LoadImageFile("one.png"), -1);
    EXPECT_EQ(LoadImageFile("one.png"), -1);
}

TEST_F(ImageLoad, UnreadableFilesFailWithALogLineNamingThem) {
    const std::vector<unsigned char> png =
        EncodeArgbPng(16, 16, std::vector<uint32_t>(256, 0xFF00FF00));
    const std::vector<unsigned char> jpeg =
        EncodeJpeg(16, 16, std::vector<uint32_t>(256, 0x00FF00));
    Write("truncated.png", std::vector<unsigned char>(png.begin(), png.begin() + png.size() / 2));
    Write("truncated.jpg",
          std::vector<unsigned char>(jpeg.begin(), jpeg.begin() + jpeg.size() / 2));
    std::vector<unsigned char> bad = png;
    for (size_t i = 40; i < bad.size() - 12; ++i) bad[i] ^= 0xA5;
    Write("corrupt.png", bad);
    bad = jpeg;
    for (size_t i = 4; i < 60; ++i) bad[i] = 0x00;
    Write("corrupt.jpg", bad);
    Write("empty.png", std::vector<unsigned char>());
    Write("text.png", std::vector<unsigned char>{'h', 'e', 'l', 'l', 'o'});

    for (const char* name : {"truncated.png", "truncated.jpg", "corrupt.png", "corrupt.jpg",
                             "empty.png", "text.png", "absent.png"}) {
        EXPECT_EQ(LoadImageFile(name), -1) << name;
        EXPECT_NE(Log().find(name), std::string::npos) << name;
    }
    EXPECT_EQ(LoadImageFile(nullptr), -1);
}

TEST_F(ImageLoad, HugeHeaderFailsFastWithALogLine) {
    // Signature and a header for 100000 x 100000 RGBA, then nothing.
    std::vector<unsigned char> bytes = {0x89, 'P', 'N',  'G',  '\r', '\n', 0x1A, '\n', 0,    0,
                                        0,    13,  'I',  'H',  'D',  'R',  0,    1,    0x86, 0xA0,
                                        0,    1,   0x86, 0xA0, 8,    6,    0,    0,    0};
    bytes.insert(bytes.end(), {0xA8, 0x52, 0x0B, 0xC8});  // CRC of the header chunk
    Write("huge.png", bytes);
    EXPECT_EQ(LoadImageFile("huge.png"), -1);
    EXPECT_NE(Log().find("huge.png"), std::string::npos);
}

TEST_F(ImageLoad, LogIsNotWrittenWhenOff) {
    SetAppLogEnabled(0);
    EXPECT_EQ(LoadImageFile("absent.png"), -1);
    EXPECT_FALSE(dir_.Exists("AppLog.txt"));
}

}  // namespace
