// The pool's bullet update narrows each player's shot's scan with a grid of the enemies; a
// bullet updated on its own scans every slot. Both must hit exactly the same enemies, in the
// same order, whatever the crowd: overlapping and off-field enemies, successors and children
// that appear or die during a scan, shots that pass through, and boxes that are inverted,
// huge or not numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "world_fixture.h"

namespace {

struct Crowd {
    TApp app;
    std::unique_ptr<TProject> project = std::make_unique<TProject>();
    std::unique_ptr<TWorld> world = std::make_unique<TWorld>();

    Crowd(uint32_t seed) {
        RandMirror r(seed);
        for (int k = 0; k < 6; ++k) {
            TEnemyDef& d = project->enemies[k];
            d.durability = r.Next() % 3;
            d.shotResponse = k == 5 ? 1 : k == 4 ? 2 : 0;
            d.successor = k < 3 ? k + 1 : -1;
            d.explosion = k % 2;
            d.hitWidth = r.Next() % 40 - 5;
            d.hitHeight = r.Next() % 40 - 5;
        }
        for (int k = 0; k < 3; ++k) project->bullets[k].hitRadius = r.Next() % 25 - 2;
        world->scorePanel.player = &world->player;
        world->Link(&app, project.get());
        const double odd[] = {NAN, INFINITY, -1e300, 1e9};
        for (int i = 0; i < 300; ++i) {
            const int slot = world->enemies.SpawnEnemy(r.Next() % 6, r.Next() % 560 - 72,
                                                       r.Next() % 620 - 70, 0, 0, false, -1);
            TEnemy& e = world->enemies.enemies[slot];
            if (r.Next() % 3 == 0) e.parentSlot = r.Next() % 300;
            const int hostile = r.Next() % 60;
            if (hostile == 0) e.x = odd[r.Next() % 4];
            if (hostile == 1) e.y = odd[r.Next() % 4];
            if (hostile == 2) e.halfHeight = r.Next() % 2 ? INT32_MAX : -60;
        }
        for (int i = 0; i < 1500; ++i)
            world->bullets.Fire(r.Next() % 3, 1, r.Next() % 500 - 40, r.Next() % 560 - 40,
                                kStopSpeed, 0, false);
    }

    // Updates the bullets through the pool or one by one; returns everything the scans can
    // change: the random numbers drawn, the score, each enemy and each bullet.
    std::vector<int64_t> Scan(bool throughPool) {
        sys::SeedRandom(1);
        const uint64_t before = sys::RandCalls();
        if (throughPool) {
            world->bullets.UpdateAll();
        } else {
            for (TBullet& b : world->bullets.bullets) b.Update();
        }
        std::vector<int64_t> out{int64_t(sys::RandCalls() - before), world->scorePanel.score};
        for (const TEnemy& e : world->enemies.enemies)
            out.insert(out.end(), {e.alive, e.kind, e.durability});
        for (const TBullet& b : world->bullets.bullets) out.push_back(b.alive);
        return out;
    }
};

TEST(ShotGrid, ThePoolsScanHitsWhatEveryBulletScanningAllSlotsHits) {
    for (uint32_t seed = 1; seed <= 12; ++seed)
        EXPECT_TRUE(Crowd(seed).Scan(true) == Crowd(seed).Scan(false)) << "seed " << seed;
}

}  // namespace
