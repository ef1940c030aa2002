// The program's own files: the two settings flags, the best score and the error file, byte
// for byte, and what happens when they are short, missing or cannot be written.
#include "shell/program_files.h"

#include <gtest/gtest.h>

#include "base/paths.h"
#include "media/host.h"
#include "media/inspect.h"
#include "media/media.h"
#include "support/temp_dir.h"

namespace {

class ProgramFilesTest : public ::testing::Test {
protected:
    TempDir dir;
    ScopedCwd cwd{dir.path()};
};

TEST_F(ProgramFilesTest, SettingsAreTwoFlagsAndAShortFileChangesOnlyItsBytes) {
    const struct {
        std::string bytes;                              // empty: no file
        TSetting after;                                 // loaded over {1, 0}
    } cases[] = {{std::string("\x00\x01", 2), {0, 1}},  // windowed, no frame rate
                 {std::string("\x05", 1), {5, 0}},      // any value but 0 is on, kept as stored
                 {"", {1, 0}}};
    for (const auto& c : cases) {
        if (!c.bytes.empty()) dir.WriteFile("Setting.bin", c.bytes);
        TSetting s{1, 0};
        EXPECT_EQ(LoadSettings(s), !c.bytes.empty());
        EXPECT_EQ(std::make_pair(s.showFps, s.windowed),
                  std::make_pair(c.after.showFps, c.after.windowed));
        std::remove("Setting.bin");
    }
    dir.WriteFile("Setting.bin", std::string("\x07\x07\x07\x07", 4));
    EXPECT_TRUE(SaveSettings(TSetting{1, 0}));
    EXPECT_EQ(dir.ReadFile("Setting.bin"), std::string("\x01\x00", 2));
    EXPECT_FALSE(dir.Exists("Setting.bin.tmp"));
}

TEST_F(ProgramFilesTest, BestScoreIsStoredLittleEndianAndIsZeroWhenUnreadable) {
    EXPECT_EQ(LoadBestScore(), 0u);
    EXPECT_TRUE(SaveBestScore(0x89ABCDEFu));
    EXPECT_EQ(dir.ReadFile("Score.bin"), "\xEF\xCD\xAB\x89");
    EXPECT_EQ(LoadBestScore(), 0x89ABCDEFu);
    dir.WriteFile("Score.bin", std::string("\xD2\x04", 2));  // the bytes it lacks count as 0
    EXPECT_EQ(LoadBestScore(), 1234u);
    std::remove("Score.bin");
    dir.MakeDir("Score.bin");
    EXPECT_EQ(LoadBestScore(), 0u);
    EXPECT_FALSE(SaveBestScore(5));
}

TEST_F(ProgramFilesTest, ErrorFileHoldsTheLengthTheMessageAndItsTerminator) {
    // "メニューフレーム画像が見つかりませんでした。" in cp932: 44 bytes.
    const std::string frameMessage =
        "\x83\x81\x83\x6a\x83\x85\x81\x5b\x83\x74\x83\x8c\x81\x5b\x83\x80\x89\xe6\x91\x9c\x82\xaa"
        "\x8c\xa9\x82\xc2\x82\xa9\x82\xe8\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81\x42";
    WriteErrorFile(Sjis("メニューフレーム画像が見つかりませんでした。"));
    EXPECT_EQ(dir.ReadFile("Error.bin"), std::string("\x2D\x00\x00\x00", 4) + frameMessage + '\0');
    WriteErrorFile("");
    EXPECT_EQ(dir.ReadFile("Error.bin"), std::string("\x01\x00\x00\x00\x00", 5));
    // It shuts the media layer down even when it cannot be written.
    media::SetHost(media::CreateHeadlessHost());
    SetAppLogEnabled(0);
    ASSERT_EQ(MediaInit(), 0);
    std::remove("Error.bin");
    dir.MakeDir("Error.bin");
    WriteErrorFile("x");
    EXPECT_FALSE(media::MediaRunning());
}

}  // namespace
