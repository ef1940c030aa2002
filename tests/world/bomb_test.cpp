#include <gtest/gtest.h>

#include <vector>

#include "world_fixture.h"

namespace {

class Bombs : public WorldTest {
protected:
    TPlayer& P() { return world->player; }
    TBomb& B() { return world->player.bomb; }
    // Seeds the generator so that its next draw is even (or odd).
    static void SeedForParity(bool even) {
        for (uint32_t seed = 1;; ++seed) {
            sys::SeedRandom(seed);
            bool isEven = sys::Rand() % 2 == 0;
            if (isEven == even) {
                sys::SeedRandom(seed);
                return;
            }
        }
    }
};

}  // namespace

TEST_F(Bombs, ABombActsIn161FramesAfterTheOneThatStartsIt) {
    Link();
    Hold(kKeyBomb);
    Frame();
    Hold(kKeyBomb, false);
    ASSERT_TRUE(B().IsAlive());
    EXPECT_EQ(P().bombs, 2);
    EXPECT_EQ(B().life, 0);
    EXPECT_EQ(B().fade, 0);
    int acted = 0;
    while (B().IsAlive() && acted < 500) {
        Frame();
        ++acted;
    }
    EXPECT_EQ(acted, 161);
    EXPECT_EQ(B().life, 0);
    EXPECT_EQ(B().fade, 322);  // 2 a frame: fully opaque from the 128th frame on
}

TEST_F(Bombs, HoldingTheKeySetsOffThreeBombsBackToBackAndNoFourth) {
    Link();
    Hold(kKeyBomb);
    std::vector<int> starts;
    int bombs = P().bombs;
    for (int frame = 1; frame <= 700; ++frame) {
        Frame();
        if (P().bombs != bombs) {
            starts.push_back(frame);
            bombs = P().bombs;
            EXPECT_TRUE(B().IsAlive()) << frame;
        }
        // Each starts in the very frame in which the previous one ends.
        if (frame < 484) {
            ASSERT_TRUE(B().IsAlive()) << frame;
        }
    }
    EXPECT_EQ(starts, (std::vector<int>{1, 162, 323}));
    EXPECT_FALSE(B().IsAlive());
    EXPECT_EQ(P().bombs, 0);
}

TEST_F(Bombs, ABombCutShortByANewGameKeepsItsLifeCount) {
    Link();
    Hold(kKeyBomb);
    Frame();
    Hold(kKeyBomb, false);
    Frames(50);
    EXPECT_EQ(B().life, 50);
    P().Reset();
    EXPECT_FALSE(B().IsAlive());
    EXPECT_EQ(B().life, 50);
    Hold(kKeyBomb);
    Frame();
    Hold(kKeyBomb, false);
    int acted = 0;
    while (B().IsAlive() && acted < 500) {
        Frame();
        ++acted;
    }
    EXPECT_EQ(acted, 111);
}

TEST_F(Bombs, StartDoesNothingWhileABombIsActive) {
    Link();
    B().Start();
    Frames(10);
    int life = B().life;
    B().Start();
    EXPECT_EQ(B().life, life);
    EXPECT_EQ(B().fade, 20);
}

TEST_F(Bombs, NoBombWithoutStockAndNoneFromADeadShip) {
    project->player.initialBombs = 0;
    Link();
    Hold(kKeyBomb);
    Frame();
    EXPECT_FALSE(B().IsAlive());
    EXPECT_EQ(P().bombs, 0);
    P().bombs = 1;
    P().Kill();
    Frame();
    EXPECT_FALSE(B().IsAlive());
    EXPECT_EQ(P().bombs, 1);
}

TEST_F(Bombs, EveryBombFrameErasesEnemyBulletsAndDrawsOnce) {
    Link();
    B().Start();
    world->bullets.Fire(0, 0, 100, 100, 0, 0, false);
    world->bullets.Fire(0, 1, 120, 100, 0, 0, false);
    uint64_t before = sys::RandCalls();
    B().Update();
    EXPECT_EQ(sys::RandCalls() - before, 1u);
    EXPECT_FALSE(world->bullets.bullets[0].IsAlive());
    EXPECT_TRUE(world->bullets.bullets[1].IsAlive());
    // The bomb also keeps the ship safe.
    P().PlayerHit();
    EXPECT_TRUE(P().IsAlive());
}

TEST_F(Bombs, EvenDrawsHurtEveryLiveEnemyByItsBombDamage) {
    project->enemies[1].bombDamage = 3;
    project->enemies[2].bombDamage = 0;
    Link();
    if (!DamageRuleAvailable()) GTEST_SKIP() << "the enemies' damage rule is not in this build yet";
    TEnemy& a = PlaceEnemy(0, 1, 100, 100, 5, 10);
    TEnemy& b = PlaceEnemy(9, 2, 300, 100, 5, 10);
    TEnemy& gone = PlaceEnemy(4, 1, 200, 100, 5, 10);
    gone.alive = false;
    B().Start();
    SeedForParity(false);
    B().Update();
    EXPECT_EQ(a.durability, 10);
    SeedForParity(true);
    B().Update();
    EXPECT_EQ(a.durability, 7);
    EXPECT_EQ(b.durability, 10);
    EXPECT_EQ(gone.durability, 10);
}
