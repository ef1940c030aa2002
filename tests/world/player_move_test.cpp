#include <gtest/gtest.h>

#include <cmath>

#include "media/host.h"
#include "media/media.h"
#include "world_fixture.h"

namespace {

class PlayerMove : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        project->player.moveSpeed = 40;  // 4 pixels a frame
        project->player.hitRadius = 3;
        project->sprites[3].frameHeight = 40;
    }
    TPlayer& P() { return world->player; }
    // Holds the keys for one ship update and returns the step it made.
    void StepWith(std::initializer_list<int> keys, double* dx, double* dy) {
        ReleaseAll();
        for (int k : keys) Hold(k);
        double x = P().x, y = P().y;
        P().Update();
        *dx = P().x - x;
        *dy = P().y - y;
    }
};

}  // namespace

TEST_F(PlayerMove, SetupTakesTheProjectsSettings) {
    project->player.initialLife = 4;
    project->player.initialBombs = 2;
    project->sprites[2].frameCount = 5;
    project->sprites[4].framesPerStep = 7;
    project->sprites[6].frameCount = 6;
    Link();
    EXPECT_EQ(P().halfWidth, 3);
    EXPECT_EQ(P().halfHeight, 3);
    EXPECT_DOUBLE_EQ(P().shipSpeed, 4.0);
    EXPECT_EQ(P().startLives, 4);
    EXPECT_EQ(P().startBombs, 2);
    EXPECT_EQ(P().straightHeight, 40);
    EXPECT_EQ(P().left.frameCount, 5);
    EXPECT_EQ(P().right.framesPerStep, 7);
    EXPECT_EQ(P().bomb.frameCount, 6);
    EXPECT_EQ(P().respawnTimer, 40);
    EXPECT_EQ(P().direction, 1);
}

TEST_F(PlayerMove, ResetPutsTheShipStillAtTheBottomCentre) {
    Link();
    P().x = 17;
    P().power = 4;
    P().gameOver = true;
    P().vx = 3;
    P().Reset();
    EXPECT_TRUE(P().IsAlive());
    EXPECT_DOUBLE_EQ(P().x, 208);
    EXPECT_DOUBLE_EQ(P().y, 440);
    EXPECT_EQ(P().power, 0);
    EXPECT_FALSE(P().gameOver);
    EXPECT_DOUBLE_EQ(P().speed, kStopSpeed);
    EXPECT_LT(std::fabs(P().vx), 1e-5);
}

TEST_F(PlayerMove, EightDirectionsAllAtFullSpeed) {
    Link();
    struct Case {
        std::initializer_list<int> keys;
        double heading;
        int direction;
    };
    const Case cases[] = {
        {{kKeyLeft}, 180, 0},
        {{kKeyUp}, -90, 1},
        {{kKeyRight}, 0, 2},
        {{kKeyDown}, 90, 1},
        {{kKeyLeft, kKeyUp}, -135, 0},
        {{kKeyUp, kKeyRight}, -45, 2},
        {{kKeyRight, kKeyDown}, 45, 2},
        {{kKeyDown, kKeyLeft}, 135, 0},
    };
    for (const Case& c : cases) {
        P().x = 200;
        P().y = 240;
        double dx, dy;
        StepWith(c.keys, &dx, &dy);
        EXPECT_NEAR(std::hypot(dx, dy), 4.0, 1e-6) << c.heading;
        EXPECT_NEAR(dx, 4.0 * std::cos(c.heading * kDegToRad), 1e-6) << c.heading;
        EXPECT_NEAR(dy, 4.0 * std::sin(c.heading * kDegToRad), 1e-6) << c.heading;
        EXPECT_EQ(P().direction, c.direction) << c.heading;
    }
}

TEST_F(PlayerMove, LeftBeatsRightAndUpBeatsDown) {
    Link();
    double dx, dy;
    P().y = 240;
    StepWith({kKeyLeft, kKeyRight}, &dx, &dy);
    EXPECT_NEAR(dx, -4, 1e-6);
    EXPECT_NEAR(dy, 0, 1e-6);
    EXPECT_EQ(P().direction, 0);
    StepWith({kKeyUp, kKeyDown}, &dx, &dy);
    EXPECT_NEAR(dx, 0, 1e-6);
    EXPECT_NEAR(dy, -4, 1e-6);
    EXPECT_EQ(P().direction, 1);
    StepWith({kKeyLeft, kKeyRight, kKeyUp}, &dx, &dy);
    EXPECT_NEAR(dx, -4 / std::sqrt(2.0), 1e-6);
    EXPECT_NEAR(dy, -4 / std::sqrt(2.0), 1e-6);
    EXPECT_EQ(P().direction, 0);
}

TEST_F(PlayerMove, NoKeyHaltsKeepingTheAngle) {
    Link();
    double dx, dy;
    StepWith({kKeyRight}, &dx, &dy);
    StepWith({}, &dx, &dy);
    EXPECT_LT(std::hypot(dx, dy), 1e-5);
    EXPECT_DOUBLE_EQ(P().speed, kStopSpeed);
    EXPECT_DOUBLE_EQ(P().angle, 0);
    EXPECT_EQ(P().direction, 1);
}

TEST_F(PlayerMove, CentreStaysInsideThePlayField) {
    Link();
    double dx, dy;
    P().x = 2;
    P().y = 478;
    StepWith({kKeyDown, kKeyLeft}, &dx, &dy);
    EXPECT_DOUBLE_EQ(P().x, 0);
    EXPECT_DOUBLE_EQ(P().y, 480);
    P().x = 414;
    P().y = 1;
    StepWith({kKeyUp, kKeyRight}, &dx, &dy);
    EXPECT_DOUBLE_EQ(P().x, 416);
    EXPECT_DOUBLE_EQ(P().y, 0);
}

TEST_F(PlayerMove, AllThreePicturesAnimateWhicheverIsShown) {
    for (int n : {2, 3, 4}) {
        project->sprites[n].animate = 1;
        project->sprites[n].frameCount = 3;
        project->sprites[n].framesPerStep = n - 2;  // 0, 1, 2
    }
    Link();
    for (int i = 0; i < 6; ++i) P().Update();
    EXPECT_EQ(P().left.frame, 0);      // a new picture every frame: 6 steps
    EXPECT_EQ(P().straight.frame, 0);  // every second frame: 3 steps
    EXPECT_EQ(P().right.frame, 2);     // every third frame: 2 steps
}

TEST_F(PlayerMove, PadMovesAndFiresLikeTheKeys) {
    media::SetHost(media::CreateHeadlessHost());
    ASSERT_EQ(MediaInit(), 0);
    media::SetInputOverride([](uint32_t, uint8_t*, int* pad) { *pad = 0x02 | 0x40; });
    FlipScreen();
    uint8_t keys[256];
    GetKeyStateAll(keys);
    Link();
    double x = P().x;
    for (int i = 0; i < 4; ++i) P().Update();
    media::SetInputOverride(nullptr);
    FlipScreen();
    GetKeyStateAll(keys);
    MediaEnd();
    EXPECT_NEAR(P().x, x - 16, 1e-6);
    EXPECT_EQ(AliveBullets(), 3);
}
