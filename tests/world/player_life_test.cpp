#include <gtest/gtest.h>

#include "render/score_texts.h"
#include "world_fixture.h"

namespace {

class PlayerLife : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        project->sprites[3].frameHeight = 24;
    }
    TPlayer& P() { return world->player; }
};

}  // namespace

TEST_F(PlayerLife, HitExplodesTheShipAndCostsALife) {
    Link();
    P().x = 150;
    P().y = 300;
    P().gameOverTimer = 12;
    P().PlayerHit();
    EXPECT_FALSE(P().IsAlive());
    EXPECT_EQ(P().lives, 9);
    EXPECT_EQ(P().respawnTimer, 40);
    EXPECT_EQ(P().gameOverTimer, 0);
    EXPECT_FALSE(P().blinking);
    EXPECT_EQ(AliveEffects(), 6);
    for (const TEffect& e : world->effects.effects) {
        if (!e.IsAlive()) continue;
        EXPECT_NEAR(e.x, 150, 33);
        EXPECT_NEAR(e.y, 300, 33);
    }
}

TEST_F(PlayerLife, HitsAreIgnoredWhileProtected) {
    Link();
    P().blinking = true;
    P().PlayerHit();
    P().blinking = false;
    P().bomb.Start();
    P().PlayerHit();
    P().bomb.Kill();
    project->player.invincible = 1;
    P().PlayerHit();
    EXPECT_TRUE(P().IsAlive());
    EXPECT_EQ(P().lives, 10);
    EXPECT_EQ(AliveEffects(), 0);
    project->player.invincible = 0;
    P().PlayerHit();
    EXPECT_EQ(P().lives, 9);
}

TEST_F(PlayerLife, ShipReappearsInThe40thFrameAndBlinksFor220) {
    Link();
    P().power = 3;
    P().x = 30;
    P().PlayerHit();
    for (int frame = 1; frame < 40; ++frame) {
        Frame();
        ASSERT_FALSE(P().IsAlive()) << frame;
    }
    Frame();
    ASSERT_TRUE(P().IsAlive());
    EXPECT_DOUBLE_EQ(P().x, 208);
    EXPECT_DOUBLE_EQ(P().y, 480 - 24);
    EXPECT_EQ(P().power, 0);
    EXPECT_TRUE(P().blinking);
    EXPECT_EQ(P().respawnTimer, 220);

    int blinkingFrames = 1;  // the frame it reappeared in
    bool translucent = false;
    while (P().blinking && blinkingFrames < 400) {
        Frame();
        translucent = translucent || P().alpha != 255;
        EXPECT_GE(P().alpha, 0);
        EXPECT_LE(P().alpha, 255);
        if (!P().blinking) break;
        // Untouchable meanwhile.
        P().PlayerHit();
        ASSERT_TRUE(P().IsAlive());
        ++blinkingFrames;
    }
    EXPECT_EQ(blinkingFrames, 220);
    EXPECT_TRUE(translucent);
    Frame();
    EXPECT_EQ(P().alpha, 255);
    EXPECT_EQ(P().lives, 9);
    P().PlayerHit();
    EXPECT_FALSE(P().IsAlive());
}

TEST_F(PlayerLife, LastLifeLostEndsTheGame101FramesLater) {
    project->player.initialLife = 0;
    Link();
    EXPECT_EQ(P().lives, 0);
    P().PlayerHit();
    EXPECT_EQ(P().lives, -1);
    TScoreTexts texts;
    texts.Format(0, 0, P().bombs, P().lives);
    EXPECT_STREQ(texts.Lives().c_str(), "00");
    for (int frame = 1; frame <= 100; ++frame) {
        Frame();
        ASSERT_FALSE(P().gameOver) << frame;
    }
    Frame();
    EXPECT_TRUE(P().gameOver);
    EXPECT_FALSE(P().IsAlive());  // never reappears
    // A new game clears it.
    P().lives = P().startLives;
    P().Reset();
    EXPECT_FALSE(P().gameOver);
}

TEST_F(PlayerLife, NewGameKeepsTheRestOfABlinkingCount) {
    Link();
    P().blinking = true;
    P().respawnTimer = 5;
    P().Reset();
    EXPECT_TRUE(P().blinking);
    Frames(4);
    EXPECT_TRUE(P().blinking);
    Frame();
    EXPECT_FALSE(P().blinking);
}
