#include "base/check.h"

#include <gtest/gtest.h>

#include "sys/sys.h"

namespace {
struct StderrBoxes {
    StderrBoxes() {
        sys::SetMessageBoxesToStderr(true);
        sys::ClearQuit();
    }
    ~StderrBoxes() { sys::ClearQuit(); }
};
}  // namespace

TEST(CheckFailed, ShowsTheWarningAndPostsAQuit) {
    StderrBoxes boxes;
    testing::internal::CaptureStderr();
    int before = CheckFailureCount();
    CheckFailed("src/TMedia.cpp", 143);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(CheckFailureCount(), before + 1);
    EXPECT_TRUE(sys::QuitPosted());
    // 警告 / エラーが発生しました。 ファイル: TMedia.cpp 行番号: 143, in UTF-8 on stderr.
    EXPECT_NE(err.find("\xE8\xAD\xA6\xE5\x91\x8A"), std::string::npos);
    EXPECT_NE(err.find("\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB: TMedia.cpp\r\n"),
              std::string::npos);
    EXPECT_NE(err.find("\xE8\xA1\x8C\xE7\x95\xAA\xE5\x8F\xB7: 143"), std::string::npos);
}

TEST(ShowMessageBox, MapsAnswersToTheGamesCodes) {
    StderrBoxes boxes;
    testing::internal::CaptureStderr();
    // Exclamation icon, OK button: answered OK -> 8.
    EXPECT_EQ(ShowMessageBox("text", "caption", 6, 0, 0), 8);
    // Yes/No with the second button as default answers No -> 11.
    EXPECT_EQ(ShowMessageBox("text", "caption", 5, 2, 1), 11);
    // OK/Cancel with the second as default -> Cancel 9; Yes/No/Cancel third -> 9.
    EXPECT_EQ(ShowMessageBox("text", "caption", 0, 1, 1), 9);
    EXPECT_EQ(ShowMessageBox("text", "caption", 0, 3, 2), 9);
    testing::internal::GetCapturedStderr();
}
