#include "render/game_picture.h"

#include "world/world.h"

void DrawGamePicture(TProject& project, TWorld& world) {
    DrawBackground(project, world.background);
    DrawEnemies(project, world.enemies, world.player);
    DrawItems(project, world.items);
    DrawPlayer(project, world.player);  // the bomb, then the ship
    DrawEffects(project, world.effects);
    DrawBullets(project, world.bullets, world.player);
    DrawScorePanel(project, world.scorePanel);
}
