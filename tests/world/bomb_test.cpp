#include <gtest/gtest.h>

#include <vector>

#include "world_fixture.h"

namespace {

class Bombs : public WorldTest {
protected:
    TBomb& bomb() { return player().bomb; }
    // Frames until the active bomb ends.
    int FramesActive() {
        int frames = 0;
        while (bomb().IsAlive() && frames < 500) {
            Frames(1);
            ++frames;
        }
        return frames;
    }
    void PressBombOnce() {
        Hold(kKeyBomb);
        Frames(1);
        Hold(kKeyBomb, false);
    }
};

}  // namespace

TEST_F(Bombs, ABombActsIn161FramesErasingEnemyBulletsEachFrame) {
    Link();
    PressBombOnce();
    EXPECT_EQ(player().bombs, 2);
    world->bullets.Fire(0, 0, 100, 100, 0, 0, false);
    world->bullets.Fire(0, 1, 100, 100, 0, 0, false);
    uint64_t draws = sys::RandCalls();
    Frames(1);
    EXPECT_EQ(sys::RandCalls() - draws, 1u);  // one draw a frame decides the damage
    EXPECT_FALSE(bullet(0).IsAlive());
    EXPECT_TRUE(bullet(1).IsAlive());
    EXPECT_EQ(FramesActive(), 160);
    EXPECT_EQ(bomb().fade, 322);
}

TEST_F(Bombs, HoldingTheKeySetsOffThreeBombsBackToBackAndNoFourth) {
    Link();
    Hold(kKeyBomb);
    std::vector<int> starts;
    for (int frame = 1, stock = player().bombs; frame <= 700; ++frame) {
        Frames(1);
        if (player().bombs != stock) starts.push_back(frame);
        stock = player().bombs;
        if (frame < 484) {
            ASSERT_TRUE(bomb().IsAlive()) << frame;  // each starts as the previous ends
        }
    }
    EXPECT_EQ(starts, (std::vector<int>{1, 162, 323}));
    EXPECT_FALSE(bomb().IsAlive());
}

TEST_F(Bombs, ABombCutShortByANewGameKeepsItsLifeCount) {
    Link();
    PressBombOnce();
    Frames(50);
    player().Reset();
    EXPECT_FALSE(bomb().IsAlive());
    EXPECT_EQ(bomb().life, 50);
    PressBombOnce();
    EXPECT_EQ(FramesActive(), 111);
}

TEST_F(Bombs, EvenDrawsHurtEveryLiveEnemyByItsBombDamage) {
    project->enemies[1].bombDamage = 3;
    Link();
    TEnemy& a = PlaceEnemy(0, 1, 100, 100, 5, 10);
    TEnemy& b = PlaceEnemy(9, 1, 300, 100, 5, 10);
    bomb().Start();
    for (bool even : {false, true}) {
        // Seed so that the bomb's draw has the wanted parity.
        uint32_t seed = 1;
        for (;; ++seed) {
            sys::SeedRandom(seed);
            if ((sys::Rand() % 2 == 0) == even) break;
        }
        sys::SeedRandom(seed);
        bomb().Update();
        EXPECT_EQ(a.durability, even ? 7 : 10);
        EXPECT_EQ(b.durability, even ? 7 : 10);
    }
}
