#include <gtest/gtest.h>

#include <cmath>

#include "world_fixture.h"

namespace {

class Items : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        TSpriteDef& s = project->sprites[20];
        s.imageWidth = 20;  // the loaded picture's size gives the box
        s.imageHeight = 15;
        s.frameCount = 2;
        s.framesPerStep = 1;
        s.animate = 1;
        for (int attribute = 0; attribute < 5; ++attribute) {
            TItemDef& d = project->items[attribute];
            d.sprite = 20;
            d.attribute = attribute;
            d.score = 250;
        }
        project->items[4].attribute = 9;
    }
    TItem& Item(int i) { return world->items.items[i]; }
    double Distance(const TItem& item) const {
        return std::hypot(item.x - world->player.x, item.y - world->player.y);
    }
    // Drops an item onto the ship and runs the item update that collects it.
    void Collect(int kind) {
        world->items.Drop(world->player.x, world->player.y, kind);
        world->items.UpdateAll();
    }
};

}  // namespace

TEST_F(Items, StartTakesHalfThePictureAndDriftsSlowlyInARandomDirection) {
    Link();
    sys::SeedRandom(11);
    double speed = (sys::Rand() % 5 + 1) * 0.1;
    double angle = sys::Rand() % 360 + 1;
    sys::SeedRandom(11);
    world->items.Drop(100, 120, 0);
    const TItem& item = Item(0);
    ASSERT_TRUE(item.IsAlive());
    EXPECT_EQ(item.halfWidth, 10);
    EXPECT_EQ(item.halfHeight, 7);
    EXPECT_EQ(item.frameCount, 2);
    EXPECT_FALSE(item.attracted);
    EXPECT_DOUBLE_EQ(item.speed, speed);
    EXPECT_DOUBLE_EQ(item.angle, angle);
    EXPECT_NEAR(item.vx, std::cos(angle * kDegToRad) * speed, 1e-12);
    EXPECT_NEAR(item.vy, std::sin(angle * kDegToRad) * speed, 1e-12);
}

TEST_F(Items, KindOutsideTheTableDropsNothing) {
    Link();
    world->items.Drop(100, 100, -1);
    world->items.Drop(100, 100, 256);
    EXPECT_EQ(AliveItems(), 0);
    world->items.Drop(100, 100, 255);
    EXPECT_EQ(AliveItems(), 1);
}

TEST_F(Items, FarItemDriftsThenFliesAtTheShipAndIsCollected) {
    Link();  // the ship at (208, 448)
    world->items.Drop(208, 248, 0);
    TItem& item = Item(0);
    for (int i = 0; i < 10; ++i) {
        double before = item.speed;
        world->items.UpdateAll();
        EXPECT_FALSE(item.attracted);
        EXPECT_DOUBLE_EQ(item.speed, before);
    }
    EXPECT_NEAR(Distance(item), 200, 5.0);
    // The ship comes within about 122.5 pixels.
    world->player.y = item.y + 110;
    world->player.x = item.x;
    double before = Distance(item);
    world->items.UpdateAll();
    EXPECT_TRUE(item.attracted);
    EXPECT_DOUBLE_EQ(item.speed, 6.0);
    EXPECT_NEAR(before - Distance(item), 6.0, 1e-9);
    int frames = 1;
    while (item.IsAlive() && frames < 40) {
        world->items.UpdateAll();
        ++frames;
    }
    EXPECT_FALSE(item.IsAlive());
    EXPECT_EQ(frames, 18);  // 110 pixels at 6 a frame, collected inside 1 + 7 pixels
    EXPECT_EQ(world->scorePanel.score, 250u);
}

TEST_F(Items, AttractionRadiusIsJustOver122Pixels) {
    Link();
    world->player.x = 200;
    world->player.y = 300;
    world->items.Drop(200, 300 - 122, 0);
    world->items.Drop(200, 300 - 123, 0);
    world->items.UpdateAll();
    EXPECT_TRUE(Item(0).attracted);
    EXPECT_FALSE(Item(1).attracted);
}

TEST_F(Items, AttractionIsKeptAndFollowsTheShipEvenWhenItIsGone) {
    Link();
    world->items.Drop(208, 448 - 100, 0);
    world->items.UpdateAll();
    ASSERT_TRUE(Item(0).attracted);
    // The ship is destroyed and its last position moves away: the item still heads there
    // at full speed, and nothing collects it.
    world->player.Kill();
    world->player.x = 208;
    world->player.y = 100;
    world->items.UpdateAll();
    EXPECT_TRUE(Item(0).attracted);
    EXPECT_NEAR(Item(0).vy, -6.0, 1e-9);
    for (int i = 0; i < 60; ++i) world->items.UpdateAll();
    EXPECT_TRUE(Item(0).IsAlive());
    EXPECT_NEAR(Item(0).y, 100, 6.0);
}

TEST_F(Items, ScoreItemAddsItsScore) {
    Link();
    Collect(0);
    EXPECT_EQ(AliveItems(), 0);
    EXPECT_EQ(world->scorePanel.score, 250u);
    EXPECT_EQ(world->scorePanel.best, 250u);
}

TEST_F(Items, PowerLivesAndBombsRiseByOneUpToTheirCaps) {
    Link();
    TPlayer& p = world->player;
    p.power = 4;
    Collect(1);
    EXPECT_EQ(p.power, 5);
    Collect(1);
    EXPECT_EQ(p.power, 5);
    p.lives = 98;
    Collect(2);
    EXPECT_EQ(p.lives, 99);
    Collect(2);
    EXPECT_EQ(p.lives, 99);
    p.bombs = 98;
    Collect(3);
    EXPECT_EQ(p.bombs, 99);
    Collect(3);
    EXPECT_EQ(p.bombs, 99);
    EXPECT_EQ(world->scorePanel.score, 0u);
    EXPECT_EQ(AliveItems(), 0);
}

TEST_F(Items, UnknownAttributeIsCollectedWithoutEffect) {
    Link();
    TPlayer& p = world->player;
    Collect(4);
    EXPECT_EQ(AliveItems(), 0);
    EXPECT_EQ(p.power, 0);
    EXPECT_EQ(p.lives, 10);
    EXPECT_EQ(p.bombs, 3);
    EXPECT_EQ(world->scorePanel.score, 0u);
}

TEST_F(Items, LeavesTheFieldBeyondThreeTimesItsHalfSize) {
    Link();
    world->player.x = 400;  // far from the items
    world->player.y = 40;
    world->items.Drop(-29.9, 200, 0);       // -3 x 10 is the limit
    world->items.Drop(200, 480 + 20.9, 0);  // 480 + 3 x 7
    Item(0).vx = Item(0).vy = Item(1).vx = Item(1).vy = 0;
    world->items.UpdateAll();
    EXPECT_TRUE(Item(0).IsAlive());
    EXPECT_TRUE(Item(1).IsAlive());
    Item(0).vx = -0.2;
    Item(1).vy = 0.2;
    world->items.UpdateAll();
    EXPECT_FALSE(Item(0).IsAlive());
    EXPECT_FALSE(Item(1).IsAlive());
}
