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

TEST_F(ProgramFilesTest, SettingsAreTheTwoStoredFlagsAndAShortFileChangesOnlyItsBytes) {
    struct Case {
        std::string bytes;
        TSetting before, after;
    };
    const Case cases[] = {
        {std::string("\x00\x01", 2), {1, 0}, {0, 1}},  // windowed, no frame rate
        {std::string("\x01\x00", 2), {0, 1}, {1, 0}},  // full screen, frame rate shown
        {std::string("\x05", 1), {0, 1}, {5, 1}},      // any value but 0 is on; kept as stored
    };
    for (const Case& c : cases) {
        dir.WriteFile("Setting.bin", c.bytes);
        TSetting s = c.before;
        EXPECT_TRUE(LoadSettings(s));
        EXPECT_EQ(s.showFps, c.after.showFps) << c.bytes.size();
        EXPECT_EQ(s.windowed, c.after.windowed) << c.bytes.size();
    }
}

TEST_F(ProgramFilesTest, MissingOrUnreadableSettingsKeepTheirValues) {
    TSetting s{1, 0};
    EXPECT_FALSE(LoadSettings(s));
    dir.MakeDir("Setting.bin");
    EXPECT_FALSE(LoadSettings(s));
    EXPECT_EQ(s.showFps, 1);
    EXPECT_EQ(s.windowed, 0);
}

TEST_F(ProgramFilesTest, SavedSettingsAreExactlyTwoBytesReplacingTheOldFile) {
    dir.WriteFile("Setting.bin", std::string("\x07\x07\x07\x07", 4));
    EXPECT_TRUE(SaveSettings(TSetting{1, 0}));
    EXPECT_EQ(dir.ReadFile("Setting.bin"), std::string("\x01\x00", 2));
    EXPECT_FALSE(dir.Exists("Setting.bin.tmp"));
}

TEST_F(ProgramFilesTest, BestScoreIsStoredLittleEndian) {
    EXPECT_TRUE(SaveBestScore(1234));
    EXPECT_EQ(dir.ReadFile("Score.bin"), std::string("\xD2\x04\x00\x00", 4));
    EXPECT_EQ(LoadBestScore(), 1234u);
    SaveBestScore(0x89ABCDEFu);
    EXPECT_EQ(dir.ReadFile("Score.bin"), "\xEF\xCD\xAB\x89");
    EXPECT_EQ(LoadBestScore(), 0x89ABCDEFu);
    // The bytes a short file lacks count as zero.
    dir.WriteFile("Score.bin", std::string("\xD2\x04", 2));
    EXPECT_EQ(LoadBestScore(), 1234u);
}

TEST_F(ProgramFilesTest, MissingUnreadableOrUnwritableScoreIsZeroAndQuiet) {
    EXPECT_EQ(LoadBestScore(), 0u);
    dir.MakeDir("Score.bin");
    EXPECT_EQ(LoadBestScore(), 0u);
    EXPECT_FALSE(SaveBestScore(5));
}

TEST_F(ProgramFilesTest, ErrorFileHoldsTheMessageLengthTheMessageAndItsTerminator) {
    // "メニューフレーム画像が見つかりませんでした。" in cp932: 44 bytes.
    const std::string frameMessage =
        "\x83\x81\x83\x6a\x83\x85\x81\x5b\x83\x74\x83\x8c\x81\x5b\x83\x80\x89\xe6\x91\x9c\x82\xaa"
        "\x8c\xa9\x82\xc2\x82\xa9\x82\xe8\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81\x42";
    TString message = Sjis("メニューフレーム画像が見つかりませんでした。");
    ASSERT_EQ(std::string(message.c_str()), frameMessage);
    WriteErrorFile(message);
    EXPECT_EQ(dir.ReadFile("Error.bin"), std::string("\x2D\x00\x00\x00", 4) + frameMessage + '\0');
    WriteErrorFile("");
    EXPECT_EQ(dir.ReadFile("Error.bin"), std::string("\x01\x00\x00\x00\x00", 5));
}

TEST_F(ProgramFilesTest, ErrorFileShutsTheMediaLayerDownEvenWhenItCannotBeWritten) {
    media::SetHost(media::CreateHeadlessHost());
    SetAppLogEnabled(0);
    ASSERT_EQ(MediaInit(), 0);
    ASSERT_TRUE(media::MediaRunning());
    dir.MakeDir("Error.bin");
    WriteErrorFile("x");
    EXPECT_FALSE(media::MediaRunning());
}

}  // namespace
