// What `orvan GAME` plays and where a game's own files go: every kind of game is found, what
// is not a game is refused untouched, and a game that must not be written is only read.
#include "shell/launch.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "base/paths.h"
#include "project/project.h"
#include "shell/program_files.h"
#include "support/temp_dir.h"
#include "support/zip_writer.h"
#include "sys/sys.h"

namespace fs = std::filesystem;

namespace {

// Every file and folder below 'folder', for "nothing changed" checks.
std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        out.push_back(fs::relative(e.path(), folder).string());
    std::sort(out.begin(), out.end());
    return out;
}

class LaunchTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
        setenv("XDG_CACHE_HOME", (home / "cache").c_str(), 1);
    }
    void TearDown() override {
        unsetenv("XDG_DATA_HOME");
        unsetenv("XDG_CACHE_HOME");
        sys::SetDataFolderReadOnly(false);
        sys::SetProgramFilesFolder("");
    }
    bool Resolve(const std::string& game, std::string* error = nullptr) {
        TRunOptions options;
        options.game = game;
        std::string ignored;
        return ResolveLaunch(options, &launch, error ? error : &ignored);
    }
    TempDir games, home;
    TLaunch launch;
};

// (A folder holding Data plays through the binary in install_e2e_test.cpp.)
TEST_F(LaunchTest, FindsTheDataFolderOfEveryKindOfGame) {
    const std::string global = "Global/Global.bin";
    games.WriteFile("Lower/data/" + global, "g");
    games.WriteFile("Own/" + global, "g");
    games.MakeDir("Plain/Data");
    games.WriteFile("Wrapped/Game v1/Data/" + global, "g");
    games.WriteFile("Star Raid.zip", MakeZip({{"Star Raid/Data/" + global, "g"}}));
    const struct {
        std::string game, data;
    } cases[] = {
        {"Lower", "Lower/data"},
        {"Own", "Own"},
        {"Plain/Data", "Plain/Data"},
        {"Wrapped", "Wrapped/Game v1/Data"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Resolve(games / c.game)) << c.game;
        EXPECT_EQ(launch.dataFolder, fs::canonical(games / c.data).string()) << c.game;
        // Writable: the game's own files stay in it.
        EXPECT_TRUE(!launch.readOnly && launch.programFiles.empty()) << c.game;
    }
    // A zip is unpacked into the cache and only read; its own files get a folder named after it.
    ASSERT_TRUE(Resolve(games / "Star Raid.zip"));
    EXPECT_TRUE(fs::exists(launch.dataFolder + "/" + global)) << launch.dataFolder;
    EXPECT_EQ(launch.dataFolder.rfind(home / "cache/orvan/zip/Star Raid-", 0), 0u);
    EXPECT_TRUE(launch.readOnly);
    EXPECT_EQ(fs::path(launch.programFiles).parent_path(), home / "data/orvan");
    EXPECT_EQ(fs::path(launch.programFiles).filename().string().rfind("Star Raid-", 0), 0u);
    EXPECT_TRUE(fs::is_directory(launch.programFiles));
    // Two games of the same name never share their files.
    EXPECT_NE(GameFilesFolderName("Star Raid", "/a/Star Raid.zip"),
              GameFilesFolderName("Star Raid", "/b/Star Raid.zip"));
    EXPECT_EQ(GameFilesFolderName("a/b\n", "x").substr(0, 5), "a_b_-");
    std::string kana;  // 25 x ア: cut to 60 bytes, whole characters only
    for (int i = 0; i < 25; ++i) kana += "\xE3\x82\xA2";
    EXPECT_EQ(GameFilesFolderName(kana, "x").substr(0, 61), kana.substr(0, 60) + "-");
}

TEST_F(LaunchTest, WhatIsNotAGameIsRefusedAndNothingIsCreatedInIt) {
    games.MakeDir("Empty");
    games.WriteFile("Two/one/readme.txt", "r");
    games.MakeDir("Two/other");
    games.WriteFile("notes.txt", "not a zip");
    games.WriteFile("NoData.zip", MakeZip({{"Game/readme.txt", "r"}}));
    const auto before = Listing(games.path());
    const std::pair<const char*, const char*> cases[] = {
        {"Empty", "is not a game: it holds no Data folder"},
        {"Two", "is not a game: it holds no Data folder"},
        {"notes.txt", "is not a game: it is not a zip archive"},
        {"NoData.zip", "is not a game: it holds no Data folder"},
        {"missing", "cannot find the game"}};
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(Resolve(games / c.first, &error)) << c.first;
        EXPECT_NE(error.find(c.second), std::string::npos) << c.first << ": " << error;
    }
    EXPECT_EQ(Listing(games.path()), before);
    EXPECT_FALSE(home.Exists("data") || home.Exists("cache"));
}

TEST_F(LaunchTest, AReadOnlyGameIsReadInPlaceAndItsOwnFilesGoElsewhere) {
    // The old flat layout, and a best score the game was handed out with.
    games.WriteFile("Data/Sprite0.png", "png");
    games.WriteFile(std::string("Data/") + "<\xE6\x9C\xAA\xE7\x99\xBB\xE9\x8C\xB2>.wav", "wav");
    games.WriteFile("Data/Score.bin", std::string("\xD2\x04\x00\x00", 4));  // 1234
    home.MakeDir("own");
    const auto before = Listing(games.path());
    ScopedCwd cwd(games / "Data");
    sys::SetDataFolderReadOnly(true);
    sys::SetProgramFilesFolder(home / "own");

    TProject project;
    LoadProject(project);  // the layout upgrade, which may move nothing here
    EXPECT_TRUE(sys::FileExists("Sprite\\"));
    EXPECT_TRUE(sys::FileExists(MakeSpritePath(0).c_str()));
    EXPECT_FALSE(sys::FileExists("Sprite0.png"));
    EXPECT_TRUE(sys::FileExists(JoinPath(kSoundFolder, project.sounds[0].fileName).c_str()));

    EXPECT_EQ(LoadBestScore(), 1234u);  // the game's own, while there is none of ours
    EXPECT_TRUE(SaveBestScore(5678));
    EXPECT_EQ(LoadBestScore(), 5678u);
    EXPECT_EQ(home.ReadFile("own/Score.bin"), std::string("\x2E\x16\x00\x00", 4));
    EXPECT_EQ(sys::OpenFile("New.bin", "wb"), nullptr);
    EXPECT_EQ(Listing(games.path()), before);
}

}  // namespace
