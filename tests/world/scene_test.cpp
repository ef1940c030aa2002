// The scene-script runner: entry timing, appearances at the edges, holding the script for a
// watched enemy, and the other commands.
#include <functional>

#include "enemy_fixture.h"

namespace {

TSceneCommand Entry(int32_t command, int32_t p1 = 0, int32_t p2 = 0, int32_t p3 = 0, int32_t p4 = 0,
                    int32_t p5 = 0, int32_t p6 = 0) {
    return TSceneCommand{command, p1, p2, p3, p4, p5, p6};
}

enum : int32_t {
    kWait = 0,
    kImage = 1,
    kSpeed = 2,
    kAppear = 3,
    kMusic = 4,
    kStop = 5,
    kSound = 6,
    kDestroy = 7,
    kEnd = 8
};
enum : int32_t { kLeft = 0, kRight = 1, kTop = 2, kBottom = 3 };

class SceneScript : public EnemyWorldTest {
protected:
    void Play(std::vector<TSceneCommand> script, int32_t start = 0) {
        project->scene = std::move(script);
        project->sceneStart = start;
        world->scene.Reset();
    }
    // One frame as the world runs it (the enemies, then the script); 'between' runs after
    // the enemies, where the player's bullets would have hit them.
    void Frame(const std::function<void()>& between = {}) {
        Pool().UpdateAll();
        if (between) between();
        world->scene.Step();
    }
    TScene& S() { return world->scene; }
};

TEST_F(SceneScript, WaitThenAppearanceThenEndSpawnsInFrame62AndEndsInFrame65) {
    Play({Entry(kWait, 59), Entry(kAppear, 1, kLeft, 200), Entry(kEnd)});
    int spawnFrame = 0, endFrame = 0;
    for (int f = 1; f <= 70; ++f) {
        Frame();
        if (!spawnFrame && AliveCount() == 1) spawnFrame = f;
        if (!endFrame && S().stageEnded) endFrame = f;
    }
    EXPECT_EQ(spawnFrame, 62);
    EXPECT_EQ(endFrame, 65);
    EXPECT_EQ(S().entryIndex, 2);  // the script stays on the end of the stage
}

TEST_F(SceneScript, AppearanceStartsJustOutsideEachEdgeByHalfTheImage) {
    TSpriteDef& s = project->sprites[6];
    s.imageWidth = 64;
    s.imageHeight = 40;
    s.animate = 1;  // the strip's frame size does not count here
    s.frameWidth = 16;
    s.frameHeight = 10;
    Def(1).sprite = 6;
    struct {
        int32_t place;
        double x, y;
    } const cases[] = {{kLeft, -42, 150},   {kRight, 458, 150}, {kTop, 150, -30},
                       {kBottom, 150, 510}, {4, 0, 0},          {-1, 0, 0}};
    for (const auto& c : cases) {
        Play({Entry(kAppear, 1, c.place, 150, 25, 135, 0)});
        S().Step();
        int32_t slot = S().watchedSlot;
        ASSERT_GE(slot, 0);
        EXPECT_DOUBLE_EQ(Enemy(slot).x, c.x) << "place " << c.place;
        EXPECT_DOUBLE_EQ(Enemy(slot).y, c.y) << "place " << c.place;
        EXPECT_DOUBLE_EQ(Enemy(slot).speed, 2.5);
        EXPECT_DOUBLE_EQ(Enemy(slot).angle, 135);
        EXPECT_FALSE(Enemy(slot).watched);
        EXPECT_EQ(Enemy(slot).parentSlot, -1);
        Enemy(slot).Kill();
    }
}

TEST_F(SceneScript, AppearanceOfAnEnemyWithABadSpriteUsesSizeZero) {
    Def(1).sprite = 99999;
    Play({Entry(kAppear, 1, kRight, 100)});
    S().Step();
    ASSERT_EQ(S().watchedSlot, 0);
    EXPECT_DOUBLE_EQ(Enemy(0).x, 426);
}

TEST_F(SceneScript, AppearanceWithoutWaitTakesThreeFrames) {
    Play({Entry(kAppear, 1, kTop, 100), Entry(kWait, 1000)});
    Frame();
    EXPECT_TRUE(S().spawned);
    EXPECT_FALSE(S().advancePending);
    Frame();
    EXPECT_FALSE(S().spawned);
    EXPECT_TRUE(S().advancePending);
    Frame();
    EXPECT_EQ(S().entryIndex, 1);
    EXPECT_EQ(AliveCount(), 1);
}

TEST_F(SceneScript, TwoPhaseBossHoldsThroughBothPhasesAndReleasesWhenTheLastDies) {
    Def(1).successor = 2;
    Play({Entry(kAppear, 1, kTop, 200, 0, 90, 1), Entry(kWait, 1000)});
    Frame();
    ASSERT_EQ(S().watchedSlot, 0);
    for (int f = 2; f <= 10; ++f) Frame();
    EXPECT_FALSE(S().advancePending);
    Frame([&] { Enemy(S().watchedSlot).Die(); });  // first phase
    EXPECT_EQ(Enemy(S().watchedSlot).kind, 2);
    EXPECT_TRUE(Enemy(S().watchedSlot).watched);
    for (int f = 12; f <= 20; ++f) {
        Frame();
        EXPECT_FALSE(S().advancePending) << "frame " << f;
        EXPECT_EQ(S().entryIndex, 0);
    }
    Frame([&] { Enemy(S().watchedSlot).Die(); });  // last phase: released in this frame
    EXPECT_TRUE(S().advancePending);
    EXPECT_EQ(S().entryIndex, 0);
    Frame();
    EXPECT_EQ(S().entryIndex, 1);
    EXPECT_EQ(S().waitFrames, 0);
    Frame();  // the next entry runs two frames after the release
    EXPECT_EQ(S().waitFrames, 1);
}

TEST_F(SceneScript, AnotherEnemysSuccessorDoesNotTakeOverTheWatch) {
    Def(2).successor = 3;
    Play({Entry(kAppear, 1, kTop, 200, 0, 90, 1)});
    Frame();
    int32_t boss = S().watchedSlot;
    int32_t other = Spawn(2);
    Frame([&] { Enemy(other).Die(); });
    EXPECT_EQ(S().watchedSlot, boss);
    EXPECT_FALSE(S().advancePending);
    Frame([&] { Enemy(boss).Die(); });
    EXPECT_TRUE(S().advancePending);
}

TEST_F(SceneScript, WatchedEnemyLeavingTheScreenReleasesWithoutRewards) {
    Def(1).successor = 9;
    Def(1).actions = {Cmd(op::kSetSpeed, 50), Cmd(op::kFaceLeft), Cmd(op::kMoveOn, 1000)};
    Play({Entry(kAppear, 1, kLeft, 200, 0, 0, 1)});
    Frame();
    int32_t slot = S().watchedSlot;
    int frames = 1;
    while (Enemy(slot).IsAlive() && frames < 100) {
        EXPECT_FALSE(S().advancePending);
        Frame();
        ++frames;
    }
    EXPECT_FALSE(Enemy(slot).IsAlive());
    EXPECT_LT(Enemy(slot).x, -80);
    EXPECT_TRUE(S().advancePending);  // released in the frame it left
    EXPECT_EQ(AliveCount(), 0);       // no successor
    EXPECT_EQ(world->scorePanel.score, 0u);
}

TEST_F(SceneScript, AFailedSpawnDoesNotHold) {
    Play({Entry(kAppear, 300, kTop, 200, 0, 0, 1)});
    Frame();
    EXPECT_EQ(S().watchedSlot, -1);
    Frame();
    EXPECT_TRUE(S().advancePending);

    for (int i = 0; i < TEnemyPool::kSize; ++i) Spawn(2);
    Play({Entry(kAppear, 1, kTop, 200, 0, 0, 1)});
    Frame();
    EXPECT_EQ(S().watchedSlot, -1);
    Frame();
    EXPECT_TRUE(S().advancePending);
}

TEST_F(SceneScript, WaitLastsP1PlusOneFramesThenAdvances) {
    Play({Entry(kWait, 3), Entry(kEnd)});
    for (int f = 1; f <= 3; ++f) {
        Frame();
        EXPECT_FALSE(S().advancePending);
    }
    Frame();
    EXPECT_TRUE(S().advancePending);
    Frame();
    EXPECT_EQ(S().entryIndex, 1);
    EXPECT_FALSE(S().stageEnded);
    Frame();
    EXPECT_TRUE(S().stageEnded);
}

TEST_F(SceneScript, BackgroundCommandsTakeEffectAndAdvance) {
    project->sprites[12].imageHeight = 960;
    Play({Entry(kImage, 12), Entry(kSpeed, 15), Entry(kImage, 5000)});
    Frame();
    EXPECT_EQ(world->background.sprite, 12);
    EXPECT_EQ(world->background.period, 960);
    Frame();
    Frame();
    EXPECT_DOUBLE_EQ(world->background.speed, 1.5);
    Frame();
    Frame();
    EXPECT_EQ(world->background.sprite, 5000);
    EXPECT_EQ(world->background.period, 960);
}

TEST_F(SceneScript, SoundCommandsAdvanceEvenForNumbersOutsideTheTable) {
    Play({Entry(kMusic, 3), Entry(kStop), Entry(kSound, 300), Entry(kSound, -1), Entry(kEnd)});
    for (int f = 0; f < 8; ++f) Frame();
    EXPECT_FALSE(S().stageEnded);
    Frame();
    EXPECT_TRUE(S().stageEnded);
}

TEST_F(SceneScript, DestroyAllKillsEveryEnemyWithItsRewards) {
    Def(1).successor = 9;
    Def(9).successor = -1;
    Spawn(1);
    Spawn(2);
    Spawn(3, 100, 100, 0, 0, false, 0);
    Play({Entry(kDestroy), Entry(kEnd)});
    Frame();
    EXPECT_TRUE(S().advancePending);
    // Successors spawn into slots already passed, so they survive the command.
    EXPECT_EQ(AliveCount(), 1);
    EXPECT_EQ(Enemy(0).kind, 9);
}

TEST_F(SceneScript, UnknownCommandHoldsTheScript) {
    Play({Entry(9), Entry(kEnd)});
    for (int f = 0; f < 10; ++f) Frame();
    EXPECT_EQ(S().entryIndex, 0);
    EXPECT_FALSE(S().advancePending);
    EXPECT_FALSE(S().stageEnded);
}

TEST_F(SceneScript, EmptyScriptAndThePastEndDoNothing) {
    Play({});
    for (int f = 0; f < 5; ++f) Frame();
    EXPECT_FALSE(S().stageEnded);
    EXPECT_EQ(AliveCount(), 0);

    Play({Entry(kAppear, 1)}, 1);  // starts past the end
    for (int f = 0; f < 5; ++f) Frame();
    EXPECT_EQ(AliveCount(), 0);
    EXPECT_EQ(S().entryIndex, 6);
}

TEST_F(SceneScript, ResetStartsAtTheProjectsStartPosition) {
    Play({Entry(kWait, 1000), Entry(kEnd)}, 1);
    S().stageEnded = true;
    S().spawned = true;
    S().waitFrames = 9;
    S().Reset();
    EXPECT_EQ(S().entryIndex, 1);
    EXPECT_FALSE(S().stageEnded);
    EXPECT_FALSE(S().spawned);
    EXPECT_EQ(S().waitFrames, 0);
    Frame();
    EXPECT_TRUE(S().stageEnded);
}

TEST_F(SceneScript, NegativeStartReachesEntryZeroAfterAsManyFrames) {
    Play({Entry(kEnd)}, -3);
    Frame();
    Frame();
    EXPECT_EQ(S().entryIndex, -1);
    Frame();
    EXPECT_EQ(S().entryIndex, 0);
    EXPECT_FALSE(S().stageEnded);
    Frame();
    EXPECT_TRUE(S().stageEnded);
}

}  // namespace
