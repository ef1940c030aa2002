// Enemy rules with exact numbers: the action list's timing, loops and motions, the attack
// patterns' headings and random draws, death with its children, successor and items, and the
// scene script's timing and holds. Whole stages of them are the golden scenarios'.
#include <cmath>
#include <tuple>

#include "world/attacks.h"
#include "world_fixture.h"

namespace {

using Enemies = EnemyTest;

// Enemy kind 0 with the given list, started in slot 0 at (200, 100).
TEnemy& StartList(EnemyTest& t, TEnemyPool& pool, TEnemyDef& def, std::vector<TActionEntry> list,
                  double speed = 0, double angle = 0) {
    def.actions = std::move(list);
    EXPECT_EQ(pool.SpawnEnemy(0, 200, 100, speed, angle, false, -1), 0);
    return pool.enemies[0];
}
#define START(...) StartList(*this, Pool(), Def(0), __VA_ARGS__)

TEST_F(Enemies, SetSpeedFaceDownMoveOnStandsFourFramesThenMovesSixtyOneFrames) {
    TEnemy& e = START({Cmd(0, 30), Cmd(5), Cmd(15, 59)});
    for (int f = 1; f <= 65; ++f) {
        const double y = e.y;
        Pool().UpdateAll();
        ASSERT_NEAR(e.y - y, f <= 4 ? 0.0 : 3.0, 1e-9) << "frame " << f;
    }
    EXPECT_TRUE(e.listFinished);
}

// A command whose attack creates nothing; attackFrames counts its execute frames.
TActionEntry Counted(int32_t command, int32_t a) {
    return TActionEntry{command, a, 0, 2, 2, 0, 0, 0, 1 << 30};
}

TEST_F(Enemies, LoopsRunTheirBodiesAndEndOnTime) {
    const struct {
        std::vector<TActionEntry> list;
        int endFrame, executeFrames;
    } cases[] = {
        {{Cmd(25, 1), Counted(15, 9), Cmd(26, 1, 2)}, 41, 30},
        // The inner loop is reloaded for each pass of the outer one.
        {{Cmd(25, 1), Cmd(25, 2), Counted(15, 0), Cmd(26, 2, 1), Cmd(26, 1, 1)}, 26, 4},
        // A missing label goes back to entry 0; a count of 0 never jumps.
        {{Counted(15, 0), Cmd(26, 7, 1), Cmd(26, 1, 0)}, 8, 2},
        // A return at entry 0 is not prepared at the start and never jumps.
        {{Cmd(26, 1, 2), Counted(15, 0), Cmd(25, 1)}, 6, 1},
        {{Cmd(99, 5), Cmd(-3), Counted(15, 0)}, 6, 1},  // unknown codes finish at once
    };
    for (const auto& c : cases) {
        TEnemy& e = START(c.list);
        int frame = 0;
        for (; !e.listFinished && frame < 500; ++frame) Pool().UpdateAll();
        EXPECT_EQ(std::make_pair(frame, e.attackFrames),
                  std::make_pair(c.endFrame, c.executeFrames));
        e.Kill();
    }
}

TEST_F(Enemies, WaitOfZeroStandsOneFrameAndRestoresTheSpeedWithoutMoving) {
    TEnemy& e = START({Cmd(0, 20), Cmd(1, 0), Cmd(15, 0), Cmd(14, 0), Cmd(1, 0), Cmd(15, 0)});
    EnemyFrames(7);  // move on, the advance onto the wait (still moving), the one wait frame
    EXPECT_NEAR(e.x, 204.0, 1e-5);
    EXPECT_DOUBLE_EQ(e.speed, 2.0);
    EnemyFrames(3);  // advance, set angle, advance: the speed is back but the enemy stands
    EXPECT_NEAR(e.x, 204.0, 1e-5);
    EnemyFrames(1);  // move on recomputes the velocity
    EXPECT_NEAR(e.x, 206.0, 1e-5);
}

TEST_F(Enemies, MotionsReachTheirPointsAnglesAndSpeeds) {
    const struct {
        const char* what;
        std::vector<TActionEntry> list;
        int frames;
        double x, y, angle, speed;
    } cases[] = {
        // 3 a frame toward a point 10 below: on it after 4 steps, then one more step of 3.
        {"move to a point", {Cmd(0, 30), Cmd(17, 200, 110)}, 6, 200, 113, 0, 3},
        // One degree a frame at speed 2 for 90 degrees.
        {"curve", {Cmd(0, 20), Cmd(1, 0), Cmd(23, 90, 50)}, 94, 0, 0, 90, 2},
        // clang-format off
        {"curve right onto 360", {Cmd(0, 20), Cmd(1, 359), Cmd(23, 90, 50)}, 5, 0, 0, 360, 2},
        {"curve right past 360", {Cmd(0, 20), Cmd(1, 359), Cmd(23, 90, 50)}, 6,
         202 + 2 * std::cos(kDegToRad), 100 + 2 * std::sin(kDegToRad), 1, 2},
        {"curve left", {Cmd(0, 20), Cmd(22, 90, 50)}, 3,
         200 + 2 * std::cos(kDegToRad), 100 - 2 * std::sin(kDegToRad), 359, 2},
        // The acceleration grows after each execute frame, not in advance frames.
        {"accelerate", {Cmd(0, 10), Cmd(5), Cmd(12, 10), Cmd(15, 2)}, 9, 200, 103.6, 90, 1.4},
        {"stop accelerating", {Cmd(0, 10), Cmd(12, 10), Cmd(13), Cmd(15, 9)}, 9, 203.3, 100, 0, 1.1},
        // clang-format on
        {"turn clockwise", {Cmd(1, 100), Cmd(21, 30)}, 3, 200, 100, 130, 0},
        {"turn back", {Cmd(1, 10), Cmd(20, 30)}, 3, 200, 100, 340, 0},
        {"jump", {Cmd(19, 50, 60)}, 1, 50, 60, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TEnemy& e = START(c.list);
        EnemyFrames(c.frames);
        if (c.x) EXPECT_NEAR(e.x, c.x, 1e-4);
        if (c.y) EXPECT_NEAR(e.y, c.y, 1e-4);
        EXPECT_NEAR(e.angle, c.angle, 1e-9);
        EXPECT_NEAR(e.speed, c.speed, 1e-9);
        e.Kill();
    }
}

// The attacks' shots, recorded instead of fired.
class Recorder final : public TShotSink {
public:
    void Shot(double speed, double heading, bool aim) override {
        speeds.push_back(speed);
        headings.push_back(heading);
        aimed += aim;
    }
    std::vector<double> speeds, headings;
    int aimed = 0;
};

TActionEntry Attack(int32_t target, int32_t count, int32_t spacing, int32_t angleMode = 0,
                    int32_t speedJitter = 0, int32_t angleJitter = 0) {
    return TActionEntry{0, 0,     0, 0,       target, 0,           40,       speedJitter,
                        0, count, 0, spacing, 0,      angleJitter, angleMode};
}

TEST_F(Enemies, FansDrawSpeedJitterCountSpacingInThisOrderAndAimRelativeToTheShip) {
    sys::SeedRandom(770);  // its first fan draws no zero jitter
    RandMirror mirror(770);
    TActionEntry e = Attack(0, 4, 10, 5, 7, 15);
    e.angleValue = 200;
    e.countJitter = 2;
    e.spacingJitter = 5;
    const double speed = (40 + mirror.PlusMinus(7)) * 0.1;
    const int jitter = mirror.PlusMinus(15), n = 4 + mirror.PlusMinus(2);
    const double step = 10 + mirror.PlusMinus(5);
    TEnemy shooter;
    shooter.x = shooter.y = 100;
    Recorder out;
    FanVolley(e, shooter, 0, 0, out);
    ASSERT_EQ(out.headings.size(), size_t(n));
    for (int i = 0; i < n; ++i) {
        EXPECT_DOUBLE_EQ(out.speeds[i], speed);
        EXPECT_DOUBLE_EQ(out.headings[i], jitter + (i * step - (n - 1) * step * 0.5 + 200));
    }
    Recorder aimed;  // bullets relative to the aim; enemies turned here, not truncated
    FanVolley(Attack(0, 3, 10, 1), shooter, 100, 200, aimed);
    FanVolley(Attack(1, 1, 10, 1), shooter, 100, 200, aimed);
    EXPECT_EQ(std::vector<double>(aimed.headings.begin(), aimed.headings.end() - 1),
              (std::vector<double>{-10, 0, 10}));
    EXPECT_NEAR(aimed.headings[3], 450, 1e-6);
    EXPECT_NE(aimed.headings[3], 450.0);
    EXPECT_EQ(aimed.aimed, 3);
    shooter.vy = -2;  // every base heading: moving up, and a remembered point to the right
    shooter.rememberedX = 200;
    shooter.rememberedY = 100;
    for (auto [mode, base] : {std::pair{0, 90}, {2, -90}, {3, 90}, {4, 360}, {5, 33}, {6, 0}}) {
        TActionEntry a = Attack(0, 1, 0, mode);
        a.angleValue = 33;
        FanVolley(a, shooter, 0, 0, out);
        EXPECT_EQ(out.headings.back(), base) << "mode " << mode;
    }
}

TEST_F(Enemies, RingsSpiralsAndDoubleRingsTurnAsTheyShould) {
    Recorder ring, wide, spiral, pairs;
    RingVolley(Attack(0, 0, 90), ring);
    RingVolley(Attack(0, 0, 400), wide);  // wider than a turn: one shot
    EXPECT_EQ(ring.headings, (std::vector<double>{0, 90, 180, 270}));
    EXPECT_EQ(wide.headings, std::vector<double>{0});
    double emit = 0;
    for (int i = 0; i < 4; ++i) SpiralVolley(Attack(0, 0, 150), emit, spiral);
    EXPECT_EQ(spiral.headings, (std::vector<double>{150, 300, 90, 240}));
    TActionEntry e = Attack(0, 0, 180, 0, 0, 10);  // the angle jitter turns the pairs
    emit = 0;
    DoubleRingVolley(e, emit, pairs);
    DoubleRingVolley(e, emit, pairs);
    EXPECT_EQ(pairs.headings, (std::vector<double>{10, -10, 190, 170, 20, -20, 200, 160}));
}

// Volleys through a real enemy: children are enemies of kind 1 with no action list.
TEST_F(Enemies, IntervalZeroFiresInEveryExecuteFrameAnd29EveryThirtieth) {
    for (auto [interval, frames, every] : {std::tuple{0, 4, 1}, {29, 89, 30}}) {
        Def(0).actions = {TActionEntry{15, frames, 0, 4, 1, 1, 0, 0, interval, 1, 0, 400}};
        Spawn(0);
        for (int f = 1; f <= frames + 2; ++f) {
            Pool().UpdateAll();
            EXPECT_EQ(AliveEnemies(1), std::min(f, frames + 1) / every) << f;
        }
        Pool().KillAll();
    }
}

TEST_F(Enemies, ChildrenAndGrandchildrenDieWithTheirParent) {
    Def(3).successor = 9;  // a grandchild's reward shows that it died, not vanished
    const int32_t parent = Spawn(1), stranger = Spawn(1);
    const int32_t child = Spawn(2, 200, 200, 0, 0, false, parent);
    Spawn(3, 200, 200, 0, 0, false, child);
    Spawn(2, 200, 200, 0, 0, false, stranger);
    Enemy(parent).Die();
    EXPECT_EQ(
        (std::vector<int>{AliveEnemies(1), AliveEnemies(2), AliveEnemies(3), AliveEnemies(9)}),
        (std::vector<int>{1, 1, 0, 1}));
}

TEST_F(Enemies, ItemsComeFromTheDyingEnemyEvenWhenItsSuccessorTakesTheSlot) {
    Def(1).successor = 2;
    Def(1).explosion = 0;
    Def(1).dropCount = 5;
    Def(1).dropKinds = {3, 4, 5};
    RandMirror mirror(kSeed);
    Enemy(Spawn(1, 123, 234)).Die();
    EXPECT_EQ(Enemy(0).kind, 2);
    ASSERT_EQ(Alive(world->items.items), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(item(i).kind, 3 + mirror.Next() % 3);
        mirror.Next(), mirror.Next();  // the item's own speed and angle
        EXPECT_EQ(std::make_pair(item(i).x, item(i).y), std::make_pair(123.0, 234.0));
    }
}

class SceneScript : public EnemyTest {
protected:
    void Play(std::vector<TSceneCommand> script) {
        project->scene = std::move(script);
        Scene().Reset();
    }
    // One frame as the world runs it: the enemies, then the script.
    void Frame() {
        Pool().UpdateAll();
        Scene().Step();
    }
};

TEST_F(SceneScript, WaitThenAppearanceThenEndSpawnsInFrame62AndEndsInFrame65) {
    Play({{0, 59}, {3, 1, 0, 200}, {8}});
    int spawnFrame = 0, endFrame = 0;
    for (int f = 1; f <= 70; ++f) {
        Frame();
        if (!spawnFrame && AliveEnemies() == 1) spawnFrame = f;
        if (!endFrame && Scene().stageEnded) endFrame = f;
    }
    EXPECT_EQ(std::make_pair(spawnFrame, endFrame), std::make_pair(62, 65));
}

TEST_F(SceneScript, TwoPhaseBossHoldsThroughBothPhasesAndReleasesWhenTheLastDies) {
    Def(1).successor = 2;
    Def(5).successor = 6;
    Play({{3, 1, 2, 200, 0, 90, 1}, {0, 1000}});
    for (int f = 1; f <= 10; ++f) Frame();
    Enemy(0).Die();  // first phase
    EXPECT_EQ(Enemy(Scene().watchedSlot).kind, 2);
    Enemy(Spawn(5)).Die();  // another enemy's successor does not take the watch
    for (int f = 0; f < 8; ++f) Frame();
    EXPECT_FALSE(Scene().advancePending);
    Enemy(Scene().watchedSlot).Die();
    Frame();
    EXPECT_TRUE(Scene().advancePending);  // released in the frame the last phase died
}

TEST_F(SceneScript, WatchedEnemyLeavingTheScreenReleasesWithoutRewards) {
    Def(1).successor = 9;
    Def(1).actions = {Cmd(0, 50), Cmd(2), Cmd(15, 1000)};
    Play({{3, 1, 0, 200, 0, 0, 1}});
    Frame();
    const TEnemy& e = Enemy(Scene().watchedSlot);
    for (int frames = 1; e.IsAlive() && frames < 100; ++frames) {
        EXPECT_FALSE(Scene().advancePending);
        Frame();
    }
    EXPECT_TRUE(Scene().advancePending);  // released in the frame it left
    EXPECT_EQ(AliveEnemies(), 0);         // no successor
    EXPECT_EQ(world->scorePanel.score, 0u);
}

}  // namespace
