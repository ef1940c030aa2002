// The attack patterns: headings, speeds and the order of their random draws, checked on the
// shots they hand out; then the volley timing and child enemies through a real enemy.
#include "world/attacks.h"

#include "world_fixture.h"

namespace {

class Recorder final : public TShotSink {
public:
    void Shot(double speed, double heading, bool aim) override {
        speeds.push_back(speed);
        headings.push_back(heading);
        aimed += aim ? 1 : 0;
    }
    std::vector<double> speeds, headings;
    int aimed = 0;
};

TActionEntry Attack(int32_t target, int32_t shotSpeed, int32_t count, int32_t spacing,
                    int32_t angleMode = 0, int32_t speedJitter = 0, int32_t angleJitter = 0) {
    return TActionEntry{0, 0,     0, 0,       target, 0,           shotSpeed, speedJitter,
                        0, count, 0, spacing, 0,      angleJitter, angleMode};
}

class Attacks : public testing::Test {
protected:
    void SetUp() override {
        sys::SeedRandom(kSeed);
        shooter.x = shooter.y = 100;
        start = sys::RandCalls();
    }
    uint64_t Draws() const { return sys::RandCalls() - start; }
    static constexpr uint32_t kSeed = 770u;  // its first fan draws no zero jitter
    RandMirror mirror{kSeed};
    uint64_t start = 0;
    TEnemy shooter;
    Recorder out;
};

TEST_F(Attacks, PlusMinusDrawsOneNumberAndTreatsNegativeRangesAsZero) {
    mirror.Next();  // the draw for -5
    EXPECT_EQ(RandomPlusMinus(-5), 0);
    EXPECT_EQ(RandomPlusMinus(1000), mirror.PlusMinus(1000));
    EXPECT_EQ(Draws(), 2u);
}

TEST_F(Attacks, FanDrawsSpeedJitterCountSpacingInThisOrderEvenForNoShots) {
    TActionEntry e = Attack(0, 40, 4, 10, 5, 7, 15);
    e.angleValue = 200;
    e.countJitter = 2;
    e.spacingJitter = 5;
    double speed = (40 + mirror.PlusMinus(7)) * 0.1;
    int jitter = mirror.PlusMinus(15), n = 4 + mirror.PlusMinus(2);
    double step = 10 + mirror.PlusMinus(5);
    FanVolley(e, shooter, 0, 0, out);
    ASSERT_EQ(out.headings.size(), static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        EXPECT_DOUBLE_EQ(out.speeds[i], speed);
        EXPECT_DOUBLE_EQ(out.headings[i], jitter + (i * step - (n - 1) * step * 0.5 + 200));
    }
    FanVolley(Attack(0, 30, 0, 20), shooter, 0, 0, out);
    EXPECT_EQ(Draws(), 8u);
    EXPECT_EQ(out.headings.size(), static_cast<size_t>(n));
}

TEST_F(Attacks, AimedFanOfBulletsIsRelativeAndAimedFanOfEnemiesIsTurnedHere) {
    FanVolley(Attack(0, 30, 3, 10, 1), shooter, 100, 200, out);
    EXPECT_EQ(out.headings, (std::vector<double>{-10, 0, 10}));
    EXPECT_EQ(out.aimed, 3);
    // The player straight below: bearing 360, heading 450 (not normalised, not truncated).
    FanVolley(Attack(1, 30, 1, 10, 1), shooter, 100, 200, out);
    EXPECT_NEAR(out.headings[3], 450, 1e-6);
    EXPECT_NE(out.headings[3], 450.0);
    EXPECT_EQ(out.aimed, 3);
}

TEST_F(Attacks, BaseHeadingsOfEveryAngleMode) {
    shooter.vy = -2;  // moving up: bearing 0, heading 270
    shooter.rememberedX = 200;
    shooter.rememberedY = 100;  // to the right: bearing 270 from it
    const std::pair<int32_t, double> modes[] = {{0, 90}, {2, -90}, {3, 90}, {4, 360},
                                                {5, 33}, {6, 0},   {-1, 0}};
    for (auto [mode, base] : modes) {
        TActionEntry e = Attack(0, 10, 1, 0, mode);
        e.angleValue = 33;
        FanVolley(e, shooter, 0, 0, out);
        EXPECT_EQ(out.headings.back(), base) << "mode " << mode;
    }
}

TEST_F(Attacks, RandomSpreadAimsAndFallsBackToZeroForUnknownModes) {
    RandomSpreadVolley(Attack(0, 20, 1, 0, 1), shooter, 100, 0, out);  // the player above
    RandomSpreadVolley(Attack(1, 20, 1, 0, 1), shooter, 100, 0, out);
    RandomSpreadVolley(Attack(0, 20, 1, 0, 42), shooter, 0, 0, out);
    EXPECT_EQ(out.headings, (std::vector<double>{0, 270, 0}));
    EXPECT_EQ(out.aimed, 1);
    // No shots or an unknown target draw nothing.
    RandomSpreadVolley(Attack(0, 20, 0, 0), shooter, 0, 0, out);
    RandomSpreadVolley(Attack(2, 20, 5, 0), shooter, 0, 0, out);
    EXPECT_EQ(Draws(), 6u);
}

TEST_F(Attacks, RingFiresEverySpacingBelow360WithOneJitterAndOneShotForWideOrNoSpacing) {
    int j = mirror.PlusMinus(10);
    double speed = (25 + mirror.PlusMinus(3)) * 0.1;
    RingVolley(Attack(0, 25, 0, 90, 0, 3, 10), out);
    EXPECT_EQ(out.headings, (std::vector<double>{0.0 + j, 90.0 + j, 180.0 + j, 270.0 + j}));
    EXPECT_EQ(out.speeds, std::vector<double>(4, speed));
    for (int32_t spacing : {400, 360, 0, -20}) {
        Recorder r;
        RingVolley(Attack(0, 25, 0, spacing), r);
        EXPECT_EQ(r.headings, std::vector<double>{0}) << "spacing " << spacing;
    }
}

TEST_F(Attacks, SpiralAndDoubleRingTurnTheirEmissionAngleAndWrapAbove360Once) {
    double emit = 0;
    for (int i = 0; i < 4; ++i) SpiralVolley(Attack(0, 30, 0, 150), emit, out);
    EXPECT_EQ(out.headings, (std::vector<double>{150, 300, 90, 240}));

    Recorder pairs;
    TActionEntry e = Attack(0, 30, 0, 180, 0, 0, 10);  // the angle jitter turns the pairs
    emit = 0;
    DoubleRingVolley(e, emit, pairs);
    DoubleRingVolley(e, emit, pairs);
    e.spacing = 0;
    DoubleRingVolley(e, emit, pairs);
    EXPECT_EQ(pairs.headings, (std::vector<double>{10, -10, 190, 170, 20, -20, 200, 160, 30, -30}));
    EXPECT_EQ(Draws(), 7u);                 // the speed of each volley
    EXPECT_EQ(out.aimed + pairs.aimed, 0);  // none of them aimed
}

// Volleys through a real enemy: children are enemies of kind 1 with no action list.
class Volleys : public EnemyTest {
protected:
    void StartShooter(int32_t frames, int32_t extra, int32_t interval, int32_t spacing = 400,
                      int32_t which = 1, int32_t count = 1) {
        Def(0).actions = {TActionEntry{op::kMoveOn, frames, 0, extra, 1, which, 0, 0, interval,
                                       count, 0, spacing}};
        Spawn(0, 200, 200);
    }
};

TEST_F(Volleys, IntervalZeroFiresInEveryExecuteFrameAnd29EveryThirtieth) {
    StartShooter(4, op::kRing, 0);
    for (int f = 1; f <= 6; ++f) {
        Pool().UpdateAll();
        EXPECT_EQ(AliveEnemies(), 1 + std::min(f, 5)) << "frame " << f;  // 6: advance
    }
    Pool().KillAll();
    StartShooter(89, op::kSpiral, 29);
    for (int f = 1; f <= 90; ++f) {
        Pool().UpdateAll();
        EXPECT_EQ(AliveEnemies(), 1 + f / 30) << "frame " << f;
    }
}

TEST_F(Volleys, ChildrenStartAtTheShooterWithParentSlotAndNoWatch) {
    StartShooter(0, op::kSpiral, 0, 45);
    Enemy(0).watched = true;
    Pool().UpdateAll();
    ASSERT_EQ(AliveEnemies(1), 1);
    EXPECT_EQ(Enemy(1).parentSlot, 0);
    EXPECT_FALSE(Enemy(1).watched);
    EXPECT_DOUBLE_EQ(Enemy(1).angle, 45.0);
    EXPECT_NEAR(Enemy(1).x, 200.0, 1e-5);  // after its first update, standing still
}

TEST_F(Volleys, UnknownEnemiesCreateNothingAndAFullPoolStopsAFan) {
    StartShooter(0, op::kRing, 0, 90, 255);  // the last of the table, then one past it
    Pool().UpdateAll();
    EXPECT_EQ(AliveEnemies(255), 4);
    Pool().KillAll();
    StartShooter(0, op::kRing, 0, 90, 256);
    Pool().UpdateAll();
    EXPECT_EQ(AliveEnemies(), 1);
    StartShooter(0, op::kFan, 0, 0, 1, 100000);
    Pool().UpdateAll();
    EXPECT_EQ(AliveEnemies(), TEnemyPool::kSize);
}

}  // namespace
