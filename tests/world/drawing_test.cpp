// The draw routines' bookkeeping: which draw state each one writes into the sprite records,
// the bullets' kept angle and the enemies' hit flash. The pictures themselves come from the
// media layer's rasterizer.
#include <gtest/gtest.h>

#include "render/game_picture.h"
#include "world_fixture.h"

namespace {

class Drawing : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        project->bullets[0].sprite = 30;
        project->enemies[1].sprite = 31;
    }
    TSpriteDef& Sprite(int n) { return project->sprites[n]; }
};

}  // namespace

TEST_F(Drawing, BulletAngleFollowsItsImageDirection) {
    Link();
    world->bullets.Fire(0, 0, 100, 100, 3, 90, false);  // straight down
    TBullet& b = world->bullets.bullets[0];
    project->bullets[0].imageDirection = 1;
    DrawBullets(*project, world->bullets, world->player);
    EXPECT_NEAR(b.drawnAngle, 180.0, 1e-6);  // no half turn added, unlike enemies
    EXPECT_DOUBLE_EQ(Sprite(30).drawAngle, b.drawnAngle);
    EXPECT_DOUBLE_EQ(Sprite(30).drawX, 100.0);
    project->bullets[0].imageDirection = 2;
    DrawBullets(*project, world->bullets, world->player);
    EXPECT_DOUBLE_EQ(b.drawnAngle, b.AngleTo(208, 448));
    project->bullets[0].imageDirection = 0;
    DrawBullets(*project, world->bullets, world->player);
    EXPECT_DOUBLE_EQ(b.drawnAngle, 0.0);
    // Any other value keeps the bullet's own angle, not what the shared sprite last held.
    b.drawnAngle = 33.0;
    Sprite(30).drawAngle = 77.0;
    project->bullets[0].imageDirection = 7;
    DrawBullets(*project, world->bullets, world->player);
    EXPECT_DOUBLE_EQ(Sprite(30).drawAngle, 33.0);
}

TEST_F(Drawing, EnemyMovingDownWithImageDirection1IsDrawnAt360) {
    Link();
    TEnemy& e = PlaceEnemy(0, 1, 50, 60, 8, 3);
    e.vx = 0;
    e.vy = 2;
    project->enemies[1].imageDirection = 1;
    DrawEnemies(*project, world->enemies, world->player);
    EXPECT_NEAR(Sprite(31).drawAngle, 360.0, 1e-6);
    EXPECT_DOUBLE_EQ(Sprite(31).drawX, 50.0);
    EXPECT_DOUBLE_EQ(Sprite(31).drawY, 60.0);
    project->enemies[1].imageDirection = 2;
    DrawEnemies(*project, world->enemies, world->player);
    EXPECT_DOUBLE_EQ(Sprite(31).drawAngle, e.AngleTo(208, 448));
    project->enemies[1].imageDirection = 5;
    Sprite(31).drawAngle = 12.0;
    DrawEnemies(*project, world->enemies, world->player);
    EXPECT_DOUBLE_EQ(Sprite(31).drawAngle, 12.0);
}

TEST_F(Drawing, EnemiesAreDrawnInDrawOrderAndTheHitFlashLastsOneDrawing) {
    Link();
    TEnemy& low = PlaceEnemy(5, 1, 10, 10, 8, 3);
    TEnemy& high = PlaceEnemy(2, 1, 20, 20, 8, 3);
    high.hitFlash = true;
    // The table says slot 5, then slot 2 (the rest name the free slot 0): the last one drawn
    // leaves its position in the shared record.
    for (TDrawOrderEntry& entry : world->enemies.drawOrder) entry = {0, 0};
    world->enemies.drawOrder[0] = {5, 0};
    world->enemies.drawOrder[1] = {2, 0};
    DrawEnemies(*project, world->enemies, world->player);
    EXPECT_DOUBLE_EQ(Sprite(31).drawX, 20.0);
    EXPECT_FALSE(high.hitFlash);
    EXPECT_FALSE(low.hitFlash);
}

TEST_F(Drawing, SpriteNumbersOutsideTheTableDrawNothing) {
    project->enemies[1].sprite = 1024;
    project->bullets[0].sprite = -1;
    project->items[0].sprite = 99999;
    Link();
    TEnemy& e = PlaceEnemy(0, 1, 10, 10, 8, 3);
    e.hitFlash = true;
    world->bullets.Fire(0, 0, 100, 100, 0, 0, false);
    world->items.Drop(100, 100, 0);
    world->background.sprite = 1024;
    DrawGamePicture(*project, *world);
    EXPECT_FALSE(e.hitFlash);
    world->background.sprite = -1;
    DrawBackground(*project, world->background);
}

TEST_F(Drawing, BackgroundDrawsTwoCopiesOnePeriodApart) {
    Link();
    world->background.SetSprite(8);
    world->background.position = 100.0;
    world->background.period = 480;
    DrawBackground(*project, world->background);
    // The upper copy is drawn last.
    EXPECT_DOUBLE_EQ(Sprite(8).drawY, 100.0 - 480.0);
    EXPECT_DOUBLE_EQ(Sprite(8).drawX, 0.0);
}

TEST_F(Drawing, EffectsShowOnlyOnceTheirDelayHasRunOut) {
    Link();
    world->effects.Spawn(30, 40, 0.5, 2);
    Sprite(5).drawScale = 1.0;
    DrawEffects(*project, world->effects);
    EXPECT_DOUBLE_EQ(Sprite(5).drawScale, 1.0);  // still waiting: nothing written
    world->effects.effects[0].delayCounter = 3;
    world->effects.effects[0].blend = 62;
    DrawEffects(*project, world->effects);
    EXPECT_DOUBLE_EQ(Sprite(5).drawScale, 0.5);
    EXPECT_EQ(Sprite(5).blendValue, 62);
    EXPECT_DOUBLE_EQ(Sprite(5).drawX, 30.0);
}

TEST_F(Drawing, ShipPicturesShareItsPositionAndAlphaAndTheBombSitsInTheMiddle) {
    Link();
    world->player.x = 120;
    world->player.y = 300;
    world->player.alpha = 77;
    world->player.bomb.Start();
    world->player.bomb.fade = 40;
    DrawPlayer(*project, world->player);
    for (int n : {2, 3, 4}) {
        EXPECT_DOUBLE_EQ(Sprite(n).drawX, 120.0) << n;
        EXPECT_DOUBLE_EQ(Sprite(n).drawY, 300.0) << n;
        EXPECT_EQ(Sprite(n).blendValue, 77) << n;
    }
    EXPECT_EQ(Sprite(6).blendValue, 40);
    EXPECT_DOUBLE_EQ(Sprite(6).drawX, 208.0);
    EXPECT_DOUBLE_EQ(Sprite(6).drawY, 240.0);
}

TEST_F(Drawing, ItemsWriteOnlyTheirPosition) {
    project->items[0].sprite = 40;
    Link();
    Sprite(40).drawAngle = 15.0;
    Sprite(40).blendValue = 100;
    world->items.Drop(70, 80, 0);
    DrawItems(*project, world->items);
    EXPECT_DOUBLE_EQ(Sprite(40).drawX, 70.0);
    EXPECT_DOUBLE_EQ(Sprite(40).drawY, 80.0);
    EXPECT_DOUBLE_EQ(Sprite(40).drawAngle, 15.0);
    EXPECT_EQ(Sprite(40).blendValue, 100);
}
