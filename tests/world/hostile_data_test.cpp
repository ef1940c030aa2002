// Numbers at the ends of their range in action lists and definitions: nothing may crash, wrap
// around or loop without end. (Scene entries with extreme words are fuzz_play's "extremes"
// seed, which CI plays under the sanitizers.)
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

}  // namespace
