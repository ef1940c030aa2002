// The bullet pool's count of live bullets, which every way a bullet starts or ends must keep
// equal to the live slots so that the next shot takes the lowest free slot; and a player's
// shot scanning the enemy slots in order while its hits change them.
#include <gtest/gtest.h>

#include <functional>

#include "world_fixture.h"

namespace {

constexpr int kEnemySide = 0, kPlayerSide = 1;
constexpr int kSize = TBulletPool::kSize;

class BulletPool : public WorldTest {
protected:
    void SetUp() override {
        project->bullets[0].hitRadius = 2;
        Link();
    }
    TBulletPool& pool() { return world->bullets; }
    // A standing shot; its x tells which request filled a slot.
    void Fire(int side, double x) { pool().Fire(0, side, x, 100, kStopSpeed, 0, false); }
    void Fill(int side) {
        for (int i = 0; i < kSize; ++i) Fire(side, i * 0.1);
    }
};

TEST_F(BulletPool, LiveCountFollowsEveryStartAndEndAndTheNextShotTakesTheLowestFreeSlot) {
    struct Case {
        const char* what;
        int fillSide;        // -1: nothing before 'act'
        int live, nextSlot;  // -1: the pool is full and drops the next shot
        std::function<void()> act;
    } const cases[] = {
        {"full pool, unknown kind", kEnemySide, kSize, -1,
         [&] { pool().Fire(-1, kPlayerSide, 999, 100, 1, 0, false); }},
        {"killed in the middle, one twice", kEnemySide, kSize - 4, 5,
         [&] {
             for (int slot : {1500, 5, 700, 2047, 5}) bullet(slot).Kill();
         }},
        {"unknown kind into a free slot", kEnemySide, kSize - 1, 9,
         [&] { bullet(9).Kill(), pool().Fire(256, kPlayerSide, 500, 100, 1, 0, false); }},
        {"enemy shots cleared", -1, (kSize + 2) / 3, 1,
         [&] {
             for (int i = 0; i < kSize; ++i) Fire(i % 3 == 0 ? kPlayerSide : kEnemySide, i);
             pool().KillEnemyBullets();
             bullet(0).Activate();  // already alive: counted once
         }},
        {"enemy shots cleared among player shots", kPlayerSide, kSize, -1,
         [&] { pool().KillEnemyBullets(); }},
        {"all cleared", kEnemySide, 0, 0, [&] { pool().KillAll(); }},
        {"linked anew", kPlayerSide, 0, 0, [&] { world->Link(&app, project.get()); }},
        {"off the field and on an enemy", kEnemySide, kSize - 3, 3,
         [&] {
             PlaceEnemy(0, 1, 100, 50, 10, 100);
             for (int slot : {3, 4, 8}) bullet(slot).Kill();
             pool().Fire(0, kEnemySide, 2, 200, 50, 180, false);
             pool().Fire(0, kPlayerSide, 100, 50, kStopSpeed, 0, false);
             pool().Fire(0, kEnemySide, 410, 200, 50, 0, false);
             pool().UpdateAll();
             EXPECT_EQ(Enemy(0).durability, 99);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        world = std::make_unique<TWorld>();
        Link();
        if (c.fillSide >= 0) Fill(c.fillSide);
        c.act();
        EXPECT_EQ(pool().LiveCount(), c.live);
        EXPECT_EQ(pool().LiveCount(), Alive(pool().bullets));
        Fire(kPlayerSide, 9999);
        for (int i = 0; i < kSize; ++i) {
            ASSERT_EQ(bullet(i).IsAlive() && bullet(i).x == 9999, i == c.nextSlot) << i;
        }
        EXPECT_EQ(pool().LiveCount(), c.live + (c.nextSlot >= 0 ? 1 : 0));
    }
}

TEST_F(BulletPool, APlayerShotHitsASuccessorStartedInALaterSlotDuringItsScan) {
    constexpr int kParent = 1, kChild = 2, kChildSuccessor = 3, kParentSuccessor = 4;
    for (int kind : {kParent, kChild, kChildSuccessor, kParentSuccessor}) {
        Def(kind).explosion = 0;
        Def(kind).hitWidth = Def(kind).hitHeight = 10;
        Def(kind).durability = 5;
    }
    Def(kParent).durability = 0;  // dies at the first hit
    Def(kParent).successor = kParentSuccessor;
    Def(kChild).successor = kChildSuccessor;
    // The parent in slot 0 dies and its successor takes slot 0 again; its child in slot 1
    // dies with it and leaves its own successor in slot 1, which the same shot reaches next.
    PlaceEnemy(0, kParent, 100, 100, 10, 0);
    PlaceEnemy(1, kChild, 100, 100, 10, 5).parentSlot = 0;
    pool().Fire(0, kPlayerSide, 100, 100, kStopSpeed, 270, false);
    pool().UpdateAll();
    EXPECT_FALSE(bullet(0).IsAlive());
    EXPECT_EQ(std::make_pair(Enemy(0).kind, Enemy(0).durability),
              std::make_pair(kParentSuccessor, 5));
    EXPECT_EQ(std::make_pair(Enemy(1).kind, Enemy(1).durability),
              std::make_pair(kChildSuccessor, 4));
    EXPECT_TRUE(Enemy(0).IsAlive() && Enemy(1).IsAlive());
}

}  // namespace
