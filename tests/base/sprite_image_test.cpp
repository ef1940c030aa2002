// TSpriteImage: frame checks, blend mode during and after each draw, truncated positions and
// centring (the window frame is checked in every menu's picture, in the screen tests); TString
// (the file names built from it are every project load's), checked failures, message boxes.
#include "base/sprite_image.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "base/check.h"
#include "base/tstring.h"
#include "media/core.h"
#include "media/media.h"
#include "support/media_fixture.h"
#include "sys/sys.h"

namespace {

class SpriteImage : public MediaTest {
protected:
    void SetUp() override {
        MediaTest::SetUp();
        sys::SetMessageBoxesToStderr(true);
    }
    void TearDown() override {
        sys::ClearQuit();
        MediaTest::TearDown();
    }
    void AddFrame(TSpriteImage* s, int w, int h) {
        s->frames.push_back(TFramePicture{Numbered(w, h), 10});
        s->imageWidth = w;
        s->imageHeight = h;
    }
    static uint32_t At(int x, int y) { return NumberedPixel(x, y) & 0xFFFFFF; }
    static int BlendModeNow() { return media::TheCore().blendMode; }
};

TEST_F(SpriteImage, NegativeFrameIsACheckedFailureMissingOnesAreSilent) {
    TSpriteImage empty, one;
    AddFrame(&one, 4, 4);
    const int before = CheckFailureCount();
    empty.DrawRotated(0);
    empty.Draw(0);
    empty.DrawPart(0, 0, 4, 4);
    one.DrawRotated(1);
    one.Draw(7);
    EXPECT_EQ(CheckFailureCount(), before);
    EXPECT_FALSE(sys::QuitPosted());
    one.DrawRotated(-1);  // the warning box, and a quit request
    EXPECT_EQ(CheckFailureCount(), before + 1);
    EXPECT_TRUE(sys::QuitPosted());
    one.Draw(-3);
    EXPECT_EQ(CheckFailureCount(), before + 2);
    EXPECT_EQ(LitPixels(), 0);
}

TEST_F(SpriteImage, DrawPutsTheTopLeftAndDrawRotatedTheCentreAtTheTruncatedPosition) {
    TSpriteImage s;
    AddFrame(&s, 4, 2);
    s.drawX = 10.9, s.drawY = -0.7;  // toward zero: row 0, not -1
    s.drawAngle = 90, s.drawScale = 3, s.mirrored = 1;
    s.Draw(0);  // angle and scale ignored
    EXPECT_EQ(LitBox(), (Box{10, 0, 14, 2}));
    EXPECT_EQ(Pixel(10, 0), At(3, 0));
    ClearScreen();
    s.drawX = NAN, s.mirrored = 0;  // a position that is not a number draws at 0
    s.Draw(0);
    EXPECT_EQ(LitBox(), (Box{0, 0, 4, 2}));
    ClearScreen();
    s.drawX = 10.9, s.drawY = 10.2, s.drawScale = 1;
    s.DrawRotated(0);  // degrees, clockwise: the top-left pixel goes top-right
    EXPECT_EQ(LitBox(), (Box{9, 8, 11, 12}));
    EXPECT_EQ(Pixel(10, 8), At(0, 0));
    ClearScreen();
    s.drawAngle = 0, s.drawScale = 2;
    s.DrawRotated(0);
    EXPECT_EQ(LitBox(), (Box{6, 8, 14, 12}));
}

TEST_F(SpriteImage, BlendValueAppliesToTheDrawAndBlendingIsOffAfterwards) {
    TSpriteImage s;
    AddFrame(&s, 1, 1);  // (1, 1, 128)
    s.blendValue = 128;
    auto drawn = [&](int x, void (*draw)(TSpriteImage&)) {
        s.drawX = x;
        draw(s);
        EXPECT_EQ(BlendModeNow(), 0);
        return Pixel(x, 0);
    };
    // 128 / 255 over black, and 255 and above draws solid.
    EXPECT_EQ(drawn(10, [](TSpriteImage& s) { s.DrawRotated(0); }), 0x010140u);
    EXPECT_EQ(drawn(20, [](TSpriteImage& s) { s.Draw(0); }), 0x010140u);
    EXPECT_EQ(drawn(30, [](TSpriteImage& s) { s.DrawPart(0, 0, 1, 1); }), 0x010140u);
    s.blendValue = 300;
    EXPECT_EQ(drawn(60, [](TSpriteImage& s) { s.Draw(0); }), At(0, 0));
    s.DrawWindowFrame(100, 100, 2, 1);
    EXPECT_EQ(BlendModeNow(), 0);
}

TEST_F(SpriteImage, DestructorDeletesEveryFrame) {
    auto s = std::make_unique<TSpriteImage>();
    AddFrame(s.get(), 2, 2);
    AddFrame(s.get(), 2, 2);
    const TFramePicture first = s->frames[0], second = s->frames[1];
    s.reset();
    EXPECT_TRUE(GetImageSize(first.image, nullptr, nullptr) == -1 &&
                GetImageSize(second.image, nullptr, nullptr) == -1);
}

TEST(TString, CopiesAreIndependentAssignTakesItsOwnTextAndFormatStaysInItsBuffer) {
    TString a("hello world");
    TString b(a), c, moved;
    b.data()[0] = 'x';
    c = a;
    EXPECT_STREQ(c.c_str(), "hello world");
    c.Assign("longer text than before");
    moved = TString("moved");
    a.Assign(a.c_str() + 6);
    EXPECT_EQ(
        std::vector<std::string>({a.c_str(), b.c_str(), c.c_str(), moved.c_str()}),
        std::vector<std::string>({"world", "xello world", "longer text than before", "moved"}));
    // Empty text has a one-byte buffer, no text none.
    EXPECT_TRUE(TString("").HasBuffer() && TString("").Length() == 0 && !TString().HasBuffer());
    EXPECT_EQ(TString().Length(), 0u);
    EXPECT_STREQ(TString().c_str(), "");
    TString s;
    EXPECT_STREQ(s.Format("Sprite%d.png", 12).c_str(), "Sprite12.png");
    std::string big(5000, 'a');
    EXPECT_EQ(s.Format("%s-%s", big.c_str(), big.c_str()).Length(), 1023u);
}

TEST(CheckFailed, ShowsTheWarningAndPostsAQuit) {
    sys::SetMessageBoxesToStderr(true);
    sys::ClearQuit();
    testing::internal::CaptureStderr();
    int before = CheckFailureCount();
    CheckFailed("src/TMedia.cpp", 143);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(CheckFailureCount(), before + 1);
    EXPECT_TRUE(sys::QuitPosted());
    sys::ClearQuit();
    // 警告 / エラーが発生しました。 ファイル: TMedia.cpp 行番号: 143, in UTF-8 on stderr.
    EXPECT_NE(err.find("\xE8\xAD\xA6\xE5\x91\x8A"), std::string::npos);
    EXPECT_NE(err.find("\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB: TMedia.cpp\r\n"),
              std::string::npos);
    EXPECT_NE(err.find("\xE8\xA1\x8C\xE7\x95\xAA\xE5\x8F\xB7: 143"), std::string::npos);
}

// The default button answers: OK is 8, Cancel 9, No 11.
TEST(ShowMessageBox, MapsAnswersToTheGamesCodes) {
    sys::SetMessageBoxesToStderr(true);
    testing::internal::CaptureStderr();
    EXPECT_EQ(ShowMessageBox("text", "caption", 6, 0, 0), 8);   // OK
    EXPECT_EQ(ShowMessageBox("text", "caption", 5, 2, 1), 11);  // Yes/No, second
    EXPECT_EQ(ShowMessageBox("text", "caption", 5, 2, 0), 10);  // Yes/No, first
    EXPECT_EQ(ShowMessageBox("text", "caption", 0, 1, 1), 9);   // OK/Cancel, second
    EXPECT_EQ(ShowMessageBox("text", "caption", 0, 3, 2), 9);   // Yes/No/Cancel, third
    testing::internal::GetCapturedStderr();
}

}  // namespace
