// Volleys and drops that fill their pool: once one shot or drop finds the pool full the rest
// are not tried, but the world and the random stream end as if every one had been.
#include <climits>

#include "world_fixture.h"

namespace {

using FullPools = EnemyTest;

TEST_F(FullPools, WhatFillsAPoolLeavesTheStreamWhereEveryShotAndDropWouldHave) {
    struct Case {
        const char* what;
        int32_t extra, target, count;  // the shooter's volley; extra 0: enemy 3 dies instead
        std::vector<int32_t> dropKinds;
        int bullets, enemies, items;  // alive afterwards
        uint64_t draws;
    };
    const Case cases[] = {
        {"a spread of bullets", 3 /* spread */, 0, 3000, {}, 2048, 1, 0, 6000},
        {"a spread of enemies", 3 /* spread */, 1, 1000, {}, 0, 512, 0, 2000},
        {"a fan of enemies", 2 /* fan */, 1, 3000, {}, 0, 512, 0, 4},
        {"drops", 0, 0, 300, {1, 2}, 0, 0, 256, 300 + 2 * 256},  // an item draws its drift
        {"drops of no item", 0, 0, 50, {-1, 300}, 0, 0, 0, 50},
        // Hostile counts are cut to 65,536 shots or drops.
        {"a spread of INT_MAX bullets", 3, 0, INT_MAX, {}, 2048, 1, 0, 2 * 65536},
        {"INT_MAX drops", 0, 0, INT_MAX, {1}, 0, 0, 256, 65536 + 2 * 256},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        world->bullets.KillAll();
        world->items.KillAll();
        Pool().KillAll();
        TActionEntry volley = Cmd(15 /* move on */, 100);
        volley.extra = c.extra;
        volley.target = c.target;
        volley.which = 2;
        volley.count = c.count;
        Def(1).actions = {volley};
        Def(3).explosion = 0;
        Def(3).dropCount = c.count;
        Def(3).dropKinds = c.dropKinds;
        const int32_t slot = Spawn(c.extra ? 1 : 3);
        sys::SeedRandom(kSeed);
        EXPECT_EQ(DrawsDuring([&] {
                      if (c.extra)
                          Pool().UpdateAll();
                      else
                          Enemy(slot).Die();
                  }),
                  c.draws);
        RandMirror mirror(kSeed);
        for (uint64_t i = 0; i < c.draws; ++i) mirror.Next();
        EXPECT_EQ(sys::Rand(), mirror.Next());
        EXPECT_EQ(world->bullets.LiveCount(), c.bullets);
        EXPECT_EQ(AliveEnemies(), c.enemies);
        EXPECT_EQ(Alive(world->items.items), c.items);
    }
}

}  // namespace
