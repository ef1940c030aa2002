#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>

#include "project/definition_files.h"
#include "project/project.h"
#include "project_fixture.h"

namespace {

using LoadProjectTest = ProjectTest;

TEST_F(LoadProjectTest, GlobalFileGivesSceneStartTitleAndFlagAndTheKindsAreLoaded) {
    std::string title = Cp932("弾幕遊戯");  // kept as its cp932 bytes
    // The first and the last record of every table.
    writer.Global({3, title, 1}).Sprite(0, SpriteFile{"Zero"}).Sprite(1023, SpriteFile{"Last"});
    writer.Sound(0, {"", 0, "a", 64}).Sound(255, {"", 0, "a", 128}).Player(PlayerFile{0, 0, 20.0});
    writer.Bullet(0, {"b", 0, 1, 0, 4}).Bullet(255, {"b", 0, 1, 0, 3}).Item(0, {"i", 0, 3});
    writer.Item(255, {"i", 0, 2}).Enemy(0, {"e", 5}).Enemy(255, {"e", 7}).Map(0, {"m", 8});
    writer.Map(255, {"m", 9}).Scene({{{8, 0, 0, 0, 0, 0, 0}}}).Order({{2, 1, 0}});

    LoadProject(*project);

    EXPECT_EQ(project->sceneStart, 3);
    EXPECT_EQ(project->windowTitle, title.c_str());
    EXPECT_EQ(project->globalFlag, 1);
    EXPECT_EQ(project->sprites[0].name, "Zero");
    EXPECT_EQ(project->sprites[1023].name, "Last");
    const TProject& p = *project;
    EXPECT_EQ((std::vector<int>{p.sounds[0].volume, p.sounds[255].volume, p.bullets[0].sound,
                                p.bullets[255].sound, p.items[0].attribute, p.items[255].attribute,
                                p.enemies[0].sprite, p.enemies[255].sprite, p.maps[0].value,
                                p.maps[255].value}),
              (std::vector<int>{64, 128, 4, 3, 3, 2, 5, 7, 8, 9}));
    EXPECT_EQ(project->player.moveSpeed, 20.0);
    EXPECT_EQ(project->scene.size(), 1u);
    EXPECT_EQ(project->mapOrder, (std::vector<int32_t>{2, 1, 0}));
}

// A "Global.bin" cut short still loads the kinds; one that cannot be read loads nothing and
// upgrades nothing.
TEST_F(LoadProjectTest, ACutGlobalFileStillLoadsTheKindsAndAnUnreadableOneNothing) {
    writer.File("Global/Global.bin", GlobalFile{7, "Long title", 1}.Encode().Prefix(6));
    writer.Item(0, {"i", 0, 0, 500}).Sprite(0, SpriteFile{"Title"});
    dir.WriteFile("Sprite3.png", "png");
    LoadProject(*project);
    EXPECT_EQ(project->sceneStart, 7);
    EXPECT_EQ(project->windowTitle, "Orvan");
    EXPECT_EQ(project->items[0].score, 500);
    std::remove((dir / "Global/Global.bin").c_str());
    dir.MakeDir("Global/Global.bin");  // there, but not readable as a file
    auto unread = std::make_unique<TProject>();
    LoadProject(*unread);
    EXPECT_EQ(unread->sprites[0].name, kUnregisteredCp932);
    EXPECT_TRUE(dir.Exists("Sprite3.png"));
}

using LayoutUpgradeTest = ProjectTest;

// Without "Global.bin" the kind folders are made and the files the editor's older layout kept
// in the data folder are moved into them; nothing already there is overwritten.
TEST_F(LayoutUpgradeTest, MakesTheKindFoldersAndMovesImagesAndTheDefaultSoundFile) {
    const std::string sound = "<未登録>.wav";  // as the host names it
    for (const char* name : {"Sprite0.png", "Sprite12.png", "Sprite1023.png", "Sprite1024.png",
                             "Sprite012.png", "Sprite5.png"})
        dir.WriteFile(name, name);
    dir.WriteFile("Sprite/Sprite5.png", "old");
    dir.WriteFile(sound, "RIFF");
    LoadProject(*project);

    for (const char* kind : {"Bullet", "Enemy", "Global", "Item", "Map", "Sound", "Sprite"}) {
        struct stat st;
        ASSERT_EQ(::stat((dir / kind).c_str(), &st), 0) << kind;
        EXPECT_TRUE(S_ISDIR(st.st_mode)) << kind;
    }
    for (const std::string name : {"Sprite0.png", "Sprite12.png", "Sprite1023.png"}) {
        EXPECT_EQ(dir.ReadFile("Sprite/" + name), name);
        EXPECT_FALSE(dir.Exists(name)) << name;
    }
    // Only the numbers of the table, without padding, are moved.
    EXPECT_TRUE(dir.Exists("Sprite1024.png"));
    EXPECT_TRUE(dir.Exists("Sprite012.png"));
    EXPECT_EQ(dir.ReadFile("Sprite/Sprite5.png"), "old");
    EXPECT_EQ(dir.ReadFile("Sprite5.png"), "Sprite5.png");
    EXPECT_EQ(dir.ReadFile("Sound/" + sound), "RIFF");
    EXPECT_FALSE(dir.Exists(sound));
    EXPECT_FALSE(dir.Exists("Global/Global.bin"));  // nothing is written
    EXPECT_EQ(project->windowTitle, "Orvan");

    // A second run finds the moved sound file already in place and leaves both alone.
    dir.WriteFile(sound, "new");
    LoadProject(*std::make_unique<TProject>());
    EXPECT_EQ(dir.ReadFile("Sound/" + sound), "RIFF");
    EXPECT_EQ(dir.ReadFile(sound), "new");
}

TEST_F(LayoutUpgradeTest, KindFilesAreNotReadUntilTheNextRun) {
    writer.Sprite(2, SpriteFile{"Ship"}).Player(PlayerFile{0, 0, 80.0}).Order({{1}});
    writer.Scene({{{0, 60, 0, 0, 0, 0, 0}}});
    LoadProject(*project);
    EXPECT_EQ(project->sprites[2].name, kUnregisteredCp932);
    EXPECT_EQ(project->player.moveSpeed, 40.0);
    EXPECT_TRUE(project->scene.empty());
    EXPECT_TRUE(project->mapOrder.empty());
    writer.Global();
    auto next = std::make_unique<TProject>();
    LoadProject(*next);
    EXPECT_EQ(next->sprites[2].name, "Ship");
}

}  // namespace
