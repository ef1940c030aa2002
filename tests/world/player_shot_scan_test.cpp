// A player's shot tests every enemy slot in order and sees what earlier hits changed: the
// successors and deaths they cause, within its own scan and for the shots after it.
#include <gtest/gtest.h>

#include "world_fixture.h"

namespace {

constexpr int kPlayerSide = 1;
class PlayerShotScan : public WorldTest {
protected:
    static constexpr int kParent = 1, kChild = 2, kChildSuccessor = 3, kParentSuccessor = 4;

    void SetUp() override {
        WorldTest::SetUp();
        project->bullets[0].hitRadius = 2;
        for (int kind : {kParent, kChild, kChildSuccessor, kParentSuccessor}) {
            project->enemies[kind].explosion = 0;
            project->enemies[kind].hitWidth = 10;
            project->enemies[kind].hitHeight = 10;
        }
        project->enemies[kParent].durability = 0;  // dies at the first hit
        project->enemies[kChild].successor = kChildSuccessor;
        project->enemies[kChildSuccessor].durability = 5;
        project->enemies[kParentSuccessor].durability = 5;
        Link();
    }

    TEnemy& enemy(int slot) { return world->enemies.enemies[slot]; }
    void Shoot(double x, double y) {
        world->bullets.Fire(0, kPlayerSide, x, y, kStopSpeed, 270, false);
    }
    void UpdateShots() { world->bullets.UpdateAll(); }
    // A parent in 'parentSlot' at (100, 100) with a child at 'childAt' in 'childSlot'.
    void PlaceFamily(int parentSlot, int childSlot, double childX, double childY) {
        PlaceEnemy(parentSlot, kParent, 100, 100, 10, 0);
        TEnemy& child = PlaceEnemy(childSlot, kChild, childX, childY, 10, 5);
        child.parentSlot = parentSlot;
    }
};

TEST_F(PlayerShotScan, ASuccessorStartedInALaterSlotDuringTheScanIsHitToo) {
    // The parent in slot 0 dies and its successor takes slot 0 again; its child in slot 1
    // dies with it and leaves its own successor in slot 1, which the same shot reaches next.
    project->enemies[kParent].successor = kParentSuccessor;
    PlaceFamily(0, 1, 100, 100);
    Shoot(100, 100);
    UpdateShots();
    EXPECT_FALSE(bullet(0).IsAlive());
    ASSERT_TRUE(enemy(0).IsAlive());
    EXPECT_EQ(enemy(0).kind, kParentSuccessor);
    EXPECT_EQ(enemy(0).durability, 5);
    ASSERT_TRUE(enemy(1).IsAlive());
    EXPECT_EQ(enemy(1).kind, kChildSuccessor);
    EXPECT_EQ(enemy(1).durability, 4);
}

TEST_F(PlayerShotScan, ASuccessorInASlotAlreadyPassedIsNotHitByThatShot) {
    // The shot hits the child in slot 1, then the parent in slot 3; the child dies with its
    // parent and its successor takes the free slot 0, behind the scan.
    PlaceFamily(3, 1, 100, 100);
    Shoot(100, 100);
    UpdateShots();
    ASSERT_TRUE(enemy(0).IsAlive());
    EXPECT_EQ(enemy(0).kind, kChildSuccessor);
    EXPECT_EQ(enemy(0).durability, 5);
}

TEST_F(PlayerShotScan, LaterShotsSeeTheEnemiesAnEarlierHitChanged) {
    // Shot 0 kills the parent; its child at (300, 100) dies with it and its successor takes
    // the parent's slot 0. Shot 1 at the child's place hits that successor, shot 2 at the
    // parent's place meets nobody any more.
    PlaceFamily(2, 5, 300, 100);
    Shoot(100, 100);
    Shoot(300, 100);
    Shoot(100, 100);
    UpdateShots();
    EXPECT_FALSE(bullet(0).IsAlive());
    EXPECT_FALSE(enemy(2).IsAlive());
    EXPECT_FALSE(enemy(5).IsAlive());
    ASSERT_TRUE(enemy(0).IsAlive());
    EXPECT_EQ(enemy(0).kind, kChildSuccessor);
    EXPECT_FALSE(bullet(1).IsAlive());
    EXPECT_EQ(enemy(0).durability, 4);
    EXPECT_TRUE(bullet(2).IsAlive());
    EXPECT_EQ(world->bullets.LiveCount(), 1);
}

}  // namespace
