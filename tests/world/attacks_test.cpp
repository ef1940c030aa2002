// The attack patterns: headings, speeds and the order of their random draws, checked on the
// shots they hand out; then the volley timing and child enemies through a real enemy.
#include "world/attacks.h"

#include <vector>

#include "enemy_fixture.h"

namespace {

struct TRecordedShot {
    double speed;
    double heading;
    bool aim;
};

class Recorder final : public TShotSink {
public:
    void Shot(double speed, double heading, bool aim) override {
        shots.push_back({speed, heading, aim});
    }
    std::vector<double> Headings() const {
        std::vector<double> h;
        for (const auto& s : shots) h.push_back(s.heading);
        return h;
    }
    std::vector<TRecordedShot> shots;
};

void ExpectHeadings(const Recorder& r, const std::vector<double>& expected) {
    ASSERT_EQ(r.shots.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        // The game's radians-to-degrees factor is a little off: bearings miss by about 1e-7.
        EXPECT_NEAR(r.shots[i].heading, expected[i], 1e-6) << "shot " << i;
    }
}

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

class Attacks : public ::testing::Test {
protected:
    void SetUp() override {
        sys::SeedRandom(kSeed);
        shooter.x = 100;
        shooter.y = 100;
    }
    static constexpr uint32_t kSeed = 777u;
    TEnemy shooter;
    Recorder out;
};

TEST_F(Attacks, PlusMinusDrawsOneNumberAndTreatsNegativeRangesAsZero) {
    RandMirror mirror(kSeed);
    uint64_t before = sys::RandCalls();
    EXPECT_EQ(RandomPlusMinus(3), mirror.PlusMinus(3));
    EXPECT_EQ(RandomPlusMinus(0), 0);
    mirror.Next();
    EXPECT_EQ(RandomPlusMinus(-5), 0);
    mirror.Next();
    EXPECT_EQ(RandomPlusMinus(1000), mirror.PlusMinus(1000));
    EXPECT_EQ(sys::RandCalls() - before, 4u);
}

TEST_F(Attacks, FanOfThreeSpacedTwentyPointsDownAt70_90_110) {
    FanVolley(Attack(0, 30, 3, 20), shooter, 0, 0, out);
    EXPECT_EQ(out.Headings(), (std::vector<double>{70, 90, 110}));
    for (const auto& s : out.shots) {
        EXPECT_DOUBLE_EQ(s.speed, 3.0);
        EXPECT_FALSE(s.aim);
    }
}

TEST_F(Attacks, FanDrawsSpeedJitterCountSpacingInThisOrder) {
    TActionEntry e = Attack(0, 40, 4, 10, 5);
    e.angleValue = 200;
    e.shotSpeedJitter = 7;
    e.angleJitter = 15;
    e.countJitter = 2;
    e.spacingJitter = 5;
    RandMirror mirror(kSeed);
    double speed = (40 + mirror.PlusMinus(7)) * 0.1;
    int jitter = mirror.PlusMinus(15);
    int n = 4 + mirror.PlusMinus(2);
    double step = 10 + mirror.PlusMinus(5);
    uint64_t before = sys::RandCalls();
    FanVolley(e, shooter, 0, 0, out);
    EXPECT_EQ(sys::RandCalls() - before, 4u);
    ASSERT_EQ(out.shots.size(), static_cast<size_t>(n));
    double half = (n - 1) * step * 0.5;
    for (int i = 0; i < n; ++i) {
        EXPECT_DOUBLE_EQ(out.shots[i].speed, speed);
        EXPECT_DOUBLE_EQ(out.shots[i].heading, jitter + (i * step - half + 200));
    }
}

TEST_F(Attacks, FanOfNoShotsStillDrawsItsFourNumbers) {
    TActionEntry e = Attack(0, 30, 1, 20);
    e.countJitter = 0;
    e.count = 0;
    uint64_t before = sys::RandCalls();
    FanVolley(e, shooter, 0, 0, out);
    EXPECT_EQ(sys::RandCalls() - before, 4u);
    EXPECT_TRUE(out.shots.empty());
}

TEST_F(Attacks, AimedFanOfBulletsIsRelativeAndAimedFanOfEnemiesIsTurnedHere) {
    FanVolley(Attack(0, 30, 3, 10, 1), shooter, 100, 200, out);
    EXPECT_EQ(out.Headings(), (std::vector<double>{-10, 0, 10}));
    for (const auto& s : out.shots) EXPECT_TRUE(s.aim);

    Recorder enemies;
    // The player straight below: bearing 360, heading 450 (not normalised), and the bearing
    // is not truncated.
    FanVolley(Attack(1, 30, 3, 10, 1), shooter, 100, 200, enemies);
    ExpectHeadings(enemies, {440, 450, 460});
    EXPECT_NE(enemies.shots[1].heading, 450.0);
    for (const auto& s : enemies.shots) EXPECT_FALSE(s.aim);
}

TEST_F(Attacks, FanBaseHeadingsOfEveryAngleMode) {
    shooter.vx = 0;
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
        ASSERT_EQ(r.shots.size(), 1u);
        EXPECT_DOUBLE_EQ(r.shots[0].heading, base) << "mode " << mode;
    }
}

