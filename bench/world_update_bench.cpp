// One saturated play frame: all 512 enemies running attack lists that fire every frame, all
// 2048 bullets alive as the player's shots (each scanning the enemies), every item and every
// effect alive. The state is rebuilt before each measured frame, outside the timing.
#include <benchmark/benchmark.h>

#include <memory>

#include "base/app.h"
#include "project/project.h"
#include "sys/sys.h"
#include "world/attacks.h"
#include "world/world.h"

namespace {

TActionEntry Entry(int32_t command, int32_t a, int32_t extra, int32_t target, int32_t which) {
    TActionEntry e;
    e.command = command;
    e.paramA = a;
    e.paramB = 30;
    e.extra = extra;
    e.target = target;
    e.which = which;
    e.shotSpeed = 30;
    e.shotSpeedJitter = 5;
    e.angleJitter = 3;
    e.interval = 0;  // a volley in every executed frame
    return e;
}

struct SaturatedWorld {
    SaturatedWorld() {
        for (int s = 0; s < 8; ++s) {
            project->sprites[s].imageWidth = 32;
            project->sprites[s].imageHeight = 32;
        }
        // Five attack lists; every one fires in the first executed frame.
        TActionEntry fan = Entry(15, 1000, 2, 0, 1);
        fan.count = 5;
        fan.spacing = 10;
        TActionEntry ring = Entry(15, 1000, 4, 0, 1);
        ring.spacing = 30;
        TActionEntry spiral = Entry(16, 1000, 5, 1, 4);  // child enemies: the pool is full
        spiral.spacing = 13;
        TActionEntry spread = Entry(16, 1000, 3, 0, 1);
        spread.count = 3;
        spread.angleMode = 1;
        TActionEntry doubleRing = Entry(23, 1000, 6, 0, 1);
        doubleRing.spacing = 45;
        doubleRing.angleJitter = 7;
        const TActionEntry lists[] = {fan, ring, spiral, spread, doubleRing};
        for (int k = 0; k < 5; ++k) {
            TEnemyDef& d = project->enemies[k];
            d.actions = {lists[k], TActionEntry{26, 1, 1000}};
            d.durability = 1000000;  // the shots hit but never kill, so the frame stays full
            d.groundDistance = k;
        }
        world->Link(&app, project.get());
    }

    void Refill() {
        sys::SeedRandom(1);
        world->enemies.KillAll();
        for (int i = 0; i < TEnemyPool::kSize; ++i) {
            double x = 16 + (i % 32) * 12.0, y = 16 + (i / 32) * 20.0;
            world->enemies.SpawnEnemy(i % 5, x, y, 1.0, 90.0, false, -1);
        }
        for (int i = 0; i < TBulletPool::kSize; ++i) {
            TBullet& b = world->bullets.bullets[i];
            b.alive = true;
            b.side = 1;
            b.kind = 0;
            b.halfWidth = b.halfHeight = 2;
            b.x = 8 + (i % 64) * 6.25;
            b.y = 470 - (i / 64) * 14.0;
            b.vx = 0;
            b.vy = -8;
            b.marginX = b.marginY = 32;
        }
        for (int i = 0; i < TItemPool::kSize; ++i) {
            TItem& item = world->items.items[i];
            item.alive = true;
            item.x = 13 + (i % 32) * 12.5;
            item.y = 30 + (i / 32) * 50.0;
            item.halfWidth = item.halfHeight = 16;
        }
        for (TEffect& e : world->effects.effects) {
            e.alive = true;
            e.x = 200;
            e.y = 200;
            e.delay = 0;
        }
        world->player.alive = true;
        world->player.x = 208;
        world->player.y = 440;
        world->player.halfWidth = world->player.halfHeight = 1;
    }

