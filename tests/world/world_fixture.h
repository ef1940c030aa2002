// A world linked to a heap project as RunGame links it. Tests set the project's records, link
// the world and drive frames by hand; helpers write action lists and replay the random stream.
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

constexpr int kKeyLeft = 0xCB, kKeyUp = 0xC8, kKeyRight = 0xCD, kKeyDown = 0xD0;
constexpr int kKeyFire = 0x2D, kKeyBomb = 0x2C;

// Action-list command codes and extra actions, as the editor stores them.
namespace op {
constexpr int32_t kSetSpeed = 0, kSetAngle = 1, kFaceLeft = 2, kFaceDown = 5, kFaceRemembered = 11,
                  kAccelerate = 12, kWait = 14, kMoveOn = 15, kHome = 16, kMoveTo = 17,
                  kMoveToRandom = 18, kCurveRight = 23, kVanish = 24, kLabel = 25, kReturn = 26;
constexpr int32_t kRemember = 1, kFan = 2, kSpread = 3, kRing = 4, kSpiral = 5;
}  // namespace op

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
        sys::SeedRandom(1);
        PlayerShotTimer() = 0;
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
    void Frames(int n) {
        for (int i = 0; i < n; ++i) world->Update();
    }
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
        uint64_t before = sys::RandCalls();
        fn();
        return sys::RandCalls() - before;
    }
    // A live enemy of definition 'kind' put into 'slot' by hand.
    TEnemy& PlaceEnemy(int slot, int kind, double x, double y, int half, int durability) {
        TEnemy& e = Enemy(slot);
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
    std::unique_ptr<TProject> project = std::make_unique<TProject>();
    std::unique_ptr<TWorld> world = std::make_unique<TWorld>();
};

// Enemy suites: linked at once, with the ship out of play unless a test brings it in, and
// sprite 0 (every enemy's default) 32 x 32 and still, so the off-screen margins are 80.
class EnemyTest : public WorldTest {
protected:
    static constexpr int32_t kSpriteSize = 32;
    void SetUp() override {
        project->sprites[0].imageWidth = project->sprites[0].imageHeight = kSpriteSize;
        Link();
        player().alive = false;
        sys::SeedRandom(kSeed);
    }
};
