// The saturated play frame: all 512 enemies run attack lists that fire a volley in every
// frame, all 2048 bullets are the player's shots and each of them tests every enemy, and all
// 256 items and 128 effects are alive. Everything runs through the game's own code
// (SpawnEnemy, Fire, Drop, Spawn, TWorld::Update).
//
// The scene is a steady state: enemies and bullets stand still (stop speed), the bullets lie
// below the enemies' boxes so that no shot ends, and the enemies' lists never leave their
// attack entry, so every volley meets a full bullet pool. Items and effects that end (they
// drift off or finish their animation) are replaced between frames, outside the timing,
// where the saturation is also checked after every measured frame.
//
//   ./build/bench/world_update_bench --benchmark_repetitions=9
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "base/app.h"
#include "project/project.h"
#include "sys/sys.h"
#include "world/world.h"

namespace {

constexpr int32_t kShotSprite = 1;
constexpr int32_t kItemSprite = 2;
constexpr int32_t kEffectSprite = 5;  // the sprite every explosion and spark uses
constexpr int32_t kPlayerShot = 0;
constexpr int32_t kEnemyShot = 1;
constexpr int32_t kChildEnemy = 5;
// Long enough that no measured run reaches the end of an entry.
constexpr int32_t kForever = 1000000000;

// An attack entry that fires in every executed frame, on a command that never finishes.
TActionEntry Attack(int32_t command, int32_t extra, int32_t target, int32_t which) {
    TActionEntry e;
    e.command = command;
    e.paramA = kForever;
    e.paramB = 30;
    e.extra = extra;
    e.target = target;
    e.which = which;
    e.shotSpeed = 30;
    e.shotSpeedJitter = 5;
    e.angleJitter = 3;
    e.interval = 0;
    return e;
}

template <class Pool>
int CountAlive(const Pool& actors) {
    int n = 0;
    for (const auto& a : actors) n += a.IsAlive() ? 1 : 0;
    return n;
}

class SaturatedWorld {
public:
    SaturatedWorld() {
        sys::SeedRandom(1);
        TSpriteDef& shot = project_->sprites[kShotSprite];
        shot.frameWidth = shot.frameHeight = 8;
        TSpriteDef& item = project_->sprites[kItemSprite];
        item.imageWidth = item.imageHeight = 16;
        TSpriteDef& effect = project_->sprites[kEffectSprite];
        effect.animate = 1;
        effect.frameCount = 8;
        effect.framesPerStep = 3;
        TSpriteDef& body = project_->sprites[0];  // every enemy's sprite: 32 x 32
        body.imageWidth = body.imageHeight = 32;
        project_->bullets[kPlayerShot].sprite = kShotSprite;
        project_->bullets[kPlayerShot].hitRadius = 2;
        project_->bullets[kEnemyShot].sprite = kShotSprite;
        project_->bullets[kEnemyShot].hitRadius = 3;
        for (int k = 0; k < 4; ++k) {
            project_->items[k].sprite = kItemSprite;
            project_->items[k].attribute = k;
        }

        // The five attack patterns; the spiral's enemy starts its children into a full pool.
        TActionEntry fan = Attack(15, 2, 0, kEnemyShot);
        fan.count = 5;
        fan.spacing = 10;
        TActionEntry spread = Attack(16, 3, 0, kEnemyShot);
        spread.count = 3;
        spread.angleMode = 1;
        TActionEntry ring = Attack(15, 4, 0, kEnemyShot);
        ring.spacing = 30;
        TActionEntry spiral = Attack(16, 5, 1, kChildEnemy);
        spiral.spacing = 13;
        TActionEntry doubleRing = Attack(23, 6, 0, kEnemyShot);
        doubleRing.spacing = 45;
        doubleRing.angleJitter = 7;
        const TActionEntry lists[] = {fan, spread, ring, spiral, doubleRing};
        for (int k = 0; k < 5; ++k) {
            TEnemyDef& d = project_->enemies[k];
            d.actions = {lists[k]};
            d.groundDistance = k;
        }

        world_->scorePanel.player = &world_->player;
        world_->Link(&app_, project_.get());
        world_->player.lives = 3;
        world_->player.Reset();  // at the bottom centre, (208, 448)

        // Enemies in 16 rows of 32 above y = 272, the player's shots in 32 rows of 64 below
        // y = 298: every shot tests all 512 boxes and meets none.
        for (int i = 0; i < TEnemyPool::kSize; ++i) {
            world_->enemies.SpawnEnemy(i % 5, 13 + (i % 32) * 12.5, 16 + (i / 32) * 16.0,
                                       kStopSpeed, 90.0, false, -1);
        }
        for (int i = 0; i < TBulletPool::kSize; ++i) {
            world_->bullets.Fire(kPlayerShot, 1, 6 + (i % 64) * 6.4, 300 + (i / 64) * 5.0,
                                 kStopSpeed, 270.0, false);
        }
        TopUp();
    }