TEST_F(Attacks, ForwardAndBackwardTruncateTheBearing) {
    shooter.vx = 1;
    shooter.vy = -1.2;  // bearing about 39.8
    EXPECT_EQ(BaseHeading(Attack(0, 0, 1, 0, 2), shooter), 39 - 90);
    EXPECT_EQ(BaseHeading(Attack(0, 0, 1, 0, 3), shooter), 39 + 90);
}

TEST_F(Attacks, RandomSpreadDrawsPerShotSpeedFirstForBulletsJitterFirstForEnemies) {
    TActionEntry e = Attack(0, 20, 3, 0, 0);
    e.shotSpeedJitter = 4;
    e.angleJitter = 30;
    RandMirror mirror(kSeed);
    RandomSpreadVolley(e, shooter, 0, 0, out);
    ASSERT_EQ(out.shots.size(), 3u);
    for (const auto& s : out.shots) {
        double speed = (20 + mirror.PlusMinus(4)) * 0.1;
        int jitter = mirror.PlusMinus(30);
        EXPECT_DOUBLE_EQ(s.speed, speed);
        EXPECT_DOUBLE_EQ(s.heading, 90 + jitter);
    }

    Recorder enemies;
    e.target = 1;
    RandomSpreadVolley(e, shooter, 0, 0, enemies);
    ASSERT_EQ(enemies.shots.size(), 3u);
    for (const auto& s : enemies.shots) {
        int jitter = mirror.PlusMinus(30);
        double speed = (20 + mirror.PlusMinus(4)) * 0.1;
        EXPECT_DOUBLE_EQ(s.speed, speed);
        EXPECT_DOUBLE_EQ(s.heading, 90 + jitter);
    }
}

TEST_F(Attacks, RandomSpreadAimAndUnknownModes) {
    TActionEntry e = Attack(0, 20, 2, 0, 1);
    RandomSpreadVolley(e, shooter, 100, 0, out);  // the player straight above
    for (const auto& s : out.shots) {
        EXPECT_DOUBLE_EQ(s.heading, 0);
        EXPECT_TRUE(s.aim);
    }
    Recorder enemies;
    e.target = 1;
    RandomSpreadVolley(e, shooter, 100, 0, enemies);
    for (const auto& s : enemies.shots) EXPECT_DOUBLE_EQ(s.heading, 180 + 90);

    Recorder unknown;
    e = Attack(0, 20, 2, 0, 42);
    RandomSpreadVolley(e, shooter, 0, 0, unknown);
    for (const auto& s : unknown.shots) EXPECT_DOUBLE_EQ(s.heading, 0);
}

TEST_F(Attacks, RandomSpreadOfNoShotsOrUnknownTargetDrawsNothing) {
    uint64_t before = sys::RandCalls();
    RandomSpreadVolley(Attack(0, 20, 0, 0), shooter, 0, 0, out);
    RandomSpreadVolley(Attack(2, 20, 5, 0), shooter, 0, 0, out);
    EXPECT_EQ(sys::RandCalls(), before);
    EXPECT_TRUE(out.shots.empty());
}

TEST_F(Attacks, RingFiresEverySpacingBelow360WithOneJitter) {
    TActionEntry e = Attack(0, 25, 0, 90);
    e.angleJitter = 10;
    e.shotSpeedJitter = 3;
    RandMirror mirror(kSeed);
    int jitter = mirror.PlusMinus(10);
    double speed = (25 + mirror.PlusMinus(3)) * 0.1;
    RingVolley(e, out);
    EXPECT_EQ(out.Headings(),
              (std::vector<double>{0.0 + jitter, 90.0 + jitter, 180.0 + jitter, 270.0 + jitter}));
    for (const auto& s : out.shots) EXPECT_DOUBLE_EQ(s.speed, speed);
}

