// TString copies and formatting, the file names built from it, and the checked failures and
// message boxes the game shows.
#include <gtest/gtest.h>

#include "base/check.h"
#include "base/paths.h"
#include "base/tstring.h"
#include "sys/sys.h"

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

TEST(Paths, NamesAreJoinedUnpaddedAndInCp932) {
    EXPECT_STREQ(JoinPath(kSoundFolder, "bgm.ogg").c_str(), "Sound\\bgm.ogg");
    EXPECT_STREQ(JoinPath("", "name.bin").c_str(), "name.bin");
    EXPECT_STREQ(MakeSpritePath(12).c_str(), "Sprite\\Sprite12.png");
    EXPECT_STREQ(kUnregistered.c_str(), "<\x96\xa2\x93\x6f\x98\x5e>");
    EXPECT_STREQ(Sjis("\xE6\x88\xBB\xE3\x82\x8B").c_str(), "\x96\xdf\x82\xe9");  // 戻る
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
    EXPECT_EQ(ShowMessageBox("text", "caption", 0, 1, 1), 9);   // OK/Cancel, second
    EXPECT_EQ(ShowMessageBox("text", "caption", 0, 3, 2), 9);   // Yes/No/Cancel, third
    testing::internal::GetCapturedStderr();
}
