// The player's ship: steering, volleys and the shared shot timer, hits, respawn, game over,
// and its bomb.
#include <cmath>

#include "world_fixture.h"

namespace {

class Ship : public WorldTest {
protected:
    void SetUp() override {
        project->player.moveSpeed = 40;  // 4 pixels a frame
        project->sprites[3].frameHeight = 24;
        project->enemies[1].bombDamage = 3;
        Link();
    }
};

TEST_F(Ship, SteeringPrioritiesAndFullSpeedDiagonals) {
    struct {
        const char* keys;  // Left, Up, Right, Down
        double heading;
        int direction;
    } const cases[] = {{"LR", 180, 0}, {"UD", -90, 1}, {"LRU", -135, 0}, {"RD", 45, 2},
                       {"UR", -45, 2}, {"DL", 135, 0}, {"", 0, 1}};
    for (const auto& c : cases) {
        for (uint8_t& k : app.keys) k = 0;
        for (const char* k = c.keys; *k; ++k) {
            Hold(*k == 'L' ? kKeyLeft : *k == 'U' ? kKeyUp : *k == 'R' ? kKeyRight : kKeyDown);
        }
        player().x = player().y = 200;
        player().Update();
        double step = *c.keys ? 4 : 0;
        EXPECT_NEAR(player().x - 200, step * std::cos(c.heading * kDegToRad), 1e-5) << c.keys;
        EXPECT_NEAR(player().y - 200, step * std::sin(c.heading * kDegToRad), 1e-5) << c.keys;
        EXPECT_EQ(player().direction, c.direction) << c.keys;
    }
    player().x = 2;
    Hold(kKeyLeft);
    player().Update();
    EXPECT_DOUBLE_EQ(player().x, 0);  // the centre stays inside the field
}

TEST_F(Ship, VolleysByPowerInTheListedOrder) {
    Hold(kKeyFire);
    const int shots[] = {0, 3, 4, 5, 6, 7, 8, 0};  // power -1 to 6
    const double five[8][3] = {{-5, 0, -90},  {5, 0, -90},  {-15, 3, -92}, {15, 3, -88},
                               {-25, 6, -94}, {25, 6, -86}, {-35, 9, -96}, {35, 9, -84}};
    for (int power = -1; power <= 6; ++power) {
        world->bullets.KillAll();
        player().power = power;
        for (int i = 0; i < 4; ++i) player().Update();
        EXPECT_EQ(Alive(world->bullets.bullets), shots[power + 1]) << "power " << power;
        for (int i = 0; power == 5 && i < 8; ++i) {
            EXPECT_NEAR(bullet(i).x - player().x, five[i][0], 1e-5) << i;
            EXPECT_NEAR(bullet(i).y - player().y, five[i][1], 1e-5) << i;
            EXPECT_DOUBLE_EQ(bullet(i).angle, five[i][2]) << i;
            EXPECT_DOUBLE_EQ(bullet(i).speed, 20.0);
            EXPECT_EQ(bullet(i).side, 1);
        }
    }
}

TEST_F(Ship, VolleysComeInTheFourthHeldFrameThenEveryFourthAndEarlierAfterARelease) {
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
    player().power = 3;
    player().PlayerHit();
    Frames(39);
    EXPECT_FALSE(player().IsAlive());
    Frames(1);
    ASSERT_TRUE(player().IsAlive());
    EXPECT_EQ(std::make_pair(player().x, player().y), std::make_pair(208.0, 480.0 - 24));
    EXPECT_EQ(player().power, 0);
    int blinking = 0, translucent = 0;
    for (; player().blinking && blinking < 300; ++blinking) {
        player().PlayerHit();  // untouchable meanwhile
        Frames(1);
        translucent += player().alpha != 255;
    }
    EXPECT_EQ(blinking, 220);
    EXPECT_GT(translucent, 200);
    EXPECT_TRUE(player().IsAlive());
    Frames(1);
    EXPECT_EQ(player().alpha, 255);
}

TEST_F(Ship, HitsAreIgnoredWhileBombingOrInvincibleAndTheLastLifeEndsTheGame101FramesLater) {
    player().bomb.Start();
    player().PlayerHit();
    player().bomb.Kill();
    project->player.invincible = 1;
    player().PlayerHit();
    EXPECT_TRUE(player().IsAlive());
    EXPECT_EQ(Alive(world->effects.effects), 0);
    project->player.invincible = 0;
    player().lives = 0;
    player().PlayerHit();
    EXPECT_EQ(Alive(world->effects.effects), 6);  // the explosion
    EXPECT_EQ(player().lives, -1);
    Frames(100);
    EXPECT_FALSE(player().gameOver);
    Frames(1);
    EXPECT_TRUE(player().gameOver);
    EXPECT_FALSE(player().IsAlive());
}

// Each bomb acts in 161 frames, erasing the enemies' bullets and drawing once a frame; the
// next starts in the frame in which the previous one ends.
TEST_F(Ship, HoldingTheBombKeySetsOffThreeBombsBackToBackAndNoFourth) {
    world->bullets.Fire(0, 0, 100, 100, 0, 0, false);
    world->bullets.Fire(0, 1, 100, 100, 0, 0, false);
    Hold(kKeyBomb);
    std::vector<int> starts;
    for (int frame = 1, stock = player().bombs; frame <= 700; ++frame) {
        uint64_t draws = DrawsDuring([&] { Frames(1); });
        if (player().bombs != stock) starts.push_back(frame);
        stock = player().bombs;
        if (frame < 484) {
            ASSERT_TRUE(player().bomb.IsAlive()) << frame;
            ASSERT_EQ(draws, frame > 1 ? 1u : 0u) << frame;  // the first acts from frame 2
        }
    }
    EXPECT_EQ(starts, (std::vector<int>{1, 162, 323}));
    EXPECT_FALSE(player().bomb.IsAlive());
    EXPECT_FALSE(bullet(0).IsAlive());
    EXPECT_TRUE(bullet(1).IsAlive());
}

TEST_F(Ship, EvenBombDrawsHurtEveryLiveEnemyByItsBombDamage) {
    TEnemy& a = PlaceEnemy(0, 1, 100, 100, 5, 10);
    TEnemy& b = PlaceEnemy(9, 1, 300, 100, 5, 10);
    player().bomb.Start();
    for (bool even : {false, true}) {
        uint32_t seed = 1;  // one whose first draw has the wanted parity
        while ((RandMirror(seed).Next() % 2 == 0) != even) ++seed;
        sys::SeedRandom(seed);
        player().bomb.Update();
        EXPECT_EQ(a.durability, even ? 7 : 10);
        EXPECT_EQ(b.durability, even ? 7 : 10);
    }
}

}  // namespace