TEST_F(Attacks, RingWithWideOrMissingSpacingFiresOneShot) {
    for (int32_t spacing : {400, 360, 0, -20}) {
        Recorder r;
        RingVolley(Attack(0, 25, 0, spacing), r);
        EXPECT_EQ(r.Headings(), (std::vector<double>{0})) << "spacing " << spacing;
    }
    Recorder r;
    RingVolley(Attack(0, 25, 0, 1), r);
    EXPECT_EQ(r.shots.size(), 360u);
}

TEST_F(Attacks, SpiralFirstFiresAtItsSpacingAndWrapsAbove360Once) {
    double emit = 0;
    TActionEntry e = Attack(0, 30, 0, 150);
    for (double expected : {150.0, 300.0, 90.0, 240.0}) {
        SpiralVolley(e, emit, out);
        EXPECT_DOUBLE_EQ(out.shots.back().heading, expected);
    }
    EXPECT_EQ(out.shots.size(), 4u);
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
    uint64_t before = sys::RandCalls();
    DoubleRingVolley(e, emit, out);
    EXPECT_EQ(sys::RandCalls() - before, 1u);  // the speed only
    EXPECT_EQ(out.Headings(), (std::vector<double>{10, -10, 190, 170}));
    Recorder second;
    DoubleRingVolley(e, emit, second);
    EXPECT_EQ(second.Headings(), (std::vector<double>{20, -20, 200, 160}));

    Recorder one;
    e.spacing = 0;
    DoubleRingVolley(e, emit, one);
    EXPECT_EQ(one.Headings(), (std::vector<double>{30, -30}));
}

// Volleys through a real enemy: children are enemies of kind 1 with no action list.
class Volleys : public EnemyWorldTest {
protected:
    int32_t StartShooter(TActionEntry command, int32_t extra, int32_t interval,
                         int32_t spacing = 400) {
        command.extra = extra;
        command.target = 1;
        command.which = 1;
        command.interval = interval;
        command.spacing = spacing;
        command.count = 1;
        Def(0).actions = {command};
        return Spawn(0, 200, 200);
    }
};

TEST_F(Volleys, IntervalZeroFiresInEveryExecuteFrame) {
    StartShooter(Cmd(op::kMoveOn, 4), op::kRing, 0);
    for (int f = 1; f <= 5; ++f) {
        Pool().UpdateAll();
        EXPECT_EQ(AliveCount(), 1 + f);
    }
    Pool().UpdateAll();  // the advance frame fires nothing
    EXPECT_EQ(AliveCount(), 6);
}

TEST_F(Volleys, Interval29FiresEveryThirtyExecuteFrames) {
    StartShooter(Cmd(op::kMoveOn, 89), op::kSpiral, 29);
    for (int f = 1; f <= 90; ++f) {
        Pool().UpdateAll();
        EXPECT_EQ(AliveCount(), 1 + f / 30) << "frame " << f;
    }
}

TEST_F(Volleys, ChildrenStartAtTheShooterWithParentSlotAndNoWatch) {
    int32_t parent = StartShooter(Cmd(op::kMoveOn, 0), op::kSpiral, 0, 45);
    Enemy(parent).watched = true;
    Pool().UpdateAll();
    const TEnemy& child = Enemy(1);
    ASSERT_TRUE(child.IsAlive());
    EXPECT_EQ(child.parentSlot, parent);
    EXPECT_FALSE(child.watched);
    EXPECT_DOUBLE_EQ(child.angle, 45.0);
    // Its slot lies after the shooter's, so it has had its first update (standing still).
    EXPECT_NEAR(child.x, 200.0, 1e-5);
    EXPECT_EQ(child.speed, kStopSpeed);
    EXPECT_EQ(child.kind, 1);
}

TEST_F(Volleys, AnUnknownEnemyOrTargetCreatesNothing) {
    TActionEntry e = Cmd(op::kMoveOn, 3);
    e.extra = op::kRing;
    e.target = 1;
    e.which = 256;
    e.spacing = 90;
    Def(0).actions = {e};
    Spawn(0);
    Pool().UpdateAll();
    e.which = -1;
    Def(0).actions = {e};
    Pool().UpdateAll();
    e.which = 1;
    e.target = 5;
    Def(0).actions = {e};
    Pool().UpdateAll();
    EXPECT_EQ(AliveCount(), 1);
}

TEST_F(Volleys, AFanOfEnemiesStopsWhenThePoolIsFull) {
    TActionEntry e = Cmd(op::kMoveOn, 0);
    e.extra = op::kFan;
    e.target = 1;
    e.which = 1;
    e.count = 100000;
    Def(0).actions = {e};
    Spawn(0);
    Pool().UpdateAll();
    EXPECT_EQ(AliveCount(), TEnemyPool::kSize);
}

}  // namespace
