// TString copies and formatting, and the file names built from it.
#include "base/tstring.h"

#include <gtest/gtest.h>

#include <string>

#include "base/paths.h"

TEST(TString, CopiesAreIndependentAssignTakesItsOwnTextAndFormatStaysInItsBuffer) {
    TString a("hello world");
    TString b(a), c;
    b.data()[0] = 'x';
    c = a;
    EXPECT_STREQ(c.c_str(), "hello world");
    c.Assign("longer text than before");
    TString moved;
    moved = TString("moved");
    EXPECT_STREQ(moved.c_str(), "moved");
    a.Assign(a.c_str() + 6);
    EXPECT_EQ(std::vector<std::string>({a.c_str(), b.c_str(), c.c_str()}),
              std::vector<std::string>({"world", "xello world", "longer text than before"}));
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
