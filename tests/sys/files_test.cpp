#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "sys/sys.h"

TEST(HostPath, TurnsBackslashesIntoSlashes) {
    TempDir dir;
    dir.WriteFile("Sprite/Sprite12.png", "x");
    ScopedCwd cwd(dir.path());
    EXPECT_EQ(sys::HostPath("Sprite\\Sprite12.png"), "Sprite/Sprite12.png");
    EXPECT_TRUE(sys::FileExists("Sprite\\Sprite12.png"));
}

TEST(HostPath, FindsNamesWhoseCaseDiffers) {
    TempDir dir;
    dir.WriteFile("sprite/SPRITE3.PNG", "x");
    ScopedCwd cwd(dir.path());
    EXPECT_EQ(sys::HostPath("Sprite\\Sprite3.png"), "sprite/SPRITE3.PNG");
    EXPECT_TRUE(sys::FileExists("SPRITE\\sprite3.png"));
    // A missing name keeps its spelling so that it can be created.
    EXPECT_EQ(sys::HostPath("Sprite\\New.bin"), "sprite/New.bin");
}

TEST(HostPath, ConvertsCp932NamesIncludingTrailBytesThatLookLikeBackslashes) {
    TempDir dir;
    // "ソ" is 0x83 0x5C in cp932: its second byte must not split the name.
    dir.WriteFile("Sound/\xE3\x82\xBD.wav", "x");                            // ソ.wav in UTF-8
    dir.WriteFile("Sound/<\xE6\x9C\xAA\xE7\x99\xBB\xE9\x8C\xB2>.wav", "y");  // <未登録>.wav
    ScopedCwd cwd(dir.path());
    EXPECT_TRUE(sys::FileExists("Sound\\\x83\x5C.wav"));
    EXPECT_TRUE(sys::FileExists("Sound\\<\x96\xa2\x93\x6f\x98\x5e>.wav"));
}

TEST(Files, MoveNeverReplacesAnExistingTarget) {
    TempDir dir;
    dir.WriteFile("a.txt", "new");
    dir.WriteFile("b.txt", "old");
    ScopedCwd cwd(dir.path());
    EXPECT_FALSE(sys::MoveFile("a.txt", "b.txt"));
    EXPECT_EQ(dir.ReadFile("b.txt"), "old");
    EXPECT_EQ(dir.ReadFile("a.txt"), "new");
    EXPECT_TRUE(sys::MoveFile("a.txt", "c.txt"));
    EXPECT_FALSE(dir.Exists("a.txt"));
    EXPECT_EQ(dir.ReadFile("c.txt"), "new");
    EXPECT_FALSE(sys::MoveFile("missing.txt", "d.txt"));
}

TEST(Files, FoldersAndCurrentDirectory) {
    TempDir dir;
    ScopedCwd cwd(dir.path());
    EXPECT_TRUE(sys::CreateDirectory("Data\\"));
    EXPECT_FALSE(sys::CreateDirectory("Data\\"));     // already there
    EXPECT_TRUE(sys::SetCurrentDirectory("data\\"));  // case-insensitive match
    EXPECT_TRUE(sys::CreateDirectory("Global\\"));
    EXPECT_TRUE(dir.Exists("Data/Global"));
    EXPECT_FALSE(sys::SetCurrentDirectory("Nowhere\\"));
}

TEST(Files, AtomicWriteReplacesTheWholeFile) {
    TempDir dir;
    ScopedCwd cwd(dir.path());
    dir.WriteFile("Score.bin", std::string("\x01\x02\x03\x04\x05\x06", 6));
    ASSERT_TRUE(sys::WriteFileAtomically("Score.bin", "\xD2\x04\x00\x00", 4));
    EXPECT_EQ(dir.ReadFile("Score.bin"), std::string("\xD2\x04\x00\x00", 4));
    EXPECT_FALSE(dir.Exists("Score.bin.tmp"));
}

TEST(Encoding, RoundTripsJapaneseText) {
    std::string utf8 = "\xE3\x83\xA1\xE3\x83\x8B\xE3\x83\xA5\xE3\x83\xBC";  // メニュー
    std::string sjis = sys::Utf8ToCp932(utf8);
    EXPECT_EQ(sjis, "\x83\x81\x83\x6A\x83\x85\x81\x5B");
    EXPECT_EQ(sys::Cp932ToUtf8(sjis), utf8);
    // Broken input never stops the conversion.
    EXPECT_EQ(sys::Cp932ToUtf8("A\x83"), "A?");
}
