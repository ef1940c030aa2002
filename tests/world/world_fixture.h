// A world linked to a heap project as RunGame links it, with a new game's ship in play. Tests
// set the project's records before Link() and drive frames by hand.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "base/app.h"
#include "player/player.h"
#include "project/project.h"
#include "sys/sys.h"
#include "world/world.h"

constexpr int kKeyLeft = 0xCB, kKeyUp = 0xC8, kKeyRight = 0xCD, kKeyDown = 0xD0;
constexpr int kKeyFire = 0x2D, kKeyBomb = 0x2C;

class WorldTest : public testing::Test {
protected:
    void SetUp() override {
        sys::SeedRandom(1);
        PlayerShotTimer() = 0;
        project = std::make_unique<TProject>();
        world = std::make_unique<TWorld>();
    }

    void Link() {
        world->scorePanel.player = &world->player;
        world->Link(&app, project.get());
        player().lives = player().startLives;
        player().bombs = player().startBombs;
        player().Reset();  // at (208, 480 - 32)
    }

    TPlayer& player() { return world->player; }
    TBullet& bullet(int i) { return world->bullets.bullets[i]; }
    TEffect& effect(int i) { return world->effects.effects[i]; }
    TItem& item(int i) { return world->items.items[i]; }

    void Hold(int key, bool held = true) { app.keys[key] = held ? 1 : 0; }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) world->Update();
    }
    template <class Pool>
    static int Alive(const Pool& actors) {
        int n = 0;
        for (const auto& a : actors) n += a.IsAlive() ? 1 : 0;
        return n;
    }

    // A live enemy of definition 'kind' put into 'slot' by hand.
    TEnemy& PlaceEnemy(int slot, int kind, double x, double y, int half, int durability) {
        TEnemy& e = world->enemies.enemies[slot];
        e.definition = &project->enemies[kind];
        e.kind = kind;
        e.slot = slot;
        e.x = x;
        e.y = y;
        e.halfWidth = e.halfHeight = half;
        e.durability = durability;
        e.alive = true;
        return e;
    }

    TApp app;
    std::unique_ptr<TProject> project;
    std::unique_ptr<TWorld> world;
};
