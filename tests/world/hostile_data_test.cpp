// Numbers at the ends of their range in action lists and definitions: nothing may crash, wrap
// around or loop without end (scene entries with extreme words: fuzz_play's "extremes" seed,
// played in CI). Volleys and drops that fill their pool stop trying, yet the world and the
// random stream end as if every one had been tried.
#include <climits>

#include "world_fixture.h"

namespace {

using HostileData = EnemyTest;

TActionEntry Extreme(int32_t command, int32_t extra, int32_t v) {
    const int32_t opposite = v == INT_MIN ? INT_MAX : -v;
    const int32_t which = command % 3 == 0 ? v : 1, count = command % 4 == 0 ? v : 2;
    const int32_t spacing = command % 5 == 0 ? v : opposite;
    return TActionEntry{command,  v,     opposite, extra,   command % 2, which, v,           v,
                        opposite, count, v,        spacing, v,           v,     command % 7, v};
}

TEST_F(HostileData, EveryCommandAndAttackWithExtremeWordsRuns) {
    for (int32_t v : {INT_MAX, INT_MIN, -1, 0}) {
        std::vector<TActionEntry> list;
        for (int32_t c = 0; c <= 30; ++c) {
            // The random spread alone is left with a sane count (it draws for every shot).
            list.push_back(Extreme(c, c % 8 == 3 ? 0 : c % 8, v));
        }
        list.push_back(Extreme(26, 3, 2));
        Def(1).actions = list;
        Def(1).hitWidth = Def(1).hitHeight = Def(1).durability = v;
        Def(1).sprite = v;
        Def(1).successor = v == 0 ? 1 : v;  // succeeding itself must not keep DestroyAll going
        for (int32_t slot = 0; slot < 4; ++slot) Spawn(1, 100 + slot * 50, 200);
        EnemyFrames(200);
        for (TEnemy& e : Pool().enemies) e.Damage(v);
        Pool().DestroyAll();
        Pool().KillAll();
    }
}

TEST_F(HostileData, DurabilityNeverWrapsAround) {
    Def(1).durability = INT_MIN;
    Def(2).durability = INT_MAX;
    TEnemy& low = Enemy(Spawn(1));
    TEnemy& high = Enemy(Spawn(2));
    high.Damage(INT_MIN);  // a negative bomb damage heals
    EXPECT_EQ(high.durability, INT_MAX);
    low.Damage(INT_MAX);
    EXPECT_FALSE(low.IsAlive());
}

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
        {"drops of no item", 0, 0, 50, {-1, 256}, 0, 0, 0, 50},
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
