// A world linked to a heap project as RunGame links it, for tests of single rules (whole
// games are the golden scenarios'): tests set the project's records, link the world and drive
// frames by hand; RandMirror replays the random stream.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "base/app.h"
#include "player/player.h"
#include "project/project.h"
#include "sys/sys.h"
#include "world/world.h"

constexpr int kKeyLeft = 0xCB, kKeyUp = 0xC8, kKeyRight = 0xCD, kKeyDown = 0xD0, kKeyFire = 0x2D;

inline TActionEntry Cmd(int32_t command, int32_t a = 0, int32_t b = 0) {
    return TActionEntry{command, a, b};
}

// The same generator as the game's, to predict the numbers a rule draws.
class RandMirror {
public:
    explicit RandMirror(uint32_t seed) : state_(seed) {}
    int Next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }
    int PlusMinus(int r) { return Next() % (2 * r + 1) - r; }

private:
    uint32_t state_;
};

class WorldTest : public testing::Test {
protected:
    static constexpr uint32_t kSeed = 20240611u;

    WorldTest() {
        sys::SeedRandom(kSeed);
        PlayerShotTimer() = 0;
        project->sprites[0].imageWidth = project->sprites[0].imageHeight = 32;
    }
    // Links with a new game's ship in play at (208, 480 - 32).
    void Link() {
        world->scorePanel.player = &world->player;
        world->Link(&app, project.get());
        player().lives = player().startLives;
        player().bombs = player().startBombs;
        player().Reset();
    }

    TPlayer& player() { return world->player; }
    TBullet& bullet(int i) { return world->bullets.bullets[i]; }
    TEffect& effect(int i) { return world->effects.effects[i]; }
    TItem& item(int i) { return world->items.items[i]; }
    TEnemyDef& Def(int32_t kind) { return project->enemies[kind]; }
    TEnemy& Enemy(int32_t slot) { return world->enemies.enemies[slot]; }
    TEnemyPool& Pool() { return world->enemies; }
    TScene& Scene() { return world->scene; }

    void Hold(int key, bool held = true) { app.keys[key] = held ? 1 : 0; }
    void EnemyFrames(int n) {
        for (int i = 0; i < n; ++i) Pool().UpdateAll();
    }
    template <class Pool>
    static int Alive(const Pool& actors) {
        int n = 0;
        for (const auto& a : actors) n += a.IsAlive() ? 1 : 0;
        return n;
    }
    int AliveEnemies(int32_t kind = -1) {
        int n = 0;
        for (const TEnemy& e : Pool().enemies) n += e.IsAlive() && (kind < 0 || e.kind == kind);
        return n;
    }
    int32_t Spawn(int32_t kind, double x = 200, double y = 200, double speed = 0, double angle = 0,
                  bool watched = false, int32_t parent = -1) {
        return Pool().SpawnEnemy(kind, x, y, speed, angle, watched, parent);
    }
    uint64_t DrawsDuring(const std::function<void()>& fn) {
        const uint64_t before = sys::RandCalls();
        fn();
        return sys::RandCalls() - before;
    }

    TApp app;
    std::unique_ptr<TProject> project = std::make_unique<TProject>();
    std::unique_ptr<TWorld> world = std::make_unique<TWorld>();
};

// Enemy suites: linked at once, with the ship out of play unless a test brings it in.
class EnemyTest : public WorldTest {
protected:
    void SetUp() override {
        Link();
        player().alive = false;
        sys::SeedRandom(kSeed);
    }
};
