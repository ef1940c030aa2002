// Zip archives come from outside: what is unpacked, how names are read, and every kind of
// hostile archive refused without a byte written outside the target folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"
#include "support/zip_writer.h"
#include "sys/zip_archive.h"

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
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir.path()))
            names.push_back(e.path().filename().string());
        EXPECT_EQ(names.size(), 2u) << c.what;  // a.zip and out, nothing beside them
        EXPECT_FALSE(dir.Exists("evil.txt")) << c.what;
        EXPECT_FALSE(fs::exists("/tmp/evil.txt")) << c.what;
    }
}
