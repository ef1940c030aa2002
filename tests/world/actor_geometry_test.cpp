#include <gtest/gtest.h>

#include <cmath>

#include "world/actor.h"

namespace {
struct Probe final : TActor {
    void Update() override {}
};
}  // namespace

TEST(ActorGeometry, TurnNormalisesOnceAndKeepsExactly360) {
    Probe a;
    a.SetAngle(355);
    a.Turn(10);
    EXPECT_DOUBLE_EQ(a.angle, 5);
    a.Turn(-10);
    EXPECT_DOUBLE_EQ(a.angle, 355);
    a.Turn(5);
    EXPECT_DOUBLE_EQ(a.angle, 360);
    a.Turn(0);
    EXPECT_DOUBLE_EQ(a.angle, 360);
}

TEST(ActorGeometry, SetAngleIsNotNormalisedAndApplyHeadingMovesDown) {
    Probe a;
    a.x = 10;
    a.y = 20;
    a.SetAngle(450);
    a.SetSpeed(3);
    EXPECT_DOUBLE_EQ(a.angle, 450);
    // Neither the angle nor the speed alone changes the velocity.
    EXPECT_DOUBLE_EQ(a.vx, 0);
    EXPECT_DOUBLE_EQ(a.vy, 0);
    a.ApplyHeading();
    a.Move();
    EXPECT_NEAR(a.x, 10, 1e-6);
    EXPECT_NEAR(a.y, 23, 1e-6);
}

TEST(ActorGeometry, AngleToGivesBearingsFromThePointThatTurnIntoHeadings) {
    Probe a;
    a.x = 100;
    a.y = 100;
    // The conversion factor is the game's own, a hair above 180 / pi, so results are only
    // near the round values.
    double below = a.AngleTo(100, 200);
    double above = a.AngleTo(100, 0);
    EXPECT_NEAR(below, 360, 1e-6);
    EXPECT_DOUBLE_EQ(above, 180);
    EXPECT_NEAR(std::fmod(below + 90, 360), 90, 1e-6);   // heading down, toward the point
    EXPECT_NEAR(std::fmod(above + 90, 360), 270, 1e-6);  // heading up
    EXPECT_NEAR(a.AngleTo(200, 100), 270, 1e-6);         // point to the right
}

TEST(ActorGeometry, MotionBearingOfRightwardMotionIs90) {
    Probe a;
    a.vx = 3;
    a.vy = 0;
    EXPECT_NEAR(a.MotionBearing(), 90, 1e-6);
    EXPECT_NEAR(a.MotionBearing() - 90, 0, 1e-6);  // the heading of motion
    a.vx = 0;
    a.vy = 2;
    EXPECT_NEAR(a.MotionBearing(), 180, 1e-6);
    a.vx = -1;
    a.vy = 0;
    EXPECT_NEAR(a.MotionBearing(), -90, 1e-6);
}

TEST(ActorGeometry, TouchingBoxesDoNotOverlap) {
    Probe a, b;
    a.alive = b.alive = true;
    a.halfWidth = a.halfHeight = 1;  // the ship's default hit radius
    b.halfWidth = b.halfHeight = 2;  // a bullet's
    a.x = a.y = 100;
    b.x = 103;
    b.y = 100;
    EXPECT_FALSE(a.Overlaps(b));
    EXPECT_FALSE(b.Overlaps(a));
    b.x = 102.999;
    EXPECT_TRUE(a.Overlaps(b));
    b.y = 97;  // touching vertically
    EXPECT_FALSE(a.Overlaps(b));
    b.y = 97.001;
    EXPECT_TRUE(a.Overlaps(b));
}

TEST(ActorGeometry, AFreeActorOverlapsNothing) {
    Probe a, b;
    a.alive = true;
    a.halfWidth = a.halfHeight = b.halfWidth = b.halfHeight = 10;
    EXPECT_FALSE(a.Overlaps(b));
    EXPECT_FALSE(b.Overlaps(a));
    b.alive = true;
    EXPECT_TRUE(a.Overlaps(b));
    a.Kill();
    EXPECT_FALSE(b.Overlaps(a));
}