    TApp app;
    std::unique_ptr<TProject> project = std::make_unique<TProject>();
    std::unique_ptr<TWorld> world = std::make_unique<TWorld>();
};

void BM_SaturatedWorldUpdate(benchmark::State& state) {
    SaturatedWorld w;
    for (auto _ : state) {
        state.PauseTiming();
        w.Refill();
        state.ResumeTiming();
        w.world->Update();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SaturatedWorldUpdate)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// The enemies' share alone: 512 action lists stepping and firing into full pools.
void BM_SaturatedEnemyUpdate(benchmark::State& state) {
    SaturatedWorld w;
    for (auto _ : state) {
        state.PauseTiming();
        w.Refill();
        state.ResumeTiming();
        w.world->enemies.UpdateAll();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SaturatedEnemyUpdate)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// What the player's bullets will cost once they scan the enemies: every bullet tested against
// every enemy slot with the box test, as the bullets' own update does it.
void BM_BulletEnemyScanEstimate(benchmark::State& state) {
    SaturatedWorld w;
    w.Refill();
    for (auto _ : state) {
        int hits = 0;
        for (const TBullet& b : w.world->bullets.bullets) {
            for (const TEnemy& e : w.world->enemies.enemies) {
                if (e.IsAlive() && e.definition->shotResponse != 1 && e.Overlaps(b)) ++hits;
            }
        }
        benchmark::DoNotOptimize(hits);
    }
}
BENCHMARK(BM_BulletEnemyScanEstimate)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// The same scan reading the fields directly (both classes are final, so no virtual call is
// needed) and testing the box only for live enemies.
void BM_BulletEnemyScanDirect(benchmark::State& state) {
    SaturatedWorld w;
    w.Refill();
    for (auto _ : state) {
        int hits = 0;
        for (const TBullet& b : w.world->bullets.bullets) {
            if (!b.alive) continue;
            for (const TEnemy& e : w.world->enemies.enemies) {
                if (!e.alive || e.definition->shotResponse == 1) continue;
                if (b.x + b.halfWidth > e.x - e.halfWidth &&
                    b.x - b.halfWidth < e.x + e.halfWidth &&
                    b.y + b.halfHeight > e.y - e.halfHeight &&
                    b.y - b.halfHeight < e.y + e.halfHeight) {
                    ++hits;
                }
            }
        }
        benchmark::DoNotOptimize(hits);
    }
}
BENCHMARK(BM_BulletEnemyScanDirect)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// What the enemies' volleys will cost once bullets are fired: in the saturated frame every
// shot looks for a free bullet from slot 0 and finds none. Counts the shots of one frame,
// then scans the full pool once per shot.
void BM_FireIntoFullPoolEstimate(benchmark::State& state) {
    SaturatedWorld w;
    w.Refill();
    struct Counter final : TShotSink {
        void Shot(double, double, bool) override { ++shots; }
        int shots = 0;
    } counter;
    for (const TEnemy& e : w.world->enemies.enemies) {
        const TActionEntry& a = e.definition->actions[0];
        double emit = 0;
        if (a.target != 0) continue;
        switch (a.extra) {
            case 2:
                FanVolley(a, e, 208, 440, counter);
                break;
            case 3:
                RandomSpreadVolley(a, e, 208, 440, counter);
                break;
            case 4:
                RingVolley(a, counter);
                break;
            case 6:
                DoubleRingVolley(a, emit, counter);
                break;
            default:
                break;
        }
    }
    state.counters["shots"] = counter.shots;
    for (auto _ : state) {
        int found = 0;
        for (int s = 0; s < counter.shots; ++s) {
            for (const TBullet& b : w.world->bullets.bullets) {
                if (!b.IsAlive()) {
                    ++found;
                    break;
                }
            }
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_FireIntoFullPoolEstimate)->Unit(benchmark::kMillisecond);

// One spawn into a pool that is almost full, with its place in the draw order.
void BM_SpawnIntoNearlyFullPool(benchmark::State& state) {
    SaturatedWorld w;
    w.Refill();
    for (auto _ : state) {
        w.world->enemies.enemies[TEnemyPool::kSize - 1].Kill();
        benchmark::DoNotOptimize(w.world->enemies.SpawnEnemy(3, 100, 100, 1.0, 90.0, false, -1));
    }
}
BENCHMARK(BM_SpawnIntoNearlyFullPool);

}  // namespace

BENCHMARK_MAIN();
