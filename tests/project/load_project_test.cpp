#include <gtest/gtest.h>
#include <sys/stat.h>

#include "project/definition_files.h"
#include "project/project.h"
#include "project_fixture.h"

namespace {

// "<未登録>.wav" as the host names it.
const char kDefaultSoundFileUtf8[] = "<未登録>.wav";

using LoadProjectTest = ProjectTest;

TEST_F(LoadProjectTest, ConstructionGivesTheDefaultsOfEveryTable) {
    const TProject& p = *project;
    EXPECT_EQ(p.sceneStart, 0);
    EXPECT_EQ(p.windowTitle, "Orvan");
    EXPECT_EQ(p.globalFlag, 0);
    EXPECT_EQ(p.sprites.size(), 1024u);
    EXPECT_EQ(p.sounds.size(), 256u);
    EXPECT_EQ(p.bullets.size(), 256u);
    EXPECT_EQ(p.items.size(), 256u);
    EXPECT_EQ(p.enemies.size(), 256u);
    EXPECT_EQ(p.maps.size(), 256u);
    EXPECT_TRUE(p.scene.empty());
    EXPECT_TRUE(p.mapOrder.empty());
    EXPECT_EQ(p.sprites[1023].name, kUnregisteredCp932);
    EXPECT_EQ(p.sounds[255].fileName, (std::string(kUnregisteredCp932) + ".wav").c_str());
    EXPECT_EQ(p.sounds[0].handle, -1);
    EXPECT_EQ(p.maps[255].name, kUnregisteredCp932);
}

TEST_F(LoadProjectTest, GlobalFileGivesSceneStartTitleAndFlag) {
    writer.Global({3, "Zeta", 1});
    LoadProject(*project);
    EXPECT_EQ(project->sceneStart, 3);
    EXPECT_EQ(project->windowTitle, "Zeta");
    EXPECT_EQ(project->globalFlag, 1);
}

TEST_F(LoadProjectTest, JapaneseTitleIsKeptAsCp932Bytes) {
    std::string title = Cp932("弾幕ゲーム");
    writer.Global({0, title, 0});
    LoadProject(*project);
    EXPECT_EQ(project->windowTitle, title.c_str());
}

TEST_F(LoadProjectTest, EveryKindIsLoadedOnceGlobalFileIsPresent) {
    writer.Global();
    SpriteFile sprite;
    sprite.name = "Title";
    writer.Sprite(0, sprite);
    SoundFile sound;
    sound.volume = 128;
    writer.Sound(10, sound);
    PlayerFile player;
    player.initialLife = 5;
    writer.Player(player);
    BulletFile bullet;
    bullet.sound = 3;
    writer.Bullet(255, bullet);
    ItemFile item;
    item.attribute = 2;
    writer.Item(1, item);
    EnemyFile enemy;
    enemy.actions = {Action(0, 25)};
    writer.Enemy(2, enemy);
    writer.Scene({{{8, 0, 0, 0, 0, 0, 0}}});
    MapFile map;
    map.value = 9;
    writer.Map(3, map);
    writer.Order({{2, 1, 0}});

    LoadProject(*project);

    EXPECT_EQ(project->sprites[0].name, "Title");
    EXPECT_EQ(project->sounds[10].volume, 128);
    EXPECT_EQ(project->player.initialLife, 5);
    EXPECT_EQ(project->bullets[255].sound, 3);
    EXPECT_EQ(project->items[1].attribute, 2);
    ASSERT_EQ(project->enemies[2].actions.size(), 1u);
    EXPECT_EQ(project->enemies[2].actions[0].paramA, 25);
    ASSERT_EQ(project->scene.size(), 1u);
    EXPECT_EQ(project->scene[0].command, 8);
    EXPECT_EQ(project->maps[3].value, 9);
    EXPECT_EQ(project->mapOrder, (std::vector<int32_t>{2, 1, 0}));
}

TEST_F(LoadProjectTest, GlobalFileCutShortStillLoadsTheKinds) {
    writer.File(ProjectWriter::GlobalPath(), GlobalFile{7, "Long title", 1}.Encode().Prefix(6));
    ItemFile item;
    item.score = 500;
    writer.Item(0, item);
    LoadProject(*project);
    EXPECT_EQ(project->sceneStart, 7);
    EXPECT_EQ(project->windowTitle, "Orvan");
    EXPECT_EQ(project->globalFlag, 0);
    EXPECT_EQ(project->items[0].score, 500);
}

TEST_F(LoadProjectTest, UnreadableGlobalFileLoadsNothingAndUpgradesNothing) {
    // A folder in the file's place exists but cannot be read as a file.
    dir.MakeDir("Global/Global.bin");
    writer.Sprite(0, SpriteFile{"Title"});
    dir.WriteFile("Sprite3.png", "png");
    LoadProject(*project);
    EXPECT_EQ(project->sprites[0].name, kUnregisteredCp932);
    EXPECT_EQ(project->windowTitle, "Orvan");
    EXPECT_TRUE(dir.Exists("Sprite3.png"));
    EXPECT_FALSE(dir.Exists("Sprite/Sprite3.png"));
}

using LayoutUpgradeTest = ProjectTest;

TEST_F(LayoutUpgradeTest, CreatesTheSevenKindFolders) {
    LoadProject(*project);
    for (const char* kind : {"Bullet", "Enemy", "Global", "Item", "Map", "Sound", "Sprite"}) {
        struct stat st;
        ASSERT_EQ(::stat(dir.operator/(kind).c_str(), &st), 0) << kind;
        EXPECT_TRUE(S_ISDIR(st.st_mode)) << kind;
    }
    EXPECT_FALSE(dir.Exists("Global/Global.bin"));  // nothing is written
}

TEST_F(LayoutUpgradeTest, MovesSpriteImagesIntoTheSpriteFolder) {
    dir.WriteFile("Sprite0.png", "zero");
    dir.WriteFile("Sprite12.png", "twelve");
    dir.WriteFile("Sprite1023.png", "last");
    dir.WriteFile("Sprite1024.png", "beyond");
    dir.WriteFile("Sprite012.png", "padded");
    LoadProject(*project);
    EXPECT_EQ(dir.ReadFile("Sprite/Sprite0.png"), "zero");
    EXPECT_EQ(dir.ReadFile("Sprite/Sprite12.png"), "twelve");
    EXPECT_EQ(dir.ReadFile("Sprite/Sprite1023.png"), "last");
    EXPECT_FALSE(dir.Exists("Sprite0.png"));
    EXPECT_FALSE(dir.Exists("Sprite12.png"));
    // Only the numbers of the table, without padding, are moved.
    EXPECT_TRUE(dir.Exists("Sprite1024.png"));
    EXPECT_TRUE(dir.Exists("Sprite012.png"));
    EXPECT_FALSE(dir.Exists("Sprite/Sprite1024.png"));
}

TEST_F(LayoutUpgradeTest, MovesTheDefaultSoundFileIntoTheSoundFolder) {
    dir.WriteFile(kDefaultSoundFileUtf8, "RIFF");
    LoadProject(*project);
    EXPECT_FALSE(dir.Exists(kDefaultSoundFileUtf8));
    EXPECT_EQ(dir.ReadFile(std::string("Sound/") + kDefaultSoundFileUtf8), "RIFF");
}

TEST_F(LayoutUpgradeTest, NeverOverwritesFilesAlreadyInTheKindFolders) {
    dir.WriteFile("Sprite5.png", "new");
    dir.WriteFile("Sprite/Sprite5.png", "old");
    dir.WriteFile(kDefaultSoundFileUtf8, "new sound");
    dir.WriteFile(std::string("Sound/") + kDefaultSoundFileUtf8, "old sound");
    LoadProject(*project);
    EXPECT_EQ(dir.ReadFile("Sprite/Sprite5.png"), "old");
    EXPECT_EQ(dir.ReadFile("Sprite5.png"), "new");
    EXPECT_EQ(dir.ReadFile(std::string("Sound/") + kDefaultSoundFileUtf8), "old sound");
    EXPECT_EQ(dir.ReadFile(kDefaultSoundFileUtf8), "new sound");
}

TEST_F(LayoutUpgradeTest, KindFilesAreNotReadOnThisRun) {
    SpriteFile sprite;
    sprite.name = "Ship";
    writer.Sprite(2, sprite);
    writer.Player(PlayerFile{0, 0, 80.0, 1, 1, 1, 1});
    writer.Scene({{{0, 60, 0, 0, 0, 0, 0}}});
    writer.Order({{1}});
    LoadProject(*project);
    EXPECT_EQ(project->sprites[2].name, kUnregisteredCp932);
    EXPECT_EQ(project->player.moveSpeed, 40.0);
    EXPECT_TRUE(project->scene.empty());
    EXPECT_TRUE(project->mapOrder.empty());
    EXPECT_EQ(project->windowTitle, "Orvan");
    // They are read on the next run, once "Global.bin" exists.
    writer.Global();
    auto next = std::make_unique<TProject>();
    LoadProject(*next);
    EXPECT_EQ(next->sprites[2].name, "Ship");
}

TEST_F(LoadProjectTest, MapOrderCountsAreBoundedByTheFile) {
    writer.Global();
    OrderFile order;
    order.values = {4, 5};
    order.count = 2000000000;
    writer.Order(order);
    LoadProject(*project);
    EXPECT_EQ(project->mapOrder, (std::vector<int32_t>{4, 5}));
    EXPECT_LE(project->mapOrder.capacity(), 2u);
}

TEST_F(LoadProjectTest, NegativeMapOrderCountIsAnEmptyList) {
    OrderFile order;
    order.values = {4, 5};
    order.count = -1;
    writer.Order(order);
    EXPECT_EQ(LoadMapOrder(project->mapOrder), FileStatus::Loaded);
    EXPECT_TRUE(project->mapOrder.empty());
}

TEST_F(LoadProjectTest, MissingMapOrderIsAnEmptyList) {
    EXPECT_EQ(LoadMapOrder(project->mapOrder), FileStatus::Missing);
    EXPECT_TRUE(project->mapOrder.empty());
}

}  // namespace
