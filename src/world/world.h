// TWorld: the objects of play that RunGame owns, linked to each other once at start-up.
#pragma once

#include "player/player.h"
#include "world/background.h"
#include "world/bullet.h"
#include "world/effect.h"
#include "world/enemy.h"
#include "world/item.h"
#include "world/scene.h"
#include "world/score_panel.h"

class TApp;
struct TProject;

struct TWorld {
    TScorePanel scorePanel;
    TPlayer player;
    TEffectPool effects;
    TBulletPool bullets;
    TItemPool items;
    TEnemyPool enemies;
    TScene scene;
    TBackground background;

    // The links, in start-up order: effects, player, bullets, items, background (period
    // 480), enemies, scene.
    void Link(TApp* app, TProject* project);
    // One play frame: background, items, effects, player, bullets, enemies, scene.
    void Update();
};
