// Items: attraction, collection and attributes; the score and the panel's number texts.
#include <climits>

#include "render/score_texts.h"
#include "world_fixture.h"

namespace {

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

TEST_F(Items, FarItemDriftsThenFliesAtTheShipFromJustInside122PixelsAndIsCollected) {
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

    world->items.Drop(player().x, player().y - 122, 4);
    world->items.Drop(player().x, player().y - 123, 4);
    world->items.UpdateAll();
    EXPECT_TRUE(item(0).attracted);
    EXPECT_FALSE(item(1).attracted);
}

TEST_F(Items, AttributesRiseByOneUpToTheirCaps) {
    player().power = 5;
    player().lives = 98;
    player().bombs = 99;
    for (int kind : {1, 2, 2, 3, 4, -1}) {  // 4 is an unknown attribute: no effect
        world->items.Drop(player().x, player().y, kind);
        world->items.UpdateAll();
    }
    EXPECT_EQ(player().power, 5);
    EXPECT_EQ(player().lives, 99);
    EXPECT_EQ(player().bombs, 99);
    EXPECT_EQ(world->scorePanel.score, 0u);
    EXPECT_EQ(Alive(world->items.items), 0);
}

TEST(Score, StopsAtNineDigitsAndZeroAndTheBestFollows) {
    TScorePanel panel;
    panel.score = 999999950u;
    panel.AddScore(100);
    EXPECT_EQ(panel.score, 999999999u);
    EXPECT_EQ(panel.best, 999999999u);
    panel.score = 10u;
    panel.AddScore(INT_MAX);
    EXPECT_EQ(panel.score, 999999999u);
    panel.score = 50u;
    panel.AddScore(-20);
    EXPECT_EQ(panel.score, 30u);
    panel.AddScore(-100);
    EXPECT_EQ(panel.score, 0u);  // not wrapped round to the nine-digit maximum
    panel.AddScore(INT_MIN);
    EXPECT_EQ(panel.score, 0u);
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
