// What the draw routines write: the draw state of the sprite records, the bullets' kept
// angle and the enemies' hit flash. The pixels themselves are the rasterizer's.
#include "render/game_picture.h"
#include "world_fixture.h"

namespace {

using Drawing = WorldTest;

TEST_F(Drawing, ImageDirectionOneTurnsEnemiesByAHalfTurnAndAHitFlashLastsOneDrawing) {
    project->bullets[0].sprite = 30;
    project->enemies[1].sprite = 31;
    Link();
    world->bullets.Fire(0, 0, 100, 100, 3, 90, false);  // both move straight down
    TEnemy& e = PlaceEnemy(0, 1, 50, 60, 8, 3);
    e.vy = 2;
    e.hitFlash = true;
    project->bullets[0].imageDirection = 1;
    project->enemies[1].imageDirection = 1;
    DrawBullets(*project, world->bullets, player());
    DrawEnemies(*project, world->enemies, player());
    EXPECT_NEAR(project->sprites[30].drawAngle, 180, 1e-6);
    EXPECT_NEAR(project->sprites[31].drawAngle, 360, 1e-6);
    EXPECT_FALSE(e.hitFlash);
    // Any other value keeps the bullet's own last angle, not what the sprite last held.
    bullet(0).drawnAngle = 33;
    project->bullets[0].imageDirection = 7;
    DrawBullets(*project, world->bullets, player());
    EXPECT_DOUBLE_EQ(project->sprites[30].drawAngle, 33);
}

TEST_F(Drawing, NumbersOutsideTheTablesDrawAndDoNothing) {
    for (int i = 0; i < kBulletCount; ++i) {
        project->bullets[i].sprite = i % 2 ? -7 : 4096;
        project->bullets[i].sound = i % 2 ? 256 : -2;
    }
    project->items[0].sprite = 1024;
    project->enemies[0].sprite = 2000;
    project->sprites[5].frameCount = 0;
    project->sprites[6].frameCount = -3;
    project->sprites[6].animate = 1;
    project->sprites[3].frameHeight = -50;
    Link();
    world->background.sprite = 1024;
    PlaceEnemy(0, 0, 208, 200, 20, 1000000).hitFlash = true;
    Hold(kKeyFire);
    Hold(kKeyBomb);
    for (int frame = 0; frame < 300; ++frame) {
        world->items.Drop(100, 50, frame % 300 - 20);
        world->bullets.Fire(frame % 260, 0, 200, 10, 3, frame, true);
        Frames(1);
        DrawGamePicture(*project, *world);
    }
    EXPECT_FALSE(world->enemies.enemies[0].hitFlash);
}

}  // namespace
