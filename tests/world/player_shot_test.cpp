#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "world_fixture.h"

namespace {

struct Shot {
    double dx, dy, heading;
};

class PlayerShots : public WorldTest {
protected:
    TPlayer& P() { return world->player; }
    // Ship updates only, so that the shots stay where they were fired.
    void ShipFrames(int n) {
        for (int i = 0; i < n; ++i) P().Update();
    }
    std::vector<Shot> Volley() {
        std::vector<Shot> shots;
        for (const TBullet& b : world->bullets.bullets) {
            if (!b.IsAlive()) continue;
            shots.push_back({b.x - P().x, b.y - P().y, b.angle});
            EXPECT_EQ(b.kind, 0);
            EXPECT_EQ(b.side, 1);
            EXPECT_DOUBLE_EQ(b.speed, 20.0);
        }
        return shots;
    }
};

}  // namespace

TEST_F(PlayerShots, PowerFiveVolleyIsEightShotsInOrder) {
    Link();
    P().power = 5;
    Hold(kKeyFire);
    ShipFrames(4);
    const std::vector<Shot> expected = {{-5, 0, -90},  {5, 0, -90},  {-15, 3, -92}, {15, 3, -88},
                                        {-25, 6, -94}, {25, 6, -86}, {-35, 9, -96}, {35, 9, -84}};
    std::vector<Shot> shots = Volley();
    ASSERT_EQ(shots.size(), expected.size());
    for (size_t i = 0; i < shots.size(); ++i) {
        EXPECT_NEAR(shots[i].dx, expected[i].dx, 1e-5) << i;
        EXPECT_NEAR(shots[i].dy, expected[i].dy, 1e-5) << i;
        EXPECT_DOUBLE_EQ(shots[i].heading, expected[i].heading) << i;
    }
    // Fired upward at 20 pixels a frame, not aimed.
    const TBullet& first = world->bullets.bullets[0];
    EXPECT_NEAR(first.vy, -20.0, 1e-6);
}

TEST_F(PlayerShots, VolleySizeGrowsWithPowerAndOtherLevelsFireNothing) {
    Link();
    Hold(kKeyFire);
    const int sizes[] = {3, 4, 5, 6, 7, 8};
    for (int power = 0; power <= 5; ++power) {
        world->bullets.KillAll();
        P().power = power;
        ShipFrames(4);
        EXPECT_EQ(AliveBullets(), sizes[power]) << power;
    }
    const std::vector<Shot> zero = {{0, 0, -90}, {-10, 3, -92}, {10, 3, -88}};
    world->bullets.KillAll();
    P().power = 0;
    ShipFrames(4);
    std::vector<Shot> shots = Volley();
    ASSERT_EQ(shots.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(shots[i].dx, zero[i].dx, 1e-5);
        EXPECT_NEAR(shots[i].dy, zero[i].dy, 1e-5);
        EXPECT_DOUBLE_EQ(shots[i].heading, zero[i].heading);
    }
    for (int power : {-1, 6}) {
        world->bullets.KillAll();
        P().power = power;
        ShipFrames(4);
        EXPECT_EQ(AliveBullets(), 0) << power;
        EXPECT_EQ(PlayerShotTimer(), 0) << power;  // an empty volley still resets the count
    }
}

TEST_F(PlayerShots, HoldingFireShootsInTheFourthFrameThenEveryFourth) {
    Link();
    Hold(kKeyFire);
    std::vector<int> volleyFrames;
    for (int frame = 1; frame <= 12; ++frame) {
        int before = AliveBullets();
        P().Update();
        if (AliveBullets() > before) volleyFrames.push_back(frame);
    }
    EXPECT_EQ(volleyFrames, (std::vector<int>{4, 8, 12}));
}

TEST_F(PlayerShots, TimerKeepsItsCountWhileReleasedSoANewPressFiresEarlier) {
    Link();
    Hold(kKeyFire);
    ShipFrames(2);
    Hold(kKeyFire, false);
    ShipFrames(5);
    EXPECT_EQ(PlayerShotTimer(), 2);
    EXPECT_EQ(AliveBullets(), 0);
    Hold(kKeyFire);
    P().Update();
    EXPECT_EQ(AliveBullets(), 0);
    P().Update();
    EXPECT_EQ(AliveBullets(), 3);  // the second frame of the new press
}

TEST_F(PlayerShots, TheShotTimerIsOneCounterAcrossGamesAndShips) {
    Link();
    Hold(kKeyFire);
    ShipFrames(3);
    P().Reset();  // a new game
    TPlayer other;
    other.Setup(&app, project.get(), &world->effects, &world->bullets, &world->enemies);
    EXPECT_EQ(PlayerShotTimer(), 3);
    P().Update();
    EXPECT_EQ(AliveBullets(), 3);
}

TEST_F(PlayerShots, ShotsFiredThisFrameMoveAndHitInTheSameFrame) {
    Link();
    Hold(kKeyFire);
    Frames(3);
    EXPECT_EQ(AliveBullets(), 0);
    Frame();
    ASSERT_EQ(AliveBullets(), 3);
    // The ship fires before the bullet pool runs: the shot has already made its first move.
    EXPECT_NEAR(world->bullets.bullets[0].y, world->player.y - 20, 1e-6);
}

TEST_F(PlayerShots, ADeadShipDoesNotShoot) {
    Link();
    P().Kill();
    Hold(kKeyFire);
    ShipFrames(8);
    EXPECT_EQ(AliveBullets(), 0);
    EXPECT_EQ(PlayerShotTimer(), 0);
}
