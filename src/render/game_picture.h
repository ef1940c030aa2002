// The game picture, drawn in its fixed order through the sprite images: background,
// enemies in draw order, items, the bomb and the ship, effects, bullets, score panel.
#pragma once

struct TProject;
struct TWorld;
class TBackground;
class TEnemyPool;
class TItemPool;
class TPlayer;
class TEffectPool;
class TBulletPool;
class TScorePanel;

void DrawBackground(TProject& project, TBackground& background);
void DrawEnemies(TProject& project, TEnemyPool& enemies, const TPlayer& player);
void DrawItems(TProject& project, TItemPool& items);
void DrawPlayer(TProject& project, TPlayer& player);
void DrawEffects(TProject& project, TEffectPool& effects);
void DrawBullets(TProject& project, TBulletPool& bullets, const TPlayer& player);
void DrawScorePanel(TProject& project, TScorePanel& panel);

void DrawGamePicture(TProject& project, TWorld& world);
