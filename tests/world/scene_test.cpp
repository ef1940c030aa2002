// The scene-script runner: entry timing, appearances at the edges, holding the script for a
// watched enemy, and the other commands.
#include "world_fixture.h"

namespace {

enum : int32_t { kWait, kImage, kSpeed, kAppear, kMusic, kStop, kSound, kDestroy, kEnd };
enum : int32_t { kLeft, kRight, kTop, kBottom };

class SceneScript : public EnemyTest {
protected:
    void Play(std::vector<TSceneCommand> script, int32_t start = 0) {
        project->scene = std::move(script);
        project->sceneStart = start;
        Scene().Reset();
    }
    // One frame as the world runs it (the enemies, then the script); 'between' runs after
    // the enemies, where the player's bullets would have hit them.
    void Frame(const std::function<void()>& between = {}) {
        Pool().UpdateAll();
        if (between) between();
        Scene().Step();
    }
};

TEST_F(SceneScript, WaitThenAppearanceThenEndSpawnsInFrame62AndEndsInFrame65) {
    Play({{kWait, 59}, {kAppear, 1, kLeft, 200}, {kEnd}});
    int spawnFrame = 0, endFrame = 0;
    for (int f = 1; f <= 70; ++f) {
        Frame();
        if (!spawnFrame && AliveEnemies() == 1) spawnFrame = f;
        if (!endFrame && Scene().stageEnded) endFrame = f;
    }
    EXPECT_EQ(spawnFrame, 62);
    EXPECT_EQ(endFrame, 65);
    EXPECT_EQ(Scene().entryIndex, 2);  // the script stays on the end of the stage
}

TEST_F(SceneScript, AppearanceStartsJustOutsideEachEdgeByHalfTheImage) {
    TSpriteDef& s = project->sprites[6];
    s.imageWidth = 64;
    s.imageHeight = 40;
    s.animate = 1;  // the strip's frame size does not count here
    s.frameWidth = 16;
    s.frameHeight = 10;
    Def(0).sprite = Def(1).sprite = 6;
    Def(2).sprite = 99999;  // a bad sprite has size 0
    struct {
        int32_t kind, place;
        double x, y;
    } const cases[] = {{1, kLeft, -42, 150},   {1, kRight, 458, 150}, {1, kTop, 150, -30},
                       {1, kBottom, 150, 510}, {1, 4, 0, 0},          {1, -1, 0, 0},
                       {2, kRight, 426, 150},  {0, kBottom, 150, 510}};
    for (const auto& c : cases) {
        Play({{kAppear, c.kind, c.place, 150, 25, 135, 0}});
        Scene().Step();
        ASSERT_GE(Scene().watchedSlot, 0);
        const TEnemy& e = Enemy(Scene().watchedSlot);
        EXPECT_DOUBLE_EQ(e.x, c.x) << "place " << c.place;
        EXPECT_DOUBLE_EQ(e.y, c.y) << "place " << c.place;
        EXPECT_DOUBLE_EQ(e.speed, 2.5);
        EXPECT_DOUBLE_EQ(e.angle, 135);
        Pool().KillAll();
    }
}

TEST_F(SceneScript, TwoPhaseBossHoldsThroughBothPhasesAndReleasesWhenTheLastDies) {
    Def(1).successor = 2;
    Def(5).successor = 6;
    Play({{kAppear, 1, kTop, 200, 0, 90, 1}, {kWait, 1000}});
    for (int f = 1; f <= 10; ++f) Frame();
    ASSERT_EQ(Scene().watchedSlot, 0);
    Frame([&] { Enemy(0).Die(); });  // first phase
    EXPECT_EQ(Enemy(Scene().watchedSlot).kind, 2);
    int32_t other = Spawn(5);  // another enemy's successor does not take the watch
    Frame([&] { Enemy(other).Die(); });
    for (int f = 13; f <= 20; ++f) {
        Frame();
        EXPECT_FALSE(Scene().advancePending) << "frame " << f;
    }
    Frame([&] { Enemy(Scene().watchedSlot).Die(); });  // last phase: released in this frame
    EXPECT_TRUE(Scene().advancePending);
    Frame();
    EXPECT_EQ(Scene().entryIndex, 1);
    EXPECT_EQ(Scene().waitFrames, 0);
    Frame();  // the next entry runs two frames after the release
    EXPECT_EQ(Scene().waitFrames, 1);
}

TEST_F(SceneScript, WatchedEnemyLeavingTheScreenReleasesWithoutRewards) {
    Def(1).successor = 9;
    Def(1).actions = {Cmd(op::kSetSpeed, 50), Cmd(op::kFaceLeft), Cmd(op::kMoveOn, 1000)};
    Play({{kAppear, 1, kLeft, 200, 0, 0, 1}});
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

TEST_F(SceneScript, AFailedSpawnDoesNotHold) {
    for (int32_t kind : {kEnemyCount, 300, -1, 1}) {  // outside the table, then a full pool
        if (kind == 1) {
            for (int i = 0; i < TEnemyPool::kSize; ++i) Spawn(2);
        }
        Play({{kAppear, kind, kTop, 200, 0, 0, 1}});
        Frame();
        Frame();
        EXPECT_TRUE(Scene().advancePending) << kind;
    }
}

TEST_F(SceneScript, OtherCommandsTakeEffectAndAdvanceAndUnknownOnesHold) {
    project->sprites[12].imageHeight = 960;
    Def(1).successor = 9;
    Spawn(1);
    Spawn(3, 100, 100, 0, 0, false, 0);
    std::vector<TSceneCommand> script = {{kImage, 12}, {kSpeed, 15},  {kMusic, 3},
                                         {kStop},      {kSound, 300}, {kSound, -1},
                                         {kDestroy},   {9},           {kEnd}};
    Play(script);
    Frame();
    EXPECT_EQ(world->background.period, 960);  // of the new image
    for (int f = 2; f <= 30; ++f) Frame();
    EXPECT_DOUBLE_EQ(world->background.speed, 1.5);
    // Successors spawn into slots already passed, so they survive the destruction.
    EXPECT_EQ(AliveEnemies(), 1);
    EXPECT_EQ(Enemy(0).kind, 9);
    EXPECT_EQ(Scene().entryIndex, 7);
    EXPECT_FALSE(Scene().stageEnded);
}

// The background scrolls by its speed and wraps at its image's height: on the height itself it
// stays, beyond it it starts again at 0, and below 0 it goes to the height.
TEST_F(SceneScript, TheBackgroundScrollsAndWrapsAtItsImagesHeight) {
    project->sprites[12].imageHeight = 100;
    world->background.SetSprite(12);
    std::vector<double> seen;
    for (double speed : {50.0, -25.0}) {
        world->background.speed = speed;
        for (int i = 0; i < (speed > 0 ? 3 : 5); ++i)
            world->background.Update(), seen.push_back(world->background.position);
    }
    EXPECT_EQ(seen, (std::vector<double>{50, 100, 0, 100, 75, 50, 25, 0}));
}

TEST_F(SceneScript, TheScriptStartsAtTheProjectsStartPosition) {
    Play({{kAppear, 1}}, 1);  // past the end: nothing happens
    for (int f = 0; f < 5; ++f) Frame();
    EXPECT_EQ(AliveEnemies(), 0);
    Play({{kEnd}}, -3);  // reaches entry 0 after as many frames
    for (int f = 1; f <= 3; ++f) Frame();
    EXPECT_FALSE(Scene().stageEnded);
    Frame();
    EXPECT_TRUE(Scene().stageEnded);
}

}  // namespace
