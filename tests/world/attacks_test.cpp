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
                    int32_t angleMode = 0) {
    TActionEntry e;
    e.target = target;
    e.shotSpeed = shotSpeed;
    e.count = count;
    e.spacing = spacing;
    e.angleMode = angleMode;
    return e;
}

class Attacks : public testing::Test {
protected:
    void SetUp() override {
        sys::SeedRandom(kSeed);
        shooter.x = shooter.y = 100;
        start = sys::RandCalls();
    }
    uint64_t Draws() const { return sys::RandCalls() - start; }
    static constexpr uint32_t kSeed = 777u;
    RandMirror mirror{kSeed};
    uint64_t start = 0;
    TEnemy shooter;
    Recorder out;
};

TEST_F(Attacks, PlusMinusDrawsOneNumberAndTreatsNegativeRangesAsZero) {
    EXPECT_EQ(RandomPlusMinus(3), mirror.PlusMinus(3));
    EXPECT_EQ(RandomPlusMinus(-5), 0);
    mirror.Next();
    EXPECT_EQ(RandomPlusMinus(1000), mirror.PlusMinus(1000));
    EXPECT_EQ(Draws(), 3u);
}

TEST_F(Attacks, FanOfThreeSpacedTwentyPointsDownAt70_90_110) {
    FanVolley(Attack(0, 30, 3, 20), shooter, 0, 0, out);
    EXPECT_EQ(out.headings, (std::vector<double>{70, 90, 110}));
    EXPECT_EQ(out.speeds, (std::vector<double>{3, 3, 3}));
    EXPECT_EQ(out.aimed, 0);
}

TEST_F(Attacks, FanDrawsSpeedJitterCountSpacingInThisOrderEvenForNoShots) {
    TActionEntry e = Attack(0, 40, 4, 10, 5);
    e.angleValue = 200;
    e.shotSpeedJitter = 7;
    e.angleJitter = 15;
    e.countJitter = 2;
    e.spacingJitter = 5;
    double speed = (40 + mirror.PlusMinus(7)) * 0.1;
    int jitter = mirror.PlusMinus(15);
    int n = 4 + mirror.PlusMinus(2);
    double step = 10 + mirror.PlusMinus(5);
    FanVolley(e, shooter, 0, 0, out);
    ASSERT_EQ(out.headings.size(), static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        EXPECT_DOUBLE_EQ(out.speeds[i], speed);
        EXPECT_DOUBLE_EQ(out.headings[i], jitter + (i * step - (n - 1) * step * 0.5 + 200));
    }
    EXPECT_EQ(Draws(), 4u);
    e = Attack(0, 30, 0, 20);
    FanVolley(e, shooter, 0, 0, out);
    EXPECT_EQ(Draws(), 8u);
    EXPECT_EQ(out.headings.size(), static_cast<size_t>(n));
}

TEST_F(Attacks, AimedFanOfBulletsIsRelativeAndAimedFanOfEnemiesIsTurnedHere) {
    FanVolley(Attack(0, 30, 3, 10, 1), shooter, 100, 200, out);
    EXPECT_EQ(out.headings, (std::vector<double>{-10, 0, 10}));
    EXPECT_EQ(out.aimed, 3);
    // The player straight below: bearing 360, heading 450 (not normalised, not truncated).
    Recorder enemies;
    FanVolley(Attack(1, 30, 3, 10, 1), shooter, 100, 200, enemies);
    ASSERT_EQ(enemies.headings.size(), 3u);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(enemies.headings[i], 440 + 10 * i, 1e-6);
    EXPECT_NE(enemies.headings[1], 450.0);
    EXPECT_EQ(enemies.aimed, 0);
}

