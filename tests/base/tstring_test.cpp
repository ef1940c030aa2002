#include <gtest/gtest.h>

#include <string>

#include "base/paths.h"
#include "base/tstring.h"

TEST(TString, CopiesAreIndependent) {
    TString a("abc");
    TString b(a);
    b.data()[0] = 'x';
    EXPECT_STREQ(a.c_str(), "abc");
    EXPECT_STREQ(b.c_str(), "xbc");
    TString c;
    c = a;
    c.Assign("longer text");
    EXPECT_STREQ(a.c_str(), "abc");
}

TEST(TString, EmptyTextHasAOneByteBuffer) {
    TString e("");
    EXPECT_TRUE(e.HasBuffer());
    EXPECT_EQ(e.Length(), 0u);
    TString none;
    EXPECT_FALSE(none.HasBuffer());
    EXPECT_STREQ(none.c_str(), "");
}

TEST(TString, AssignFromItsOwnText) {
    TString a("hello world");
    a.Assign(a.c_str() + 6);
    EXPECT_STREQ(a.c_str(), "world");
}

TEST(TString, FormatNeverWritesPastItsBuffer) {
    TString s;
    s.Format("Sprite%d.png", 12);
    EXPECT_STREQ(s.c_str(), "Sprite12.png");
    std::string big(5000, 'a');
    s.Format("%s-%s", big.c_str(), big.c_str());
    EXPECT_EQ(s.Length(), 1023u);
}

TEST(Paths, JoinPathInsertsNoSeparator) {
    EXPECT_STREQ(JoinPath(kSoundFolder, "bgm.ogg").c_str(), "Sound\\bgm.ogg");
    EXPECT_STREQ(JoinPath("", "name.bin").c_str(), "name.bin");
}

TEST(Paths, SpritePathsAreUnpadded) {
    EXPECT_STREQ(MakeSpritePath(12).c_str(), "Sprite\\Sprite12.png");
    EXPECT_STREQ(MakeSpritePath(0).c_str(), "Sprite\\Sprite0.png");
}

TEST(Paths, FixedTextsAreCp932) {
    EXPECT_STREQ(kUnregistered.c_str(), "<\x96\xa2\x93\x6f\x98\x5e>");
    EXPECT_STREQ(Sjis("\xE6\x88\xBB\xE3\x82\x8B").c_str(), "\x96\xdf\x82\xe9");  // 戻る
}
