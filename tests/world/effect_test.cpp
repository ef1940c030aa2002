#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

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
    // Updates until effect 0 is freed; returns how many frames it was shown in.
    int ShownFrames(std::vector<int>* blends = nullptr, std::vector<int>* frames = nullptr) {
        int shown = 0;
        for (int i = 0; i < 100 && effect(0).IsAlive(); ++i) {
            world->effects.UpdateAll();
            const TEffect& e = effect(0);
            if (!e.IsAlive() || e.delayCounter <= e.delay) continue;  // what drawing tests
            ++shown;
            if (blends) blends->push_back(e.blend);
            if (frames) frames->push_back(e.frame);
        }
        return shown;
    }
};

}  // namespace

TEST_F(Effects, EightPicturesBlendBy31AndEndInTheUpdateThatReachesPicture7) {
    LinkWithEffectSprite(8, 2, true);
    EXPECT_EQ(effect(127).blendStep, 31);
    world->effects.Spawn(50, 60, 1.5, 0);
    std::vector<int> blends, frames;
    EXPECT_EQ(ShownFrames(&blends, &frames), 21);
    for (int k = 0; k < 21; ++k) {
        EXPECT_EQ(blends[k], 31 * k) << k;
        EXPECT_EQ(frames[k], k / 3) << k;  // picture 7 is never shown
    }
    EXPECT_NEAR(effect(0).x, 50, 1e-4);  // standing still: the stop speed only
}

TEST_F(Effects, OnePictureIsShownInExactlyOneFrameAfterItsDelay) {
    LinkWithEffectSprite(1, 3, true);
    world->effects.Spawn(10, 10, 1.0, 2);
    EXPECT_EQ(ShownFrames(), 1);
    EXPECT_FALSE(effect(0).IsAlive());
}

TEST_F(Effects, EmptySpriteFadesInAtOnceAndStillPicturesNeverEnd) {
    LinkWithEffectSprite(0, 2, true);
    EXPECT_EQ(effect(0).blendStep, 255);
    SetUp();
    LinkWithEffectSprite(4, 1, false);
    world->effects.Spawn(10, 10, 1.0, 0);
    EXPECT_EQ(ShownFrames(), 100);
    EXPECT_TRUE(effect(0).IsAlive());
}

TEST_F(Effects, RandomDelayIsZeroToNineFromTheSharedStream) {
    Link();
    sys::SeedRandom(99);
    std::vector<int> expected;
    for (int i = 0; i < TEffectPool::kSize; ++i) expected.push_back(sys::Rand() % 10);
    sys::SeedRandom(99);
    for (int i = 0; i <= TEffectPool::kSize; ++i) world->effects.Spawn(i, 1, 1, -1);
    int low = 9, high = 0;
    for (int i = 0; i < TEffectPool::kSize; ++i) {
        EXPECT_EQ(effect(i).delay, expected[i]) << i;
        EXPECT_DOUBLE_EQ(effect(i).x, i);  // the 129th request found no slot
        low = std::min(low, effect(i).delay);
        high = std::max(high, effect(i).delay);
    }
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 9);
}

TEST_F(Effects, ExplodeAndSparkDrawOffsetsThenScaleThenDelay) {
    Link();
    sys::SeedRandom(7);
    std::vector<double> want;  // x, y, scale, delay for each effect
    for (int i = 0; i < 6; ++i) {
        want.push_back(200 + sys::Rand() % 67 - 33);
        want.push_back(300 + sys::Rand() % 67 - 33);
        want.push_back(1.0 + sys::Rand() / 32767.0);
        want.push_back(sys::Rand() % 10);
    }
    want.push_back(40 + sys::Rand() % 3 - 1);
    want.push_back(50 + sys::Rand() % 3 - 1);
    want.push_back((sys::Rand() % 6) * 0.1);
    want.push_back(0);
    sys::SeedRandom(7);
    world->effects.Explode(200, 300);
    world->effects.Spark(40, 50);
    ASSERT_EQ(Alive(world->effects.effects), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_DOUBLE_EQ(effect(i).x, want[4 * i]) << i;
        EXPECT_DOUBLE_EQ(effect(i).y, want[4 * i + 1]) << i;
        EXPECT_DOUBLE_EQ(effect(i).scale, want[4 * i + 2]) << i;
        EXPECT_EQ(effect(i).delay, want[4 * i + 3]) << i;
    }
}
