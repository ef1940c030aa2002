// Numbers stored in definitions come from the project's files and may point anywhere: the
// world and its drawing must never index outside a table because of them.
#include <gtest/gtest.h>

#include "render/game_picture.h"
#include "world_fixture.h"

TEST_F(WorldTest, HostileDefinitionNumbersNeverLeaveTheTables) {
    for (int i = 0; i < kBulletCount; ++i) {
        project->bullets[i].sprite = (i % 2) ? -7 : 4096;
        project->bullets[i].sound = (i % 2) ? 256 : -2;
        project->bullets[i].imageDirection = 1;
    }
    for (int i = 0; i < kItemCount; ++i) {
        project->items[i].sprite = (i % 2) ? -1 : 1024;
        project->items[i].attribute = i % 6;
    }
    project->sprites[5].frameCount = 0;  // an empty effect sprite
    project->sprites[5].animate = 1;
    project->sprites[6].frameCount = -3;
    project->sprites[6].animate = 1;
    project->sprites[8].frameCount = 0;
    project->sprites[8].animate = 1;
    project->enemies[0].sprite = 2000;
    project->player.initialLife = 1;
    Link();
    world->background.SetSprite(8);
    PlaceEnemy(0, 0, 208, 200, 20, 1000000);
    Hold(kKeyFire);
    Hold(kKeyBomb);
    Hold(kKeyLeft);
    for (int frame = 0; frame < 1200; ++frame) {
        if (frame % 7 == 0) world->items.Drop(100 + frame % 200, 50, frame % 300 - 20);
        if (frame % 3 == 0) world->bullets.Fire(frame % 260, 0, 200, 10, 3, frame % 360, true);
        if (frame % 50 == 0) world->effects.Explode(100, 100);
        Frame();
        DrawGamePicture(*project, *world);
    }
    // Play went on: the ship kept shooting, and only item kinds inside the table dropped.
    EXPECT_GT(AliveBullets(), 0);
    for (const TItem& item : world->items.items) {
        if (item.IsAlive()) {
            EXPECT_GE(item.kind, 0);
            EXPECT_LT(item.kind, kItemCount);
        }
    }
}
