// Placeholder bodies until the game picture lands.
#include "render/game_picture.h"

#include "world/world.h"

void DrawBackground(TProject&, TBackground&) {}
void DrawEnemies(TProject&, TEnemyPool&, const TPlayer&) {}
void DrawItems(TProject&, TItemPool&) {}
void DrawPlayer(TProject&, TPlayer&) {}
void DrawEffects(TProject&, TEffectPool&) {}
void DrawBullets(TProject&, TBulletPool&, const TPlayer&) {}
void DrawScorePanel(TProject&, TScorePanel&) {}

void DrawGamePicture(TProject& project, TWorld& world) {
    DrawBackground(project, world.background);
    DrawEnemies(project, world.enemies, world.player);
    DrawItems(project, world.items);
    DrawPlayer(project, world.player);
    DrawEffects(project, world.effects);
    DrawBullets(project, world.bullets, world.player);
    DrawScorePanel(project, world.scorePanel);
}
