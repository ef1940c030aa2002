// The player's ship: steering priorities, the exact shots of every power level and the
// volley timing with its process-wide counter.
#include <cmath>
#include <tuple>

#include "media/core.h"
#include "world_fixture.h"

namespace {

class Ship : public WorldTest {
protected:
    void SetUp() override {
        project->player.moveSpeed = 40;  // 4 pixels a frame
        Link();
    }
    void TearDown() override { media::TheCore().pad = 0; }
};

// Keys in upper case, the same directions on the pad in lower case; then the centre stays
// inside the field on every side.
TEST_F(Ship, SteeringPrioritiesAndFullSpeedDiagonalsByKeyOrPad) {
    const struct {
        const char* keys;  // Left, Up, Right, Down
        double heading;
        int direction;
    } cases[] = {{"LR", 180, 0}, {"UD", -90, 1}, {"LRU", -135, 0}, {"RD", 45, 2}, {"UR", -45, 2},
                 {"DL", 135, 0}, {"R", 0, 2},    {"D", 90, 1},     {"", 0, 1},    {"l", 180, 0},
                 {"u", -90, 1},  {"r", 0, 2},    {"d", 90, 1}};
    for (const auto& c : cases) {
        for (uint8_t& k : app.keys) k = 0;
        media::TheCore().pad = 0;
        for (const char* k = c.keys; *k; ++k) {
            const size_t i = std::string("DLRUdlru").find(*k);  // pad bits 1, 2, 4, 8
            if (i >= 4) media::TheCore().pad |= 1 << (i - 4);
            if (i < 4) Hold(i == 0 ? kKeyDown : i == 1 ? kKeyLeft : i == 2 ? kKeyRight : kKeyUp);
        }
        player().x = player().y = 200;
        player().Update();
        const double step = *c.keys ? 4 : 0;
        EXPECT_NEAR(player().x - 200, step * std::cos(c.heading * kDegToRad), 1e-5) << c.keys;
        EXPECT_NEAR(player().y - 200, step * std::sin(c.heading * kDegToRad), 1e-5) << c.keys;
        EXPECT_EQ(player().direction, c.direction) << c.keys;
    }
    media::TheCore().pad = 0;
    for (auto [key, x, y, ex, ey] : {std::tuple{kKeyLeft, 2.0, 200.0, 0.0, 200.0},
                                     {kKeyLeft, 4.5, 200.0, 0.5, 200.0},
                                     {kKeyUp, 200.0, 2.0, 200.0, 0.0},
                                     {kKeyRight, 414.0, 200.0, 416.0, 200.0},
                                     {kKeyDown, 200.0, 478.0, 200.0, 480.0}}) {
        for (uint8_t& k : app.keys) k = 0;
        Hold(key);
        player().x = x;
        player().y = y;
        player().Update();
        EXPECT_NEAR(player().x, ex, 1e-6) << key;
        EXPECT_NEAR(player().y, ey, 1e-6) << key;
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
            EXPECT_EQ(std::make_pair(bullet(i).speed, bullet(i).side), std::make_pair(20.0, 1));
        }
    }
}

TEST_F(Ship, VolleysComeInTheFourthHeldFrameThenEveryFourthAndEarlierAfterARelease) {
    std::vector<int> volleys;
    for (int frame = 1; frame <= 16; ++frame) {
        Hold(kKeyFire, frame <= 9 || frame >= 13);  // released in frames 10 to 12
        const int before = Alive(world->bullets.bullets);
        player().Update();
        if (Alive(world->bullets.bullets) > before) volleys.push_back(frame);
    }
    // The count of 1 left at the release carries over: the next volley needs 3 frames.
    EXPECT_EQ(volleys, (std::vector<int>{4, 8, 15}));
    player().Reset();  // a new game keeps the process-wide count
    EXPECT_EQ(PlayerShotTimer(), 1);
}

}  // namespace