TEST_F(Attacks, BaseHeadingsOfEveryAngleMode) {
    shooter.vy = -2;  // moving up: bearing 0, heading 270
    shooter.rememberedX = 200;
    shooter.rememberedY = 100;  // to the right: bearing 270 from it
    const std::pair<int32_t, double> modes[] = {{0, 90}, {2, -90}, {3, 90}, {4, 360},
                                                {5, 33}, {6, 0},   {-1, 0}};
    for (auto [mode, base] : modes) {
        Recorder r;
        TActionEntry e = Attack(0, 10, 1, 0, mode);
        e.angleValue = 33;
        FanVolley(e, shooter, 0, 0, r);
        EXPECT_EQ(r.headings, std::vector<double>{base}) << "mode " << mode;
    }
    shooter.vx = 1;
    shooter.vy = -1.2;  // bearing about 39.8: forward and backward truncate it
    EXPECT_EQ(BaseHeading(Attack(0, 0, 1, 0, 2), shooter), 39 - 90);
    EXPECT_EQ(BaseHeading(Attack(0, 0, 1, 0, 3), shooter), 39 + 90);
}

TEST_F(Attacks, RandomSpreadDrawsPerShotSpeedFirstForBulletsJitterFirstForEnemies) {
    TActionEntry e = Attack(0, 20, 3, 0, 0);
    e.shotSpeedJitter = 4;
    e.angleJitter = 30;
    for (int32_t target : {0, 1}) {
        Recorder r;
        e.target = target;
        RandomSpreadVolley(e, shooter, 0, 0, r);
        ASSERT_EQ(r.headings.size(), 3u);
        for (int i = 0; i < 3; ++i) {
            int first = target == 0 ? mirror.PlusMinus(4) : mirror.PlusMinus(30);
            int second = target == 0 ? mirror.PlusMinus(30) : mirror.PlusMinus(4);
            int speed = target == 0 ? first : second, jitter = target == 0 ? second : first;
            EXPECT_DOUBLE_EQ(r.speeds[i], (20 + speed) * 0.1) << "target " << target;
            EXPECT_DOUBLE_EQ(r.headings[i], 90 + jitter) << "target " << target;
        }
    }
}

TEST_F(Attacks, RandomSpreadAimsAndFallsBackToZeroForUnknownModes) {
    TActionEntry e = Attack(0, 20, 2, 0, 1);
    RandomSpreadVolley(e, shooter, 100, 0, out);  // the player straight above
    EXPECT_EQ(out.headings, (std::vector<double>{0, 0}));
    EXPECT_EQ(out.aimed, 2);
    Recorder enemies, unknown;
    e.target = 1;
    RandomSpreadVolley(e, shooter, 100, 0, enemies);
    EXPECT_EQ(enemies.headings, (std::vector<double>{270, 270}));
    RandomSpreadVolley(Attack(0, 20, 2, 0, 42), shooter, 0, 0, unknown);
    EXPECT_EQ(unknown.headings, (std::vector<double>{0, 0}));
    // No shots or an unknown target draw nothing.
    uint64_t before = sys::RandCalls();
    RandomSpreadVolley(Attack(0, 20, 0, 0), shooter, 0, 0, out);
    RandomSpreadVolley(Attack(2, 20, 5, 0), shooter, 0, 0, out);
    EXPECT_EQ(sys::RandCalls(), before);
}

TEST_F(Attacks, RingFiresEverySpacingBelow360WithOneJitterAndOneShotForWideOrNoSpacing) {
    TActionEntry e = Attack(0, 25, 0, 90);
    e.angleJitter = 10;
    e.shotSpeedJitter = 3;
    int j = mirror.PlusMinus(10);
    double speed = (25 + mirror.PlusMinus(3)) * 0.1;
    RingVolley(e, out);
    EXPECT_EQ(out.headings, (std::vector<double>{0.0 + j, 90.0 + j, 180.0 + j, 270.0 + j}));
    EXPECT_EQ(out.speeds, std::vector<double>(4, speed));
    for (int32_t spacing : {400, 360, 0, -20}) {
        Recorder r;
        RingVolley(Attack(0, 25, 0, spacing), r);
        EXPECT_EQ(r.headings, std::vector<double>{0}) << "spacing " << spacing;
    }
    Recorder r;
    RingVolley(Attack(0, 25, 0, 1), r);
    EXPECT_EQ(r.headings.size(), 360u);
}

