// The actor model's geometry (turning, bearings, boxes), and where the pictures of a hit and
// of an explosion land, replayed on the random stream.
#include "world_fixture.h"

namespace {

TEST(ActorGeometry, TurnNormalisesOnceBearingsAreNearRoundValuesAndTouchingBoxesDoNotOverlap) {
    TEffect a, b;
    a.SetAngle(355);
    const double turns[] = {10, -10, 5, -360}, angles[] = {5, 355, 360, 0};  // 360 is kept
    for (int i = 0; i < 4; ++i) {
        a.Turn(turns[i]);
        EXPECT_DOUBLE_EQ(a.angle, angles[i]) << i;
    }
    // The game's conversion factor is a hair above 180 / pi.
    a.x = a.y = 100;
    EXPECT_NEAR(a.AngleTo(100, 200), 360, 1e-6);  // below: +90 heads down to it
    EXPECT_DOUBLE_EQ(a.AngleTo(100, 0), 180);     // above: +90 heads up
    a.vx = 3;
    EXPECT_NEAR(a.MotionBearing(), 90, 1e-6);  // moving right: -90 gives heading 0
    a.x = a.y = 0;
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
    EXPECT_FALSE(a.Overlaps(b) || b.Overlaps(a));
}

// A spark lands on rand() % (2h + 1) - h on each axis over the half sizes as stored (a
// negative one puts it beside the enemy), then its own -1..1 on each axis, at a scale of 0 to
// 0.5; an explosion is six pictures up to 33 pixels off, scaled 1 to 2, each after its delay.
TEST_F(WorldTest, SparksAndExplosionsLandWhereTheirDrawsPutThem) {
    project->sprites[5].frameCount = 0;  // a hostile effect sprite: it fades in at once
    Link();
    for (auto [w, h] : {std::pair{12, 7}, {0, 5}, {-3, -8}}) {
        for (uint32_t seed = 1; seed <= 4; ++seed) {
            SCOPED_TRACE(testing::Message() << w << " " << h << " seed " << seed);
            world->effects.KillAll();
            Def(1).hitWidth = w;
            Def(1).hitHeight = h;
            Def(1).durability = 100;
            TEnemy& e = Enemy(Pool().SpawnEnemy(1, 150, 250, 0, 0, false, -1));
            sys::SeedRandom(seed);
            e.Damage(1);
            RandMirror m(seed);
            const int rx = m.PlusMinus(w), ry = m.PlusMinus(h);
            EXPECT_EQ(effect(0).x, 150 + rx + m.Next() % 3 - 1);
            EXPECT_EQ(effect(0).y, 250 + ry + m.Next() % 3 - 1);
            EXPECT_DOUBLE_EQ(effect(0).scale, (m.Next() % 6) * 0.1);
            EXPECT_EQ(effect(0).delay, 0);
            e.Kill();
        }
    }
    world->effects.KillAll();
    sys::SeedRandom(7);
    RandMirror m(7);
    world->effects.Explode(300, 50);
    for (int i = 0; i < 6; ++i) {
        const int rx = m.Next() % 67 - 33, ry = m.Next() % 67 - 33;
        EXPECT_DOUBLE_EQ(effect(i).scale, 1.0 + m.Next() / 32767.0) << i;
        EXPECT_EQ(std::make_pair(effect(i).x, effect(i).y), std::make_pair(300.0 + rx, 50.0 + ry));
        EXPECT_EQ(effect(i).delay, m.Next() % 10) << i;
    }
    EXPECT_EQ(Alive(world->effects.effects), 6);
}

}  // namespace
