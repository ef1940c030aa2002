// A world linked to a heap project, as RunGame links it, for the world's logic tests. Tests
// set the project's records before Link() and drive frames by hand.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "base/app.h"
#include "player/player.h"
#include "project/project.h"
#include "sys/sys.h"
#include "world/world.h"

// Scan codes of the controls.
constexpr int kKeyLeft = 0xCB;
constexpr int kKeyUp = 0xC8;
constexpr int kKeyRight = 0xCD;
constexpr int kKeyDown = 0xD0;
constexpr int kKeyFire = 0x2D;
constexpr int kKeyBomb = 0x2C;

class WorldTest : public testing::Test {
protected:
    void SetUp() override {
        sys::SeedRandom(1);
        PlayerShotTimer() = 0;
        project = std::make_unique<TProject>();
        world = std::make_unique<TWorld>();
    }

    // The links of start-up, the score panel's player, then a new game's player set-up.
    void Link() {
        world->scorePanel.project = project.get();
        world->scorePanel.player = &world->player;
        world->Link(&app, project.get());
        world->player.lives = world->player.startLives;
        world->player.bombs = world->player.startBombs;
        world->player.Reset();
    }

    void Hold(int key, bool held = true) { app.keys[key] = held ? 1 : 0; }
    void ReleaseAll() {
        for (uint8_t& k : app.keys) k = 0;
    }

    // One play frame of the world.
    void Frame() { world->Update(); }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) Frame();
    }

    int AliveBullets() const {
        int n = 0;
        for (const TBullet& b : world->bullets.bullets) n += b.IsAlive() ? 1 : 0;
        return n;
    }
    int AliveEffects() const {
        int n = 0;
        for (const TEffect& e : world->effects.effects) n += e.IsAlive() ? 1 : 0;
        return n;
    }
    int AliveItems() const {
        int n = 0;
        for (const TItem& i : world->items.items) n += i.IsAlive() ? 1 : 0;
        return n;
    }

    // Puts a live enemy of definition 'kind' into 'slot' by hand.
    TEnemy& PlaceEnemy(int slot, int kind, double x, double y, int half, int durability) {
        TEnemy& e = world->enemies.enemies[slot];
        e.definition = &project->enemies[kind];
        e.kind = kind;
        e.slot = slot;
        e.parentSlot = -1;
        e.x = x;
        e.y = y;
        e.halfWidth = half;
        e.halfHeight = half;
        e.durability = durability;
        e.hitFlash = false;
        e.alive = true;
        return e;
    }

    // Whether the enemies' damage rule is in this build: a scratch enemy in the last slot
    // takes one hit; everything it leaves behind is cleared again.
    bool DamageRuleAvailable() {
        TEnemy& e = PlaceEnemy(TEnemyPool::kSize - 1, 255, -500, -500, 1, 5);
        project->enemies[255].shotResponse = 0;
        e.Damage(1);
        bool available = e.durability != 5;
        e.alive = false;
        e.hitFlash = false;
        world->effects.KillAll();
        sys::SeedRandom(1);
        return available;
    }

    TApp app;
    std::unique_ptr<TProject> project;
    std::unique_ptr<TWorld> world;
};
