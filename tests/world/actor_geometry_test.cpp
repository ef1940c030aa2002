#include <gtest/gtest.h>

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
}

// The game's conversion factor is a hair above 180 / pi: bearings are near the round values.
TEST(ActorGeometry, BearingsOfPointsAndOfMotion) {
    Probe a;
    a.x = a.y = 100;
    EXPECT_NEAR(a.AngleTo(100, 200), 360, 1e-6);  // below: +90 heads down to it
    EXPECT_DOUBLE_EQ(a.AngleTo(100, 0), 180);     // above: +90 heads up
    a.vx = 3;
    EXPECT_NEAR(a.MotionBearing(), 90, 1e-6);  // moving right: -90 gives heading 0
}

TEST(ActorGeometry, TouchingOrFreeBoxesDoNotOverlap) {
    Probe a, b;
    a.alive = b.alive = true;
    a.halfWidth = a.halfHeight = 1;
    b.halfWidth = b.halfHeight = 2;
    b.x = 3;  // |dx| equals the sum of the half-widths
    EXPECT_FALSE(a.Overlaps(b));
    b.x = 2.999;
    EXPECT_TRUE(a.Overlaps(b));
    b.y = -3;  // and on the other axis
    EXPECT_FALSE(b.Overlaps(a));
    b.y = 0;
    b.Kill();
    EXPECT_FALSE(a.Overlaps(b));
    EXPECT_FALSE(b.Overlaps(a));
}
