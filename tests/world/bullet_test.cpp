#include <gtest/gtest.h>

#include "world_fixture.h"

namespace {

constexpr int kEnemySide = 0, kPlayerSide = 1;

class Bullets : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        project->sprites[10].frameWidth = 8;  // the margins off screen
        project->sprites[10].frameHeight = 12;
        project->bullets[0].sprite = 10;
        project->bullets[0].hitRadius = 2;
        project->enemies[1].shotResponse = 0;
        project->enemies[2].shotResponse = 1;  // shots pass through
        Link();
    }
    void Fire(int side, double x, double y, double speed, double angle, bool aim = false) {
        world->bullets.Fire(0, side, x, y, speed, angle, aim);
    }
};

}  // namespace

TEST_F(Bullets, AimedShotsFlyAtTheShipTurnedClockwiseByTheirAngle) {
    Fire(kEnemySide, 208, 100, 5, 0, true);  // the ship is straight below
    Fire(kEnemySide, 208, 100, 5, -100, true);
    Fire(kEnemySide, 208, 100, 5, 450);
    EXPECT_NEAR(bullet(0).angle, 90, 1e-6);
    EXPECT_NEAR(bullet(0).vy, 5, 1e-6);
    EXPECT_NEAR(bullet(1).angle, 350, 1e-6);  // normalised once
    EXPECT_DOUBLE_EQ(bullet(2).angle, 450);   // not aimed: as given
    EXPECT_EQ(bullet(0).halfWidth, 2);
    EXPECT_EQ(bullet(0).marginY, 12);
}

TEST_F(Bullets, KindsOutsideTheTableAndThe2049thBulletAreNotCreated) {
    world->bullets.Fire(-1, kEnemySide, 10, 10, 1, 0, false);
    world->bullets.Fire(256, kEnemySide, 10, 10, 1, 0, false);
    EXPECT_EQ(Alive(world->bullets.bullets), 0);
    for (int i = 0; i < TBulletPool::kSize; ++i) Fire(kEnemySide, i % 400, 5, 0, 0);
    Fire(kPlayerSide, 333.5, 5, 0, 0);
    for (int i = 0; i < TBulletPool::kSize; ++i) ASSERT_EQ(bullet(i).side, kEnemySide) << i;
}

TEST_F(Bullets, LeaveTheFieldOnlyBeyondTheirSpriteMargins) {
    Fire(kEnemySide, -7, 100, 1, 180);
    world->bullets.UpdateAll();
    EXPECT_TRUE(bullet(0).IsAlive());  // at -8 exactly
    world->bullets.UpdateAll();
    EXPECT_FALSE(bullet(0).IsAlive());
}

TEST_F(Bullets, EnemyShotHitsTheShipAndFliesOnButPassesAProtectedShip) {
    player().blinking = true;
    Fire(kEnemySide, 209, 446, kStopSpeed, 90);
    world->bullets.UpdateAll();
    EXPECT_TRUE(player().IsAlive());
    player().blinking = false;
    world->bullets.UpdateAll();
    EXPECT_FALSE(player().IsAlive());
    EXPECT_EQ(player().lives, 9);
    EXPECT_TRUE(bullet(0).IsAlive());
}

TEST_F(Bullets, PlayerShotDamagesEveryOverlappedEnemyThenEnds) {
    TEnemy& a = PlaceEnemy(3, 1, 100, 100, 10, 5);
    TEnemy& far = PlaceEnemy(5, 1, 300, 100, 10, 5);
    TEnemy& b = PlaceEnemy(7, 1, 105, 95, 10, 5);
    Fire(kPlayerSide, 100, 100, kStopSpeed, -90);
    world->bullets.UpdateAll();
    EXPECT_FALSE(bullet(0).IsAlive());
    EXPECT_EQ(a.durability, 4);
    EXPECT_EQ(b.durability, 4);
    EXPECT_EQ(far.durability, 5);
}

TEST_F(Bullets, PlayerShotPassesThroughEnemiesThatLetShotsPass) {
    TEnemy& e = PlaceEnemy(0, 2, 100, 100, 10, 5);
    Fire(kPlayerSide, 100, 100, kStopSpeed, -90);
    world->bullets.UpdateAll();
    EXPECT_TRUE(bullet(0).IsAlive());
    EXPECT_TRUE(e.IsAlive());  // such an enemy would vanish if it took the hit
}

TEST_F(Bullets, KillEnemyBulletsLeavesThePlayersShots) {
    Fire(kEnemySide, 10, 10, 0, 0);
    Fire(kPlayerSide, 20, 10, 0, 0);
    world->bullets.KillEnemyBullets();
    EXPECT_FALSE(bullet(0).IsAlive());
    EXPECT_TRUE(bullet(1).IsAlive());
}