    TWorld& world() { return *world_; }

    // Replaces items and effects that ended, so that the next frame starts with every pool
    // full; false when the enemies or the shots did not stay as the scene means them to.
    bool TopUp() {
        for (int n = TItemPool::kSize - CountAlive(world_->items.items); n > 0; --n) {
            world_->items.Drop(20 + sys::Rand() % 376, 20 + sys::Rand() % 200, sys::Rand() % 4);
        }
        for (int n = TEffectPool::kSize - CountAlive(world_->effects.effects); n > 0; --n) {
            world_->effects.Spawn(sys::Rand() % 416, sys::Rand() % 480, 1.0, 0);
        }
        return CountAlive(world_->enemies.enemies) == TEnemyPool::kSize &&
               CountAlive(world_->bullets.bullets) == TBulletPool::kSize &&
               CountAlive(world_->items.items) == TItemPool::kSize &&
               CountAlive(world_->effects.effects) == TEffectPool::kSize;
    }

    // Every enemy fired in the last frame (a volley resets its frame count).
    bool EveryEnemyFired() const {
        for (const TEnemy& e : world_->enemies.enemies)
            if (e.attackFrames != 0) return false;
        return true;
    }

private:
    TApp app_;
    std::unique_ptr<TProject> project_ = std::make_unique<TProject>();
    std::unique_ptr<TWorld> world_ = std::make_unique<TWorld>();
};

// Runs 'step' once per iteration on a saturated world, topping it up in between; when the
// step runs the enemies, every one of them must have fired.
template <class Step>
void RunSaturated(benchmark::State& state, bool enemiesFire, Step step) {
    SaturatedWorld w;
    if (!w.TopUp()) {
        state.SkipWithError("the scene is not saturated");
        return;
    }
    for (auto _ : state) {
        step(w.world());
        benchmark::ClobberMemory();
        state.PauseTiming();
        bool full = w.TopUp();
        bool fired = !enemiesFire || w.EveryEnemyFired();
        state.ResumeTiming();
        if (!full || !fired) {
            state.SkipWithError(full ? "an enemy did not fire" : "the scene lost its saturation");
            break;
        }
    }
}

// One whole play frame.
void BM_SaturatedWorldUpdate(benchmark::State& state) {
    RunSaturated(state, true, [](TWorld& world) { world.Update(); });
}
BENCHMARK(BM_SaturatedWorldUpdate)->Unit(benchmark::kMillisecond);

// The bullets' share: 2048 player shots, each testing the 512 enemies.
void BM_SaturatedBulletUpdate(benchmark::State& state) {
    RunSaturated(state, false, [](TWorld& world) { world.bullets.UpdateAll(); });
}
BENCHMARK(BM_SaturatedBulletUpdate)->Unit(benchmark::kMillisecond);

// The enemies' share: 512 action lists stepping and firing their volleys into full pools.
void BM_SaturatedEnemyUpdate(benchmark::State& state) {
    RunSaturated(state, true, [](TWorld& world) { world.enemies.UpdateAll(); });
}
BENCHMARK(BM_SaturatedEnemyUpdate)->Unit(benchmark::kMillisecond);

// One spawn into the last free slot of the enemy pool, with its place in the draw order.
void BM_SpawnIntoNearlyFullPool(benchmark::State& state) {
    SaturatedWorld w;
    TEnemyPool& enemies = w.world().enemies;
    for (auto _ : state) {
        enemies.enemies[TEnemyPool::kSize - 1].Kill();
        benchmark::DoNotOptimize(enemies.SpawnEnemy(3, 100, 100, 1.0, 90.0, false, -1));
    }
}
BENCHMARK(BM_SpawnIntoNearlyFullPool);

}  // namespace

BENCHMARK_MAIN();
