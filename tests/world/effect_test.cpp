#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "world_fixture.h"

namespace {

class Effects : public WorldTest {
protected:
    // The effect sprite (5): 'pictures' frames, each shown 'hold' + 1 frames.
    void EffectSprite(int pictures, int hold, bool animate) {
        TSpriteDef& s = project->sprites[TEffectPool::kEffectSprite];
        s.frameCount = pictures;
        s.framesPerStep = hold;
        s.animate = animate ? 1 : 0;
    }
    TEffect& First() { return world->effects.effects[0]; }
    // Drawing shows an effect once its delay has run out.
    static bool Shown(const TEffect& e) { return e.IsAlive() && e.delayCounter > e.delay; }
};

}  // namespace

TEST_F(Effects, BlendStepIs255DividedByTheEffectSpritesPictures) {
    EffectSprite(8, 2, true);
    Link();
    EXPECT_EQ(First().blendStep, 31);
    EXPECT_EQ(world->effects.effects[127].blendStep, 31);
    EXPECT_DOUBLE_EQ(First().scale, 1.0);
    EXPECT_EQ(First().frameCount, 8);
    EXPECT_FALSE(First().IsAlive());
}

TEST_F(Effects, EmptyEffectSpriteFadesInAtOnce) {
    EffectSprite(0, 2, true);
    Link();
    EXPECT_EQ(First().blendStep, 255);
    EffectSprite(-4, 2, true);
    world->effects.SetupAll(project.get());
    EXPECT_EQ(First().blendStep, 255);
}

TEST_F(Effects, EightPicturesBlendBy31AndFreeInTheUpdateThatReachesPicture7) {
    EffectSprite(8, 2, true);
    Link();
    world->effects.Spawn(50, 60, 1.5, 0);
    std::vector<int> blends, frames;
    int updates = 0;
    while (First().IsAlive() && updates < 100) {
        world->effects.UpdateAll();
        ++updates;
        if (Shown(First())) {
            blends.push_back(First().blend);
            frames.push_back(First().frame);
        }
    }
    // Shown from the first update on, a new picture every third frame, freed at picture 7.
    EXPECT_EQ(updates, 22);
    ASSERT_EQ(blends.size(), 21u);
    for (size_t k = 0; k < blends.size(); ++k) {
        EXPECT_EQ(blends[k], 31 * static_cast<int>(k)) << k;
        EXPECT_EQ(frames[k], static_cast<int>(k / 3)) << k;
    }
    EXPECT_EQ(First().frame, 7);  // reached, but never drawn
    // Standing still means creeping at the stop speed.
    EXPECT_NEAR(First().x, 50, 1e-4);
    EXPECT_NEAR(First().y, 60, 1e-4);
}

TEST_F(Effects, OnePictureSpriteIsShownInExactlyOneFrame) {
    for (bool animate : {false, true}) {
        SetUp();
        EffectSprite(1, 3, animate);
        Link();
        world->effects.Spawn(10, 10, 1.0, 2);
        int shown = 0;
        for (int i = 0; i < 20; ++i) {
            world->effects.UpdateAll();
            shown += Shown(First()) ? 1 : 0;
        }
        EXPECT_EQ(shown, 1) << "animate " << animate;
        EXPECT_FALSE(First().IsAlive());
    }
}

TEST_F(Effects, SeveralPicturesWithoutAnimationNeverEnd) {
    EffectSprite(4, 1, false);
    Link();
    world->effects.Spawn(10, 10, 1.0, 0);
    for (int i = 0; i < 1000; ++i) world->effects.UpdateAll();
    EXPECT_TRUE(First().IsAlive());
    EXPECT_EQ(First().frame, 0);
    world->effects.KillAll();
    EXPECT_FALSE(First().IsAlive());
}

