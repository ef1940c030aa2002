// A linked world over a project built in memory, with helpers to write action lists and
// scene scripts and to replay the random stream the rules draw from.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "base/app.h"
#include "project/project.h"
#include "sys/sys.h"
#include "world/world.h"

// Action-list command codes and extra actions, as the editor stores them.
namespace op {
constexpr int32_t kSetSpeed = 0, kSetAngle = 1, kFaceLeft = 2, kFaceDown = 5, kFaceRandom = 10,
                  kFaceRemembered = 11, kAccelerate = 12, kStopAccelerating = 13, kWait = 14,
                  kMoveOn = 15, kHome = 16, kMoveTo = 17, kMoveToRandom = 18, kJump = 19,
                  kTurnLeft = 20, kTurnRight = 21, kCurveLeft = 22, kCurveRight = 23, kVanish = 24,
                  kLabel = 25, kReturn = 26, kFollowX = 27, kFollowY = 28;
constexpr int32_t kRemember = 1, kFan = 2, kSpread = 3, kRing = 4, kSpiral = 5, kDoubleRing = 6,
                  kSound = 7;
}  // namespace op

// An action entry with its command and parameters; attack fields are filled by the test.
inline TActionEntry Cmd(int32_t command, int32_t a = 0, int32_t b = 0) {
    TActionEntry e;
    e.command = command;
    e.paramA = a;
    e.paramB = b;
    return e;
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

class EnemyWorldTest : public ::testing::Test {
protected:
    static constexpr uint32_t kSeed = 20240611u;
    // Sprite 0, the default of every enemy definition: a 32 x 32 still picture, so that the
    // off-screen margins are 80 pixels.
    static constexpr int32_t kSpriteSize = 32;

    void SetUp() override {
        TSpriteDef& s = project->sprites[0];
        s.imageWidth = kSpriteSize;
        s.imageHeight = kSpriteSize;
        s.animate = 0;
        world->Link(&app, project.get());
        // The ship stays out of the way unless a test places it.
        world->player.alive = false;
        world->player.x = 208;
        world->player.y = 440;
        sys::SeedRandom(kSeed);
    }

    TEnemyDef& Def(int32_t kind) { return project->enemies[kind]; }
    TEnemy& Enemy(int32_t slot) { return world->enemies.enemies[slot]; }
    TEnemyPool& Pool() { return world->enemies; }
    TScene& Scene() { return world->scene; }

    int32_t Spawn(int32_t kind, double x = 200, double y = 200, double speed = 0, double angle = 0,
                  bool watched = false, int32_t parent = -1) {
        return Pool().SpawnEnemy(kind, x, y, speed, angle, watched, parent);
    }

    int32_t AliveCount() {
        int32_t n = 0;
        for (const TEnemy& e : Pool().enemies) n += e.IsAlive() ? 1 : 0;
        return n;
    }

    uint64_t DrawsDuring(const std::function<void()>& fn) {
        uint64_t before = sys::RandCalls();
        fn();
        return sys::RandCalls() - before;
    }

    TApp app;
    std::unique_ptr<TProject> project = std::make_unique<TProject>();
    std::unique_ptr<TWorld> world = std::make_unique<TWorld>();
};
