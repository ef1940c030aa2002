// Bullets: aiming, the full pool, leaving the field and what they hit. Items: attraction,
// collection and attributes; the score and the panel's number texts.
#include <climits>
#include <cmath>
#include <tuple>

#include "render/score_texts.h"
#include "world_fixture.h"

namespace {

constexpr int kEnemySide = 0, kPlayerSide = 1;

class Bullets : public WorldTest {
protected:
    void SetUp() override {
        project->sprites[10].frameWidth = 8;  // the margins off screen
        project->sprites[10].frameHeight = 12;
        project->bullets[0].sprite = 10;
        project->bullets[0].hitRadius = 2;
        project->enemies[2].shotResponse = 1;  // shots pass through
        project->enemies[3].shotResponse = 2;  // immune
        Link();
    }
    void Fire(int side, double x, double y, double speed, double angle, bool aim = false) {
        world->bullets.Fire(0, side, x, y, speed, angle, aim);
    }
};

TEST_F(Bullets, AimedShotsFlyAtTheShipTurnedClockwiseByTheirAngle) {
    Fire(kEnemySide, 208, 100, 5, 0, true);  // the ship is straight below
    Fire(kEnemySide, 208, 100, 5, -100, true);
    Fire(kEnemySide, 208, 100, 5, 450);
    EXPECT_NEAR(bullet(0).angle, 90, 1e-6);
    EXPECT_NEAR(bullet(0).vy, 5, 1e-6);
    EXPECT_NEAR(bullet(1).angle, 350, 1e-6);  // normalised once
    EXPECT_DOUBLE_EQ(bullet(2).angle, 450);   // not aimed: as given
}

// On every side: one step onto the margin (8 across, 12 down) stays, the next leaves.
TEST_F(Bullets, LeaveTheFieldOnlyBeyondTheirSpriteMargins) {
    for (auto [x, y, angle] :
         {std::tuple{-7, 100, 180}, {423, 100, 0}, {100, -11, 270}, {100, 491, 90}}) {
        Fire(kEnemySide, x, y, 1, angle);
        world->bullets.UpdateAll();
        EXPECT_TRUE(bullet(0).IsAlive()) << x << "," << y;
        world->bullets.UpdateAll();
        EXPECT_FALSE(bullet(0).IsAlive()) << x << "," << y;
    }
    // A sprite number past the table has no margins: the shot ends as soon as it is off.
    project->bullets[0].sprite = kSpriteCount;
    Fire(kEnemySide, 0.5, 100, 1, 180);
    world->bullets.UpdateAll();
    EXPECT_FALSE(bullet(0).IsAlive());
}

TEST_F(Bullets, EnemyShotHitsTheShipAndFliesOnButPassesAProtectedShip) {
    player().blinking = true;
    Fire(kEnemySide, 209, 446, kStopSpeed, 90);
    world->bullets.UpdateAll();
    EXPECT_TRUE(player().IsAlive());
    player().blinking = false;
    world->bullets.UpdateAll();
    EXPECT_FALSE(player().IsAlive());
    EXPECT_TRUE(bullet(0).IsAlive());
}

TEST_F(Bullets, PlayerShotHitsEveryOverlappedEnemyThenEndsUnlessShotsPass) {
    TEnemy& a = PlaceEnemy(3, 1, 100, 100, 10, 5);
    TEnemy& far = PlaceEnemy(5, 1, 300, 100, 10, 5);
    TEnemy& b = PlaceEnemy(7, 1, 105, 95, 10, 5);
    TEnemy& passing = PlaceEnemy(8, 2, 200, 100, 10, 5);
    TEnemy& immune = PlaceEnemy(9, 3, 300, 300, 10, 5);
    Fire(kPlayerSide, 100, 100, kStopSpeed, -90);
    Fire(kPlayerSide, 200, 100, kStopSpeed, -90);
    Fire(kPlayerSide, 300, 300, kStopSpeed, -90);
    world->bullets.UpdateAll();
    EXPECT_FALSE(bullet(0).IsAlive());
    EXPECT_EQ((std::vector<int>{a.durability, b.durability, far.durability}),
              (std::vector<int>{4, 4, 5}));
    EXPECT_TRUE(bullet(1).IsAlive());
    EXPECT_TRUE(passing.IsAlive());  // such an enemy would vanish if it took the hit
    EXPECT_FALSE(bullet(2).IsAlive());
    EXPECT_EQ(immune.durability, 5);
}

class Items : public WorldTest {
protected:
    void SetUp() override {
        project->sprites[20].imageWidth = 20;  // the box: 10 x 7 half-extents
        project->sprites[20].imageHeight = 15;
        for (int attribute = 0; attribute < 5; ++attribute) {
            project->items[attribute].sprite = 20;
            project->items[attribute].attribute = attribute;
            project->items[attribute].score = 250;
        }
        Link();
    }
};

TEST_F(Items, FarItemDriftsThenFliesAtTheShipFromInside122AndAHalfPixelsAndIsCollected) {
    world->items.Drop(208, 248, 0);  // 200 pixels above the ship
    for (int i = 0; i < 10; ++i) world->items.UpdateAll();
    EXPECT_FALSE(item(0).attracted);
    EXPECT_LE(item(0).speed, 0.5);
    player().x = item(0).x;  // the ship comes within 110 pixels
    player().y = item(0).y + 110;
    int frames = 0;
    for (; item(0).IsAlive() && frames < 40; ++frames) world->items.UpdateAll();
    EXPECT_EQ(frames, 18);  // closes at 6 a frame; collected inside 1 + 7 pixels
    EXPECT_EQ(world->scorePanel.score, 250u);

    // The pull starts inside 15000 squared pixels (about 122.5), not on the circle itself.
    player().x = player().y = 0;
    world->items.Drop(10, 122.06555615733703, 4);  // 10 squared plus this squared is 15000
    world->items.Drop(10, 122.065556157337, 4);
    world->items.UpdateAll();
    EXPECT_FALSE(item(0).attracted);
    EXPECT_TRUE(item(1).attracted);
}

// A dropped item drifts at 0.1 to 0.5 pixels a frame in a random heading of 1 to 360 degrees,
// and leaves when it is more than three half sizes off the field on any side.
TEST_F(Items, DriftAndLeaveBeyondThreeHalfSizes) {
    RandMirror mirror(1);  // the fixture's seed
    world->items.Drop(100, 100, 0);
    const double speed = (mirror.Next() % 5 + 1) * 0.1, angle = mirror.Next() % 360 + 1;
    world->items.UpdateAll();
    EXPECT_NEAR(item(0).x, 100 + speed * std::cos(angle * kDegToRad), 1e-9);
    EXPECT_NEAR(item(0).y, 100 + speed * std::sin(angle * kDegToRad), 1e-9);
    for (auto [x, y, vx, vy] :
         {std::tuple{-29, 200, -1, 0}, {445, 200, 1, 0}, {20, -20, 0, -1}, {20, 500, 0, 1}}) {
        item(0).x = x, item(0).y = y, item(0).vx = vx, item(0).vy = vy;
        world->items.UpdateAll();
        EXPECT_TRUE(item(0).IsAlive()) << x << "," << y;  // on the margin
        world->items.UpdateAll();
        EXPECT_FALSE(item(0).IsAlive()) << x << "," << y;
        world->items.Drop(100, 100, 0);
    }
}

TEST_F(Items, AttributesRiseByOneUpToTheirCaps) {
    player().power = 5;
    player().lives = 98;
    player().bombs = 99;
    for (int kind : {1, 2, 2, 3, 4, -1}) {  // 4 is an unknown attribute: no effect
        world->items.Drop(player().x, player().y, kind);
        world->items.UpdateAll();
    }
    EXPECT_EQ((std::vector<int>{player().power, player().lives, player().bombs}),
              (std::vector<int>{5, 99, 99}));
    EXPECT_EQ(world->scorePanel.score, 0u);
    EXPECT_EQ(Alive(world->items.items), 0);
}

TEST(Score, StopsAtNineDigitsAndZeroAndTheBestFollows) {
    const struct {
        uint32_t score;
        int add;
        uint32_t result;
    } cases[] = {{999999950u, 100, 999999999u},
                 {10u, INT_MAX, 999999999u},
                 {50u, -20, 30u},
                 {30u, -100, 0u},  // not wrapped round to the nine-digit maximum
                 {0u, INT_MIN, 0u}};
    for (const auto& c : cases) {
        TScorePanel panel;
        panel.score = c.score;
        panel.AddScore(c.add);
        EXPECT_EQ(panel.score, c.result) << c.score << " + " << c.add;
        EXPECT_EQ(panel.best, c.result);
    }
}

TEST(Score, PanelTextsHaveMinimumWidthsAndKeepTheirBuffers) {
    TScoreTexts texts;
    texts.Format(7u, 1234u, 100, -1);
    const char* score = texts.Score().c_str();
    EXPECT_STREQ(texts.Best().c_str(), "000000007");
    EXPECT_STREQ(texts.Score().c_str(), "000001234");
    EXPECT_STREQ(texts.Bombs().c_str(), "100");
    EXPECT_STREQ(texts.Lives().c_str(), "00");  // after the last life
    texts.Format(0u, 4294967295u, 3, 7);
    EXPECT_EQ(texts.Score().c_str(), score);  // formatted in place, every frame
    EXPECT_STREQ(texts.Score().c_str(), "4294967295");
    EXPECT_STREQ(texts.Lives().c_str(), "07");
}

}  // namespace
