// Clocks, the game's random numbers, files under names of either case and in cp932, and zip
// archives from outside, hostile ones refused without a byte written outside the target.
#include "sys/sys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/temp_dir.h"
#include "support/zip_writer.h"
#include "sys/zip_archive.h"

TEST(Clock, VirtualMovesOnlyWhenSleepingAndWrapsAsUnsignedRealAdvances) {
    sys::UseVirtualClock(true, 0xFFFFFFF0u);
    EXPECT_EQ(sys::TimeGetTime(), 0xFFFFFFF0u);
    EXPECT_EQ(sys::TimeGetTime(), 0xFFFFFFF0u);
    sys::Sleep(32);
    EXPECT_EQ(sys::TimeGetTime(), 0x10u);
    sys::UseVirtualClock(false);
    uint32_t real = sys::TimeGetTime();
    sys::Sleep(5);
    EXPECT_GE(sys::TimeGetTime() - real, 4u);
}

// The game's generator, on which every replay and scripted run depends: seeded with 1 it gives
// the classic sequence, a seed repeats its stream, and every draw is counted and in 0..32767.
TEST(Random, SeedsRepeatTheClassicStreamAndDrawsAreCountedAndInRange) {
    sys::SeedRandom(1);
    for (int v : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(sys::Rand(), v);
    sys::SeedRandom(12345);
    std::vector<int> first;
    const uint64_t before = sys::RandCalls();
    for (int i = 0; i < 10000; ++i) first.push_back(sys::Rand());
    EXPECT_EQ(sys::RandCalls() - before, 10000u);
    EXPECT_GE(*std::min_element(first.begin(), first.end()), 0);
    EXPECT_LE(*std::max_element(first.begin(), first.end()), 32767);
    sys::SeedRandom(12345);
    for (int v : first) ASSERT_EQ(sys::Rand(), v);
}

// Backslashes become slashes, names are found whatever their case, and cp932 names are
// converted whole: the trail byte of "ソ" (0x83 0x5C) must not split the name.
TEST(HostPath, FindsNamesWhoseCaseDiffersIncludingCp932Names) {
    TempDir dir;
    dir.WriteFile("sprite/SPRITE3.PNG", "x");
    dir.WriteFile("Sound/\xE3\x82\xBD.wav", "x");                            // ソ.wav in UTF-8
    dir.WriteFile("Sound/<\xE6\x9C\xAA\xE7\x99\xBB\xE9\x8C\xB2>.wav", "y");  // <未登録>.wav
    ScopedCwd cwd(dir.path());
    EXPECT_EQ(sys::HostPath("Sprite\\Sprite3.png"), "sprite/SPRITE3.PNG");
    EXPECT_TRUE(sys::FileExists("SPRITE\\sprite3.png"));
    // A missing name keeps its spelling so that it can be created.
    EXPECT_EQ(sys::HostPath("Sprite\\New.bin"), "sprite/New.bin");
    EXPECT_TRUE(sys::FileExists("Sound\\\x83\x5C.wav"));
    EXPECT_TRUE(sys::FileExists("Sound\\<\x96\xa2\x93\x6f\x98\x5e>.wav"));
}

TEST(Files, MoveNeverReplacesATargetWritesReplaceTheWholeFileFoldersIgnoreCase) {
    TempDir dir;
    dir.WriteFile("a.txt", "new");
    dir.WriteFile("b.txt", "old");
    dir.WriteFile("Score.bin", std::string("\x01\x02\x03\x04\x05\x06", 6));
    ScopedCwd cwd(dir.path());
    EXPECT_FALSE(sys::MoveFile("a.txt", "b.txt"));
    EXPECT_EQ(dir.ReadFile("b.txt"), "old");
    EXPECT_EQ(dir.ReadFile("a.txt"), "new");
    EXPECT_TRUE(sys::MoveFile("a.txt", "c.txt"));
    EXPECT_FALSE(dir.Exists("a.txt"));
    EXPECT_EQ(dir.ReadFile("c.txt"), "new");
    EXPECT_FALSE(sys::MoveFile("missing.txt", "d.txt"));
    ASSERT_TRUE(sys::WriteFileAtomically("Score.bin", "\xD2\x04\x00\x00", 4));
    EXPECT_EQ(dir.ReadFile("Score.bin"), std::string("\xD2\x04\x00\x00", 4));
    EXPECT_FALSE(dir.Exists("Score.bin.tmp"));
    EXPECT_TRUE(sys::CreateDirectory("Data\\"));
    EXPECT_FALSE(sys::CreateDirectory("Data\\"));     // already there
    EXPECT_TRUE(sys::SetCurrentDirectory("data\\"));  // case-insensitive match
    EXPECT_TRUE(sys::CreateDirectory("Global\\"));
    EXPECT_TRUE(dir.Exists("Data/Global"));
    EXPECT_FALSE(sys::SetCurrentDirectory("Nowhere\\"));
}

TEST(Encoding, RoundTripsJapaneseText) {
    std::string utf8 = "\xE3\x83\xA1\xE3\x83\x8B\xE3\x83\xA5\xE3\x83\xBC";  // メニュー
    std::string sjis = sys::Utf8ToCp932(utf8);
    EXPECT_EQ(sjis, "\x83\x81\x83\x6A\x83\x85\x81\x5B");
    EXPECT_EQ(sys::Cp932ToUtf8(sjis), utf8);
    // Broken input never stops the conversion.
    EXPECT_EQ(sys::Cp932ToUtf8("A\x83"), "A?");
}

namespace fs = std::filesystem;

namespace {

// Unpacks the archive into dir/out; returns the message ("" when it was unpacked).
std::string Unpack(const TempDir& dir, const std::string& zip) {
    dir.WriteFile("a.zip", zip);
    dir.MakeDir("out");
    sys::ZipFile file;
    std::string error;
    if (!file.Open(dir / "a.zip", &error)) return error;
    return file.UnpackTo(dir / "out", &error) ? "" : error.empty() ? "?" : error;
}

}  // namespace

TEST(Zip, UnpacksStoredAndDeflatedFilesUnderCp932AndUtf8Names) {
    TempDir dir;
    const std::string big(100000, 'a');
    EXPECT_EQ(Unpack(dir, MakeZip({
                              {"Data/", ""},
                              {"Data/Global/Global.bin", "stored"},
                              {"Data/Sprite\\Sprite1.png", big, true},  // a Windows separator
                              {"Data/\x83\x5C.wav", "cp932", true},     // ソ.wav, no flag
                              {"Data/\xE3\x83\x86.ogg", "utf8", false, true},  // テ.ogg, flagged
                              {"./Data/./readme.txt", "dots"},
                          })),
              "");
    EXPECT_EQ(dir.ReadFile("out/Data/Global/Global.bin"), "stored");
    EXPECT_EQ(dir.ReadFile("out/Data/Sprite/Sprite1.png"), big);
    EXPECT_EQ(dir.ReadFile("out/Data/\xE3\x82\xBD.wav"), "cp932");
    EXPECT_EQ(dir.ReadFile("out/Data/\xE3\x83\x86.ogg"), "utf8");
    EXPECT_EQ(dir.ReadFile("out/Data/readme.txt"), "dots");
}

TEST(Zip, RefusesHostileArchivesWithoutWritingOutsideItsFolder) {
    const std::string zeros(1 << 20, '\0');
    ZipItem bomb{"x.bin", zeros, true};
    bomb.claimedSize = 1000;  // says little, inflates to a megabyte
    ZipItem huge{"x.bin", "tiny", true};
    huge.claimedSize = int64_t(1) << 31;
    ZipItem second{"y.bin", ""};
    second.sharesDataWith = 0;
    ZipItem crypted{"x.bin", "secret"};
    std::string damaged = MakeZip({{"x.bin", "some data"}});
    damaged[30 + 5] = 'X';  // inside the stored bytes, after the 30-byte header and "x.bin"
    std::string encrypted = MakeZip({crypted});
    encrypted[30 + 5 + 6 + 8] = 1;  // the directory's flags, after the local entry
    struct Case {
        const char* what;
        std::string zip;
        const char* message;
    } cases[] = {
        {"parent", MakeZip({{"../evil.txt", "x"}}), "unpacked safely"},
        {"deep parent", MakeZip({{"Data/../../evil.txt", "x"}}), "unpacked safely"},
        {"absolute", MakeZip({{"/tmp/evil.txt", "x"}}), "unpacked safely"},
        {"backslash root", MakeZip({{"\\evil.txt", "x"}}), "unpacked safely"},
        {"bad UTF-8", MakeZip({{"\xFF.txt", "x", false, true}}), "unpacked safely"},
        {"claims more than it may", MakeZip({huge}), "too much for its size"},
        {"inflates beyond its size", MakeZip({bomb}), "damaged"},
        {"overlapping entries", MakeZip({{"x.bin", "data"}, second}), "overlap"},
        {"same name twice", MakeZip({{"x.bin", "1"}, {"x.bin", "2"}}), "twice"},
        {"not a zip", std::string(100, 'z'), "not a zip"},
        {"cut short", MakeZip({{"x.bin", "data"}}).substr(0, 40), "not a zip"},
        {"encrypted", encrypted, "encrypted"},
        {"damaged data", damaged, "damaged"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        EXPECT_NE(Unpack(dir, c.zip).find(c.message), std::string::npos) << c.what;
        // a.zip and out, nothing beside them (no evil.txt), and nothing in /tmp
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 2) << c.what;
        EXPECT_FALSE(fs::exists("/tmp/evil.txt")) << c.what;
    }
}
