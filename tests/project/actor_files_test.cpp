#include <gtest/gtest.h>

#include <cstring>

#include "project/definition_files.h"
#include "project_fixture.h"

namespace {

bool SameWords(const TActionEntry& a, const TActionEntry& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// An entry whose sixteen words are all different, so a word read into the wrong field shows.
TActionEntry Numbered(int32_t base) {
    TActionEntry e;
    int32_t* words[] = {&e.command,       &e.paramA,      &e.paramB,      &e.extra,
                        &e.target,        &e.which,       &e.shotSpeed,   &e.shotSpeedJitter,
                        &e.interval,      &e.count,       &e.countJitter, &e.spacing,
                        &e.spacingJitter, &e.angleJitter, &e.angleMode,   &e.angleValue};
    for (int i = 0; i < 16; ++i) *words[i] = base + i;
    return e;
}

using PlayerFileTest = ProjectTest;

TEST_F(PlayerFileTest, AbsentFileGivesTheDefaultShip) {
    EXPECT_EQ(LoadPlayerDef(project->player), FileStatus::Missing);
    const TPlayerDef& p = project->player;
    EXPECT_EQ(p.moveSpeed, 40.0);  // 4.0 pixels per frame
    EXPECT_EQ(p.initialLife, 10);
    EXPECT_EQ(p.initialBombs, 3);
    EXPECT_EQ(p.hitRadius, 1);
    EXPECT_EQ(p.invincible, 0);
    EXPECT_EQ(p.unused0, 32);
    EXPECT_EQ(p.unused1, 32);
}

TEST_F(PlayerFileTest, TheThirtyTwoByteBlockReadsBackFieldByField) {
    PlayerFile f{7, -8, 52.5, 4, 2, 3, 1, {0xAA, 0xBB, 0xCC}};
    ASSERT_EQ(f.Encode().size(), 32u);
    writer.Player(f);
    EXPECT_EQ(LoadPlayerDef(project->player), FileStatus::Loaded);
    const TPlayerDef& p = project->player;
    EXPECT_EQ(p.unused0, 7);
    EXPECT_EQ(p.unused1, -8);
    EXPECT_EQ(p.moveSpeed, 52.5);
    EXPECT_EQ(p.initialLife, 4);
    EXPECT_EQ(p.initialBombs, 2);
    EXPECT_EQ(p.hitRadius, 3);
    EXPECT_EQ(p.invincible, 1);
    EXPECT_EQ(p.padding[0], 0xAA);
    EXPECT_EQ(p.padding[1], 0xBB);
    EXPECT_EQ(p.padding[2], 0xCC);
}

TEST_F(PlayerFileTest, ABlockCutInsideTheSpeedKeepsTheDefaultSpeed) {
    writer.File(ProjectWriter::PlayerPath(), PlayerFile{1, 2, 99.0}.Encode().Prefix(12));
    EXPECT_EQ(LoadPlayerDef(project->player), FileStatus::Truncated);
    EXPECT_EQ(project->player.unused0, 1);
    EXPECT_EQ(project->player.unused1, 2);
    EXPECT_EQ(project->player.moveSpeed, 40.0);
    EXPECT_EQ(project->player.initialLife, 10);
}

using BulletItemFileTest = ProjectTest;

TEST_F(BulletItemFileTest, BulletReadsEveryField) {
    writer.Bullet(4, BulletFile{"Needle", 20, 2, 1, 6});
    EXPECT_EQ(LoadBulletDef(project->bullets[4], 4), FileStatus::Loaded);
    const TBulletDef& b = project->bullets[4];
    EXPECT_EQ(b.name, "Needle");
    EXPECT_EQ(b.sprite, 20);
    EXPECT_EQ(b.hitRadius, 2);
    EXPECT_EQ(b.imageDirection, 1);
    EXPECT_EQ(b.sound, 6);
}

TEST_F(BulletItemFileTest, MissingBulletIsSilentWithNoSound) {
    EXPECT_EQ(LoadBulletDef(project->bullets[4], 4), FileStatus::Missing);
    EXPECT_EQ(project->bullets[4].sound, -1);
    EXPECT_EQ(project->bullets[4].hitRadius, 1);
    EXPECT_EQ(project->bullets[4].name, kUnregisteredCp932);
}

TEST_F(BulletItemFileTest, ItemReadsEveryField) {
    writer.Item(9, ItemFile{"Bomb", 33, 3, 250});
    EXPECT_EQ(LoadItemDef(project->items[9], 9), FileStatus::Loaded);
    const TItemDef& i = project->items[9];
    EXPECT_EQ(i.name, "Bomb");
    EXPECT_EQ(i.sprite, 33);
    EXPECT_EQ(i.attribute, 3);
    EXPECT_EQ(i.score, 250);
}

using EnemyFileTest = ProjectTest;

EnemyFile Scout() {
    EnemyFile e;
    e.name = "Scout";
    e.sprite = 11;
    e.contactHurts = 0;
    e.shotResponse = 2;
    e.score = 300;
    e.durability = 5;
    e.bombDamage = 4;
    e.imageDirection = 2;
    e.explosion = 0;
    e.successor = 17;
    e.hitWidth = 12;
    e.hitHeight = 9;
    e.dropCount = 3;
    e.groundDistance = 6;
    return e;
}

TEST_F(EnemyFileTest, ReadsFieldsInStoredOrderWithBombDamageBeforeImageDirection) {
    writer.Enemy(0, Scout());
    EXPECT_EQ(LoadEnemyDef(project->enemies[0], 0), FileStatus::Loaded);
    const TEnemyDef& e = project->enemies[0];
    EXPECT_EQ(e.name, "Scout");
    EXPECT_EQ(e.sprite, 11);
    EXPECT_EQ(e.contactHurts, 0);
    EXPECT_EQ(e.shotResponse, 2);
    EXPECT_EQ(e.score, 300);
    EXPECT_EQ(e.durability, 5);
    EXPECT_EQ(e.bombDamage, 4);
    EXPECT_EQ(e.imageDirection, 2);
    EXPECT_EQ(e.explosion, 0);
    EXPECT_EQ(e.successor, 17);
    EXPECT_EQ(e.hitWidth, 12);
    EXPECT_EQ(e.hitHeight, 9);
    EXPECT_EQ(e.dropCount, 3);
    EXPECT_EQ(e.groundDistance, 6);
}

TEST_F(EnemyFileTest, NoActionsAndNoDropsStillReadsGroundDistance) {
    EnemyFile f = Scout();
    f.groundDistance = -40;
    writer.Enemy(1, f);
    EXPECT_EQ(LoadEnemyDef(project->enemies[1], 1), FileStatus::Loaded);
    EXPECT_TRUE(project->enemies[1].actions.empty());
    EXPECT_TRUE(project->enemies[1].dropKinds.empty());
    EXPECT_EQ(project->enemies[1].dropCount, 3);
    EXPECT_EQ(project->enemies[1].groundDistance, -40);
}

TEST_F(EnemyFileTest, TwoEntriesFollowTheTwelfthFieldAndPrecedeDropCount) {
    EnemyFile f = Scout();
    f.actions = {Numbered(100), Numbered(200)};
    f.dropKinds = {7, 8, 9};
    writer.Enemy(2, f);
    EXPECT_EQ(LoadEnemyDef(project->enemies[2], 2), FileStatus::Loaded);
    const TEnemyDef& e = project->enemies[2];
    ASSERT_EQ(e.actions.size(), 2u);
    EXPECT_TRUE(SameWords(e.actions[0], Numbered(100)));
    EXPECT_TRUE(SameWords(e.actions[1], Numbered(200)));
    EXPECT_EQ(e.actions[0].command, 100);
    EXPECT_EQ(e.actions[1].angleValue, 215);
    EXPECT_EQ(e.dropCount, 3);
    EXPECT_EQ(e.dropKinds, (std::vector<int32_t>{7, 8, 9}));
    EXPECT_EQ(e.groundDistance, 6);
}

TEST_F(EnemyFileTest, SpeedEntryKeepsAllSixteenWords) {
    TActionEntry speed = Numbered(0);
    speed.command = 0;
    speed.paramA = 25;
    EnemyFile f;
    f.actions = {speed};
    writer.Enemy(3, f);
    LoadEnemyDef(project->enemies[3], 3);
    ASSERT_EQ(project->enemies[3].actions.size(), 1u);
    EXPECT_TRUE(SameWords(project->enemies[3].actions[0], speed));
}

TEST_F(EnemyFileTest, NegativeCountsGiveEmptyListsAndReadingGoesOn) {
    EnemyFile f = Scout();
    f.actionCount = -3;
    f.dropKindCount = -1;
    writer.Enemy(4, f);
    EXPECT_EQ(LoadEnemyDef(project->enemies[4], 4), FileStatus::Loaded);
    EXPECT_TRUE(project->enemies[4].actions.empty());
    EXPECT_TRUE(project->enemies[4].dropKinds.empty());
    EXPECT_EQ(project->enemies[4].dropCount, 3);
    EXPECT_EQ(project->enemies[4].groundDistance, 6);
}

TEST_F(EnemyFileTest, HugeActionCountKeepsOnlyTheCompleteEntries) {
    EnemyFile f = Scout();
    f.actions = {Numbered(1), Numbered(2)};
    f.actionCount = 2000000000;
    writer.Enemy(5, f);
    EXPECT_EQ(LoadEnemyDef(project->enemies[5], 5), FileStatus::Truncated);
    const TEnemyDef& e = project->enemies[5];
    // The bytes after the entries are too few for a third one: the list ends with two and
    // the fields after it keep their defaults.
    ASSERT_EQ(e.actions.size(), 2u);
    EXPECT_TRUE(SameWords(e.actions[1], Numbered(2)));
    EXPECT_LE(e.actions.capacity(), 3u);
    EXPECT_EQ(e.dropCount, 0);
    EXPECT_TRUE(e.dropKinds.empty());
    EXPECT_EQ(e.groundDistance, 0);
}

TEST_F(EnemyFileTest, HugeDropKindCountKeepsOnlyTheCompleteValues) {
    EnemyFile f = Scout();
    f.dropKinds = {1, 2, 3};
    f.dropKindCount = 2000000000;
    writer.Enemy(6, f);
    EXPECT_EQ(LoadEnemyDef(project->enemies[6], 6), FileStatus::Truncated);
    const TEnemyDef& e = project->enemies[6];
    // groundDistance's four bytes are taken as a fourth kind; then the file ends.
    EXPECT_EQ(e.dropKinds, (std::vector<int32_t>{1, 2, 3, 6}));
    EXPECT_LE(e.dropKinds.capacity(), 4u);
    EXPECT_EQ(e.groundDistance, 0);
}

TEST_F(EnemyFileTest, AnEntryCutShortIsDropped) {
    EnemyFile f = Scout();
    f.actions = {Numbered(1), Numbered(2)};
    std::string bytes = f.Encode().str();
    size_t secondEntryEnd = bytes.size() - 4 * 4;  // dropCount, M, groundDistance after it
    writer.File(ProjectWriter::EnemyPath(7), bytes.substr(0, secondEntryEnd - 1));
    EXPECT_EQ(LoadEnemyDef(project->enemies[7], 7), FileStatus::Truncated);
    ASSERT_EQ(project->enemies[7].actions.size(), 1u);
    EXPECT_TRUE(SameWords(project->enemies[7].actions[0], Numbered(1)));
}

TEST_F(EnemyFileTest, MissingFileKeepsTheDefaults) {
    EXPECT_EQ(LoadEnemyDef(project->enemies[8], 8), FileStatus::Missing);
    const TEnemyDef& e = project->enemies[8];
    EXPECT_EQ(e.name, kUnregisteredCp932);
    EXPECT_EQ(e.contactHurts, 1);
    EXPECT_EQ(e.score, 100);
    EXPECT_EQ(e.durability, 1);
    EXPECT_EQ(e.explosion, 1);
    EXPECT_EQ(e.successor, -1);
    EXPECT_EQ(e.bombDamage, 1);
    EXPECT_EQ(e.hitWidth, -1);
    EXPECT_EQ(e.hitHeight, -1);
    EXPECT_TRUE(e.actions.empty());
}

}  // namespace
