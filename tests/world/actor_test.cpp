// The actor model: geometry of turning, bearings and boxes; effects with their delay, fading
// in, pictures and end.
#include <set>

#include "world_fixture.h"

namespace {

class Effects : public WorldTest {
protected:
    // The effect sprite: 'pictures' frames, each shown 'hold' + 1 frames; then Link.
    void LinkWithEffectSprite(int pictures, int hold, bool animate) {
        TSpriteDef& s = project->sprites[TEffectPool::kEffectSprite];
        s.frameCount = pictures;
        s.framesPerStep = hold;
        s.animate = animate;
        Link();
    }
    // Updates until effect 0 is freed (at most 100 times), recording the frames it is shown in.
    int ShownFrames() {
        for (int i = 0; i < 100 && effect(0).IsAlive(); ++i) {
            world->effects.UpdateAll();
            const TEffect& e = effect(0);
            if (!e.IsAlive() || e.delayCounter <= e.delay) continue;  // what drawing tests
            blends.push_back(e.blend);
            pictures.push_back(e.frame);
        }
        return static_cast<int>(blends.size());
    }
    std::vector<int> blends, pictures;
};

TEST_F(Effects, EightPicturesBlendBy31AndEndInTheUpdateThatReachesPicture7) {
    LinkWithEffectSprite(8, 2, true);
    EXPECT_EQ(effect(127).blendStep, 31);
    world->effects.Spawn(50, 60, 1.5, 0);
    EXPECT_EQ(ShownFrames(), 21);
    for (int k = 0; k < 21; ++k) {
        EXPECT_EQ(blends[k], 31 * k) << k;
        EXPECT_EQ(pictures[k], k / 3) << k;  // picture 7 is never shown
    }
}

TEST_F(Effects, OnePictureIsShownOnceAfterItsDelayAndStillPicturesNeverEnd) {
    for (bool animate : {true, false}) {
        LinkWithEffectSprite(animate ? 1 : 4, 3, animate);
        world->effects.Spawn(10, 10, 1.0, animate ? 2 : 0);
        EXPECT_EQ(ShownFrames(), animate ? 1 : 100);
        EXPECT_EQ(effect(0).IsAlive(), !animate);
        world->effects.KillAll();
        blends.clear(), pictures.clear();
    }
}

TEST_F(Effects, RandomDelayIsZeroToNineAndAFullPoolTakesNoMore) {
    LinkWithEffectSprite(0, 2, true);
    EXPECT_EQ(effect(0).blendStep, 255);  // an empty sprite fades in at once
    for (int i = 0; i <= TEffectPool::kSize; ++i) world->effects.Spawn(i, 1, 1, -1);
    std::set<int> delays;
    for (int i = 0; i < TEffectPool::kSize; ++i) {
        EXPECT_DOUBLE_EQ(effect(i).x, i);  // the 129th request found no slot
        delays.insert(effect(i).delay);
    }
    EXPECT_EQ(delays, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

// Where the pictures of a hit and of an explosion land, replayed on the random stream: a
// spark on a random point of the hit box, off by up to one pixel, at a scale of 0 to 0.5;
// an explosion as six pictures up to 33 pixels off, scaled 1 to 2, each after its own delay.
TEST_F(Effects, SparksAndExplosionsLandWhereTheirDrawsPutThem) {
    Link();
    PlaceEnemy(0, 1, 100, 200, 0, 5).halfHeight = 7;
    Enemy(0).halfWidth = 12;
    // A seed whose hit point and spark offsets are none of them 0, so that every sign counts.
    uint32_t seed = 1;
    for (;; ++seed) {
        RandMirror m(seed);
        if (m.PlusMinus(12) && m.PlusMinus(7) && m.Next() % 3 != 1 && m.Next() % 3 != 1) break;
    }
    sys::SeedRandom(seed);
    RandMirror mirror(seed);
    Enemy(0).Damage(1);
    const int hx = mirror.PlusMinus(12), hy = mirror.PlusMinus(7);
    const int sx = mirror.Next() % 3 - 1, sy = mirror.Next() % 3 - 1;
    EXPECT_EQ(effect(0).x, 100 + hx + sx);
    EXPECT_EQ(effect(0).y, 200 + hy + sy);
    EXPECT_DOUBLE_EQ(effect(0).scale, (mirror.Next() % 6) * 0.1);
    EXPECT_EQ(effect(0).delay, 0);
    world->effects.KillAll();
    world->effects.Explode(300, 50);
    for (int i = 0; i < 6; ++i) {
        const int rx = mirror.Next() % 67 - 33, ry = mirror.Next() % 67 - 33;
        EXPECT_DOUBLE_EQ(effect(i).scale, 1.0 + mirror.Next() / 32767.0) << i;
        EXPECT_EQ(std::make_pair(effect(i).x, effect(i).y), std::make_pair(300.0 + rx, 50.0 + ry));
        EXPECT_EQ(effect(i).delay, mirror.Next() % 10) << i;
    }
    EXPECT_EQ(Alive(world->effects.effects), 6);
}

TEST(ActorGeometry, TurnNormalisesOnceAndKeepsExactly360) {
    TEffect a;
    a.SetAngle(355);
    a.Turn(10);
    EXPECT_DOUBLE_EQ(a.angle, 5);
    a.Turn(-10);
    EXPECT_DOUBLE_EQ(a.angle, 355);
    a.Turn(5);
    EXPECT_DOUBLE_EQ(a.angle, 360);
    a.Turn(-360);
    EXPECT_DOUBLE_EQ(a.angle, 0);
}

// The game's conversion factor is a hair above 180 / pi: bearings are near the round values.
TEST(ActorGeometry, BearingsOfPointsAndOfMotion) {
    TEffect a;
    a.x = a.y = 100;
    EXPECT_NEAR(a.AngleTo(100, 200), 360, 1e-6);  // below: +90 heads down to it
    EXPECT_DOUBLE_EQ(a.AngleTo(100, 0), 180);     // above: +90 heads up
    a.vx = 3;
    EXPECT_NEAR(a.MotionBearing(), 90, 1e-6);  // moving right: -90 gives heading 0
}

TEST(ActorGeometry, TouchingOrFreeBoxesDoNotOverlap) {
    TEffect a, b;
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

}  // namespace
