// Bullets: aiming, the full pool, leaving the field and what they hit.
#include "world_fixture.h"

namespace {

constexpr int kEnemySide = 0, kPlayerSide = 1;

class Bullets : public WorldTest {
protected:
    void SetUp() override {
        project->sprites[10].frameWidth = 8;  // the margins off screen
        project->sprites[10].frameHeight = 12;
        project->bullets[0].sprite = 10;
        project->bullets[0].hitRadius = 2;
        project->enemies[2].shotResponse = 1;  // shots pass through
        project->enemies[3].shotResponse = 2;  // immune
        Link();
    }
    void Fire(int side, double x, double y, double speed, double angle, bool aim = false) {
        world->bullets.Fire(0, side, x, y, speed, angle, aim);
    }
};

TEST_F(Bullets, AimedShotsFlyAtTheShipTurnedClockwiseByTheirAngle) {
    Fire(kEnemySide, 208, 100, 5, 0, true);  // the ship is straight below
    Fire(kEnemySide, 208, 100, 5, -100, true);
    Fire(kEnemySide, 208, 100, 5, 450);
    EXPECT_NEAR(bullet(0).angle, 90, 1e-6);
    EXPECT_NEAR(bullet(0).vy, 5, 1e-6);
    EXPECT_NEAR(bullet(1).angle, 350, 1e-6);  // normalised once
    EXPECT_DOUBLE_EQ(bullet(2).angle, 450);   // not aimed: as given
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
    EXPECT_TRUE(bullet(0).IsAlive());
}

TEST_F(Bullets, PlayerShotHitsEveryOverlappedEnemyThenEndsUnlessShotsPass) {
    TEnemy& a = PlaceEnemy(3, 1, 100, 100, 10, 5);
    TEnemy& far = PlaceEnemy(5, 1, 300, 100, 10, 5);
    TEnemy& b = PlaceEnemy(7, 1, 105, 95, 10, 5);
    TEnemy& passing = PlaceEnemy(8, 2, 200, 100, 10, 5);
    TEnemy& immune = PlaceEnemy(9, 3, 300, 300, 10, 5);
    Fire(kPlayerSide, 100, 100, kStopSpeed, -90);
    Fire(kPlayerSide, 200, 100, kStopSpeed, -90);
    Fire(kPlayerSide, 300, 300, kStopSpeed, -90);
    world->bullets.UpdateAll();
    EXPECT_FALSE(bullet(0).IsAlive());
    EXPECT_EQ(a.durability + b.durability + far.durability, 4 + 4 + 5);
    EXPECT_TRUE(bullet(1).IsAlive());
    EXPECT_TRUE(passing.IsAlive());  // such an enemy would vanish if it took the hit
    EXPECT_FALSE(bullet(2).IsAlive());
    EXPECT_EQ(immune.durability, 5);
}

}  // namespace
