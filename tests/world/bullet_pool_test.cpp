// The bullet pool's count of live bullets: a full pool drops shots at once, and every way a
// bullet starts or ends keeps the count equal to the live slots, so that the next shot still
// takes the lowest free slot.
#include <gtest/gtest.h>

#include <vector>

#include "world_fixture.h"

namespace {

constexpr int kEnemySide = 0, kPlayerSide = 1;
constexpr int kSize = TBulletPool::kSize;

class BulletPool : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        project->bullets[0].hitRadius = 2;
        Link();
    }
    TBulletPool& pool() { return world->bullets; }
    // A standing shot; its x tells which request filled a slot.
    void Fire(int side, double x) { pool().Fire(0, side, x, 100, kStopSpeed, 0, false); }
    void Fill(int side) {
        for (int i = 0; i < kSize; ++i) Fire(side, i * 0.1);
    }
    // The count must always agree with the flags.
    void ExpectCountMatchesSlots() { EXPECT_EQ(pool().LiveCount(), Alive(pool().bullets)); }
};

TEST_F(BulletPool, AFullPoolDropsShotsAndKeepsEveryBullet) {
    EXPECT_EQ(pool().LiveCount(), 0);
    Fill(kEnemySide);
    EXPECT_EQ(pool().LiveCount(), kSize);
    Fire(kPlayerSide, 999);
    pool().Fire(-1, kPlayerSide, 999, 100, 1, 0, false);
    EXPECT_EQ(pool().LiveCount(), kSize);
    for (int i = 0; i < kSize; ++i) {
        ASSERT_EQ(bullet(i).side, kEnemySide) << i;
        ASSERT_DOUBLE_EQ(bullet(i).x, i * 0.1) << i;
    }
}

TEST_F(BulletPool, KilledSlotsInTheMiddleAreReusedLowestFirst) {
    Fill(kEnemySide);
    const std::vector<int> freed = {1500, 5, 700, 2047};
    for (int slot : freed) bullet(slot).Kill();
    bullet(5).Kill();  // a second Kill of a free slot frees nothing more
    EXPECT_EQ(pool().LiveCount(), kSize - 4);
    ExpectCountMatchesSlots();

    Fire(kPlayerSide, 1000);
    Fire(kPlayerSide, 1001);
    Fire(kPlayerSide, 1002);
    Fire(kPlayerSide, 1003);
    Fire(kPlayerSide, 1004);  // the pool is full again: dropped
    EXPECT_DOUBLE_EQ(bullet(5).x, 1000);
    EXPECT_DOUBLE_EQ(bullet(700).x, 1001);
    EXPECT_DOUBLE_EQ(bullet(1500).x, 1002);
    EXPECT_DOUBLE_EQ(bullet(2047).x, 1003);
    EXPECT_EQ(pool().LiveCount(), kSize);
    int playerShots = 0;
    for (const TBullet& b : pool().bullets) playerShots += b.side == kPlayerSide ? 1 : 0;
    EXPECT_EQ(playerShots, 4);
}

TEST_F(BulletPool, AShotOfAnUnknownKindLeavesTheFreeSlotForTheNext) {
    Fill(kEnemySide);
    bullet(9).Kill();
    pool().Fire(256, kPlayerSide, 500, 100, 1, 0, false);
    EXPECT_FALSE(bullet(9).IsAlive());
    EXPECT_EQ(pool().LiveCount(), kSize - 1);
    Fire(kPlayerSide, 500);
    EXPECT_TRUE(bullet(9).IsAlive());
    EXPECT_EQ(pool().LiveCount(), kSize);
}

TEST_F(BulletPool, ClearingEnemyShotsOrEveryShotKeepsTheCount) {
    for (int i = 0; i < kSize; ++i) Fire(i % 3 == 0 ? kPlayerSide : kEnemySide, i * 0.1);
    pool().KillEnemyBullets();
    EXPECT_EQ(pool().LiveCount(), (kSize + 2) / 3);
    ExpectCountMatchesSlots();
    Fire(kPlayerSide, 777);
    EXPECT_DOUBLE_EQ(bullet(1).x, 777);  // slot 0 holds a player's shot
    bullet(0).Activate();                // already alive: counted once
    EXPECT_EQ(pool().LiveCount(), (kSize + 2) / 3 + 1);

    pool().KillAll();
    EXPECT_EQ(pool().LiveCount(), 0);
    Fill(kPlayerSide);
    EXPECT_EQ(pool().LiveCount(), kSize);
    pool().KillEnemyBullets();  // none of them is an enemy's
    EXPECT_EQ(pool().LiveCount(), kSize);
}

TEST_F(BulletPool, ShotsEndingInPlayKeepTheCount) {
    PlaceEnemy(0, 1, 100, 50, 10, 100);
    Fill(kEnemySide);
    // Two shots fly off the field, one player's shot ends on the enemy.
    bullet(3).Kill();
    pool().Fire(0, kEnemySide, 2, 200, 50, 180, false);
    bullet(4).Kill();
    pool().Fire(0, kPlayerSide, 100, 50, kStopSpeed, 0, false);
    bullet(8).Kill();
    pool().Fire(0, kEnemySide, 410, 200, 50, 0, false);
    pool().UpdateAll();
    EXPECT_FALSE(bullet(3).IsAlive());
    EXPECT_FALSE(bullet(8).IsAlive());
    EXPECT_FALSE(bullet(4).IsAlive());
    EXPECT_EQ(pool().LiveCount(), kSize - 3);
    ExpectCountMatchesSlots();
    Fire(kPlayerSide, 600);
    EXPECT_DOUBLE_EQ(bullet(3).x, 600);
    EXPECT_EQ(world->enemies.enemies[0].durability, 99);
}

TEST_F(BulletPool, SetupStartsFromAnEmptyCount) {
    Fill(kPlayerSide);
    world->Link(&app, project.get());
    EXPECT_EQ(pool().LiveCount(), 0);
    ExpectCountMatchesSlots();
}

}  // namespace