TEST_F(Effects, DelayWaitsBeforeTheFirstDrawingAndTheEffectStandsStill) {
    EffectSprite(8, 2, true);
    Link();
    // A slot left with an angle and speed of its own still stands still.
    First().angle = 45;
    First().speed = 9;
    world->effects.Spawn(100, 100, 1.0, 3);
    for (int i = 0; i < 3; ++i) {
        world->effects.UpdateAll();
        EXPECT_FALSE(Shown(First())) << i;
    }
    world->effects.UpdateAll();
    EXPECT_TRUE(Shown(First()));
    EXPECT_EQ(First().blend, 0);
    EXPECT_EQ(First().frame, 0);
    for (int i = 0; i < 5; ++i) world->effects.UpdateAll();
    EXPECT_NEAR(First().x, 100, 1e-4);
    EXPECT_NEAR(First().y, 100, 1e-4);
}

TEST_F(Effects, RandomDelayIsRandModulo10) {
    Link();
    sys::SeedRandom(99);
    std::vector<int> expected;
    for (int i = 0; i < TEffectPool::kSize; ++i) expected.push_back(sys::Rand() % 10);
    sys::SeedRandom(99);
    for (int i = 0; i < TEffectPool::kSize; ++i) world->effects.Spawn(1, 1, 1, -1);
    std::set<int> seen;
    for (int i = 0; i < TEffectPool::kSize; ++i) {
        EXPECT_EQ(world->effects.effects[i].delay, expected[i]) << i;
        seen.insert(world->effects.effects[i].delay);
    }
    EXPECT_EQ(*seen.begin(), 0);
    EXPECT_EQ(*seen.rbegin(), 9);
}

TEST_F(Effects, FullPoolDropsTheRequest) {
    Link();
    for (int i = 0; i < TEffectPool::kSize; ++i) world->effects.Spawn(i, 0, 1, 0);
    world->effects.Spawn(999, 999, 1, 0);
    for (int i = 0; i < TEffectPool::kSize; ++i) EXPECT_DOUBLE_EQ(world->effects.effects[i].x, i);
    // A freed slot is the next one taken.
    world->effects.effects[40].Kill();
    world->effects.Spawn(999, 5, 1, 0);
    EXPECT_DOUBLE_EQ(world->effects.effects[40].x, 999);
}

TEST_F(Effects, ExplodeScattersSixEffectsDrawingOffsetsScaleThenDelay) {
    Link();
    sys::SeedRandom(7);
    struct Expect {
        int rx, ry;
        double scale;
        int delay;
    };
    std::vector<Expect> expected;
    for (int i = 0; i < 6; ++i) {
        Expect e;
        e.rx = sys::Rand() % 67 - 33;
        e.ry = sys::Rand() % 67 - 33;
        e.scale = 1.0 + sys::Rand() / 32767.0;
        e.delay = sys::Rand() % 10;
        expected.push_back(e);
    }
    sys::SeedRandom(7);
    uint64_t before = sys::RandCalls();
    world->effects.Explode(200, 300);
    EXPECT_EQ(sys::RandCalls() - before, 24u);
    EXPECT_EQ(AliveEffects(), 6);
    for (int i = 0; i < 6; ++i) {
        const TEffect& e = world->effects.effects[i];
        EXPECT_DOUBLE_EQ(e.x, 200 + expected[i].rx) << i;
        EXPECT_DOUBLE_EQ(e.y, 300 + expected[i].ry) << i;
        EXPECT_DOUBLE_EQ(e.scale, expected[i].scale) << i;
        EXPECT_EQ(e.delay, expected[i].delay) << i;
        EXPECT_GE(e.scale, 1.0);
        EXPECT_LE(e.scale, 2.0);
    }
}

TEST_F(Effects, SparkIsOneSmallUndelayedEffectNearThePoint) {
    Link();
    sys::SeedRandom(3);
    int rx = sys::Rand() % 3 - 1;
    int ry = sys::Rand() % 3 - 1;
    double scale = (sys::Rand() % 6) * 0.1;
    sys::SeedRandom(3);
    uint64_t before = sys::RandCalls();
    world->effects.Spark(40, 50);
    EXPECT_EQ(AliveEffects(), 1);
    EXPECT_DOUBLE_EQ(First().x, 40 + rx);
    EXPECT_DOUBLE_EQ(First().y, 50 + ry);
    EXPECT_DOUBLE_EQ(First().scale, scale);
    EXPECT_EQ(First().delay, 0);
    EXPECT_EQ(sys::RandCalls() - before, 3u);
}
