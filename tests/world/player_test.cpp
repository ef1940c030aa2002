#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "world_fixture.h"

namespace {

class Ship : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        project->player.moveSpeed = 40;  // 4 pixels a frame
        project->sprites[3].frameHeight = 24;
    }
    // One ship update with exactly these keys held; the step it made.
    void Step(std::initializer_list<int> keys, double* dx, double* dy) {
        for (uint8_t& k : app.keys) k = 0;
        for (int k : keys) Hold(k);
        double x = player().x, y = player().y;
        player().Update();
        *dx = player().x - x;
        *dy = player().y - y;
    }
};

}  // namespace

TEST_F(Ship, SteeringPrioritiesAndFullSpeedDiagonals) {
    Link();
    struct Case {
        std::initializer_list<int> keys;
        double heading;
        int direction;
    };
    const Case cases[] = {
        {{kKeyLeft, kKeyRight}, 180, 0},
        {{kKeyUp, kKeyDown}, -90, 1},
        {{kKeyLeft, kKeyRight, kKeyUp}, -135, 0},
        {{kKeyRight, kKeyDown}, 45, 2},
        {{kKeyUp, kKeyRight}, -45, 2},
        {{kKeyDown, kKeyLeft}, 135, 0},
    };
    for (const Case& c : cases) {
        player().x = player().y = 200;
        double dx, dy;
        Step(c.keys, &dx, &dy);
        EXPECT_NEAR(dx, 4 * std::cos(c.heading * kDegToRad), 1e-6) << c.heading;
        EXPECT_NEAR(dy, 4 * std::sin(c.heading * kDegToRad), 1e-6) << c.heading;
        EXPECT_EQ(player().direction, c.direction) << c.heading;
    }
    double dx, dy;
    Step({}, &dx, &dy);
    EXPECT_LT(std::hypot(dx, dy), 1e-5);
    EXPECT_EQ(player().direction, 1);
    player().x = 2;
    Step({kKeyLeft}, &dx, &dy);
    EXPECT_DOUBLE_EQ(player().x, 0);  // the centre stays inside the field
}

TEST_F(Ship, PowerFiveVolleyIsEightShotsInTheListedOrder) {
    Link();
    player().power = 5;
    Hold(kKeyFire);
    for (int i = 0; i < 4; ++i) player().Update();
    const double want[8][3] = {{-5, 0, -90},  {5, 0, -90},  {-15, 3, -92}, {15, 3, -88},
                               {-25, 6, -94}, {25, 6, -86}, {-35, 9, -96}, {35, 9, -84}};
    ASSERT_EQ(Alive(world->bullets.bullets), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_NEAR(bullet(i).x - player().x, want[i][0], 1e-5) << i;
        EXPECT_NEAR(bullet(i).y - player().y, want[i][1], 1e-5) << i;
        EXPECT_DOUBLE_EQ(bullet(i).angle, want[i][2]) << i;
        EXPECT_DOUBLE_EQ(bullet(i).speed, 20.0);
        EXPECT_EQ(bullet(i).side, 1);
    }
}

TEST_F(Ship, VolleysComeInTheFourthHeldFrameThenEveryFourthAndEarlierAfterARelease) {
    Link();
    std::vector<int> volleys;
    for (int frame = 1; frame <= 16; ++frame) {
        Hold(kKeyFire, frame <= 9 || frame >= 13);  // released in frames 10 to 12
        int before = Alive(world->bullets.bullets);
        player().Update();
        if (Alive(world->bullets.bullets) > before) volleys.push_back(frame);
    }
    // The count of 1 left at the release carries over: the next volley needs 3 frames.
    EXPECT_EQ(volleys, (std::vector<int>{4, 8, 15}));
    player().Reset();  // a new game keeps the process-wide count
    EXPECT_EQ(PlayerShotTimer(), 1);
}

TEST_F(Ship, ReappearsInThe40thFrameAndBlinksFor220WithPowerBackTo0) {
    Link();
    player().power = 3;
    player().PlayerHit();
    Frames(39);
    EXPECT_FALSE(player().IsAlive());
    Frames(1);
    ASSERT_TRUE(player().IsAlive());
    EXPECT_DOUBLE_EQ(player().x, 208);
    EXPECT_DOUBLE_EQ(player().y, 480 - 24);
    EXPECT_EQ(player().power, 0);
    int blinking = 0;
    bool translucent = false;
    while (player().blinking && blinking < 300) {
        ++blinking;
        player().PlayerHit();  // untouchable meanwhile
        ASSERT_TRUE(player().IsAlive());
        Frames(1);
        translucent = translucent || player().alpha != 255;
    }
    EXPECT_EQ(blinking, 220);
    EXPECT_TRUE(translucent);
    Frames(1);
    EXPECT_EQ(player().alpha, 255);
}

TEST_F(Ship, HitsAreIgnoredWhileBlinkingBombingOrInvincible) {
    Link();
    player().blinking = true;
    player().PlayerHit();
    player().blinking = false;
    player().bomb.Start();
    player().PlayerHit();
    player().bomb.Kill();
    project->player.invincible = 1;
    player().PlayerHit();
    EXPECT_TRUE(player().IsAlive());
    EXPECT_EQ(Alive(world->effects.effects), 0);
    project->player.invincible = 0;
    player().PlayerHit();
    EXPECT_FALSE(player().IsAlive());
    EXPECT_EQ(Alive(world->effects.effects), 6);  // the explosion
}

TEST_F(Ship, LosingTheLastLifeEndsTheGame101FramesLater) {
    project->player.initialLife = 0;
    Link();
    player().PlayerHit();
    EXPECT_EQ(player().lives, -1);
    Frames(100);
    EXPECT_FALSE(player().gameOver);
    Frames(1);
    EXPECT_TRUE(player().gameOver);
    EXPECT_FALSE(player().IsAlive());
}