TEST_F(Attacks, SpiralFirstFiresAtItsSpacingAndWrapsAbove360Once) {
    double emit = 0;
    TActionEntry e = Attack(0, 30, 0, 150);
    for (int i = 0; i < 4; ++i) SpiralVolley(e, emit, out);
    EXPECT_EQ(out.headings, (std::vector<double>{150, 300, 90, 240}));
    emit = 0;
    e.spacing = -50;  // a negative angle is left as it is
    SpiralVolley(e, emit, out);
    SpiralVolley(e, emit, out);
    EXPECT_DOUBLE_EQ(emit, -100);
}

TEST_F(Attacks, DoubleRingFiresMirroredPairsTurningByTheAngleJitter) {
    double emit = 0;
    TActionEntry e = Attack(0, 30, 0, 180);
    e.angleJitter = 10;
    DoubleRingVolley(e, emit, out);
    EXPECT_EQ(Draws(), 1u);  // the speed only
    DoubleRingVolley(e, emit, out);
    EXPECT_EQ(out.headings, (std::vector<double>{10, -10, 190, 170, 20, -20, 200, 160}));
    Recorder one;
    e.spacing = 0;
    DoubleRingVolley(e, emit, one);
    EXPECT_EQ(one.headings, (std::vector<double>{30, -30}));
}

// Volleys through a real enemy: children are enemies of kind 1 with no action list.
class Volleys : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        LinkForEnemies();
    }
    void StartShooter(TActionEntry e, int32_t extra, int32_t interval, int32_t spacing = 400) {
        e.extra = extra;
        e.target = e.which = e.count = 1;
        e.interval = interval;
        e.spacing = spacing;
        Def(0).actions = {e};
        Spawn(0, 200, 200);
    }
};

TEST_F(Volleys, IntervalZeroFiresInEveryExecuteFrameAnd29EveryThirtieth) {
    StartShooter(Cmd(op::kMoveOn, 4), op::kRing, 0);
    for (int f = 1; f <= 6; ++f) {
        Pool().UpdateAll();
        EXPECT_EQ(AliveEnemies(), 1 + std::min(f, 5)) << "frame " << f;  // 6: advance
    }
    Pool().KillAll();
    StartShooter(Cmd(op::kMoveOn, 89), op::kSpiral, 29);
    for (int f = 1; f <= 90; ++f) {
        Pool().UpdateAll();
        EXPECT_EQ(AliveEnemies(), 1 + f / 30) << "frame " << f;
    }
}

TEST_F(Volleys, ChildrenStartAtTheShooterWithParentSlotAndNoWatch) {
    StartShooter(Cmd(op::kMoveOn, 0), op::kSpiral, 0, 45);
    Enemy(0).watched = true;
    Pool().UpdateAll();
    const TEnemy& child = Enemy(1);
    ASSERT_TRUE(child.IsAlive());
    EXPECT_EQ(child.kind, 1);
    EXPECT_EQ(child.parentSlot, 0);
    EXPECT_FALSE(child.watched);
    EXPECT_DOUBLE_EQ(child.angle, 45.0);
    // Its slot lies after the shooter's, so it has had its first update (standing still).
    EXPECT_NEAR(child.x, 200.0, 1e-5);
}

TEST_F(Volleys, UnknownEnemiesOrTargetsCreateNothingAndAFullPoolStopsAFan) {
    for (auto [which, target] : {std::pair{256, 1}, {-1, 1}, {1, 5}}) {
        TActionEntry e = Cmd(op::kMoveOn, 0);
        e.extra = op::kRing;
        e.spacing = 90;
        e.which = which;
        e.target = target;
        Def(0).actions = {e};
        Spawn(0);
        Pool().UpdateAll();
        EXPECT_EQ(AliveEnemies(), 1) << which << " " << target;
        Pool().KillAll();
    }
    TActionEntry fan = Cmd(op::kMoveOn, 0);
    fan.extra = op::kFan;
    fan.target = fan.which = 1;
    fan.count = 100000;
    Def(0).actions = {fan};
    Spawn(0);
    Pool().UpdateAll();
    EXPECT_EQ(AliveEnemies(), TEnemyPool::kSize);
}

}  // namespace
