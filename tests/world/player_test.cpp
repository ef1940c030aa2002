// The player's ship: steering, volleys and the shared shot timer, hits, respawn, game over,
// and its bomb.
#include <cmath>
#include <tuple>

#include "media/core.h"
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

// Keys in upper case, the same directions on the pad in lower case.
TEST_F(Ship, SteeringPrioritiesAndFullSpeedDiagonalsByKeyOrPad) {
    struct {
        const char* keys;  // Left, Up, Right, Down
        double heading;
        int direction;
    } const cases[] = {{"LR", 180, 0}, {"UD", -90, 1}, {"LRU", -135, 0}, {"RD", 45, 2},
                       {"UR", -45, 2}, {"DL", 135, 0}, {"R", 0, 2},      {"D", 90, 1},
                       {"", 0, 1},     {"l", 180, 0},  {"u", -90, 1},    {"r", 0, 2},
                       {"d", 90, 1}};
    for (const auto& c : cases) {
        for (uint8_t& k : app.keys) k = 0;
        media::TheCore().pad = 0;
        for (const char* k = c.keys; *k; ++k) {
            const std::string order = "DLRUdlru";  // pad bits 1, 2, 4, 8
            const size_t i = order.find(*k);
            if (i >= 4) media::TheCore().pad |= 1 << (i - 4);
            if (i < 4) Hold(i == 0 ? kKeyDown : i == 1 ? kKeyLeft : i == 2 ? kKeyRight : kKeyUp);
        }
        player().x = player().y = 200;
        player().Update();
        double step = *c.keys ? 4 : 0;
        EXPECT_NEAR(player().x - 200, step * std::cos(c.heading * kDegToRad), 1e-5) << c.keys;
        EXPECT_NEAR(player().y - 200, step * std::sin(c.heading * kDegToRad), 1e-5) << c.keys;
        EXPECT_EQ(player().direction, c.direction) << c.keys;
    }
    media::TheCore().pad = 0;
    // The centre stays inside the field on every side.
    for (auto [key, x, y, ex, ey] : {std::tuple{kKeyLeft, 2.0, 200.0, 0.0, 200.0},
                                     {kKeyLeft, 4.5, 200.0, 0.5, 200.0},
                                     {kKeyUp, 200.0, 4.5, 200.0, 0.5},
                                     {kKeyUp, 200.0, 2.0, 200.0, 0.0},
                                     {kKeyRight, 414.0, 200.0, 416.0, 200.0},
                                     {kKeyDown, 200.0, 478.0, 200.0, 480.0}}) {
        for (uint8_t& k : app.keys) k = 0;
        Hold(key);
        player().x = x;
        player().y = y;
        player().Update();
        EXPECT_NEAR(player().x, ex, 1e-6);
        EXPECT_NEAR(player().y, ey, 1e-6);
    }
}

// Power p fires p + 3 shots in the listed order, as x offsets from the ship: a shot k tens
// of pixels out flies 3k pixels lower and 2k degrees wider than straight up.
TEST_F(Ship, VolleysByPowerInTheListedOrderByKeyOrPad) {
    const std::vector<int> volleys[] = {{},
                                        {0, -10, 10},
                                        {-5, 5, -10, 10},
                                        {0, -10, 10, -20, 20},
                                        {-5, 5, -15, 15, -25, 25},
                                        {0, -10, 10, -20, 20, -30, 30},
                                        {-5, 5, -15, 15, -25, 25, -35, 35},
                                        {}};  // power -1 to 6
    for (int power = -1; power <= 6; ++power) {
        SCOPED_TRACE(power);
        world->bullets.KillAll();
        player().power = power;
        Hold(kKeyFire, power % 2 == 0);
        media::TheCore().pad = power % 2 ? 0x40 : 0;
        for (int i = 0; i < 4; ++i) player().Update();
        const std::vector<int>& xs = volleys[power + 1];
        ASSERT_EQ(Alive(world->bullets.bullets), static_cast<int>(xs.size()));
        for (size_t i = 0; i < xs.size(); ++i) {
            const int k = std::abs(xs[i]) / 10, side = xs[i] < 0 ? -1 : 1;
            EXPECT_NEAR(bullet(i).x - player().x, xs[i], 1e-5) << i;
            EXPECT_NEAR(bullet(i).y - player().y, 3 * k, 1e-5) << i;
            EXPECT_DOUBLE_EQ(bullet(i).angle, -90 + side * 2 * k) << i;
            EXPECT_DOUBLE_EQ(bullet(i).speed, 20.0);
            EXPECT_EQ(bullet(i).side, 1);
        }
    }
    media::TheCore().pad = 0;
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
        // Fading in by 2 a frame.
        ASSERT_TRUE(frame >= 162 || player().bomb.fade == 2 * (frame - 1)) << frame;
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
