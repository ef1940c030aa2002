// The action-list interpreter: command effects, frame timing, loops and entry preparation.
#include <cmath>

#include "enemy_fixture.h"

namespace {

class ActionList : public EnemyWorldTest {
protected:
    // Enemy kind 0 with the given list, started at (200, 100) standing still.
    int32_t Start(std::vector<TActionEntry> list, double speed = 0, double angle = 0) {
        Def(0).actions = std::move(list);
        int32_t slot = Spawn(0, 200, 100, speed, angle);
        EXPECT_EQ(slot, 0);
        return slot;
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) Pool().UpdateAll();
    }
    // An attack that creates nothing but lets attackFrames count the execute frames.
    static TActionEntry Counted(TActionEntry e) {
        e.extra = op::kFan;
        e.target = 2;
        e.interval = 1 << 30;
        return e;
    }
};

TEST_F(ActionList, SetSpeedFaceDownMoveOnStandsFourFramesThenMovesSixtyOneFrames) {
    Start({Cmd(op::kSetSpeed, 30), Cmd(op::kFaceDown), Cmd(op::kMoveOn, 59)});
    TEnemy& e = Enemy(0);
    for (int f = 1; f <= 4; ++f) {
        Pool().UpdateAll();
        EXPECT_NEAR(e.y, 100.0, 1e-9) << "frame " << f;
        EXPECT_NEAR(e.x, 200.0, 1e-5) << "frame " << f;
    }
    for (int f = 5; f <= 65; ++f) {
        double before = e.y;
        Pool().UpdateAll();
        EXPECT_NEAR(e.y - before, 3.0, 1e-9) << "frame " << f;
    }
    EXPECT_TRUE(e.listFinished);
    double stopped = e.y;
    Frames(50);
    EXPECT_NEAR(e.y, stopped, 1e-4);
    EXPECT_DOUBLE_EQ(e.speed, kStopSpeed);
}

TEST_F(ActionList, LoopRunsItsBodyRepeatPlusOneTimesAndEndsInFrame41) {
    Start({Cmd(op::kLabel, 1), Counted(Cmd(op::kMoveOn, 9)), Cmd(op::kReturn, 1, 2)});
    TEnemy& e = Enemy(0);
    Frames(40);
    EXPECT_FALSE(e.listFinished);
    Frames(1);
    EXPECT_TRUE(e.listFinished);
    EXPECT_EQ(e.attackFrames, 30);
    // The record is reloaded when the list passes on.
    ASSERT_NE(e.LoopRecord(2), nullptr);
    EXPECT_EQ(e.LoopRecord(2)->remaining, 2);
}

TEST_F(ActionList, InnerLoopIsReloadedForTheNextPassOfTheOuterLoop) {
    Start({Cmd(op::kLabel, 1), Cmd(op::kLabel, 2), Counted(Cmd(op::kMoveOn, 0)),
           Cmd(op::kReturn, 2, 1), Cmd(op::kReturn, 1, 1)});
    Frames(200);
    EXPECT_TRUE(Enemy(0).listFinished);
    EXPECT_EQ(Enemy(0).attackFrames, 4);
}

TEST_F(ActionList, MissingLabelGoesBackToEntryZeroAndCountZeroNeverJumps) {
    Start({Counted(Cmd(op::kMoveOn, 0)), Cmd(op::kReturn, 7, 1), Cmd(op::kReturn, 1, 0)});
    EXPECT_EQ(Enemy(0).LabelIndex(7), 0);
    Frames(100);
    EXPECT_TRUE(Enemy(0).listFinished);
    EXPECT_EQ(Enemy(0).attackFrames, 2);
}

TEST_F(ActionList, LoopRecordsAreOnePerReturnEntryInListOrder) {
    Start({Cmd(op::kReturn, 1, 3), Cmd(op::kLabel, 1), Cmd(op::kReturn, 2, -4)});
    const TEnemy& e = Enemy(0);
    ASSERT_EQ(e.loopRecords.size(), 2u);
    EXPECT_EQ(e.loopRecords[0].index, 0);
    EXPECT_EQ(e.loopRecords[0].remaining, 3);
    EXPECT_EQ(e.loopRecords[1].index, 2);
    EXPECT_EQ(e.loopRecords[1].initial, -4);
    EXPECT_EQ(Enemy(0).LoopRecord(1), nullptr);
    EXPECT_EQ(e.LabelIndex(1), 1);
}

TEST_F(ActionList, ReturnAtEntryZeroIsNotPreparedAtStartAndNeverJumps) {
    Start({Cmd(op::kReturn, 1, 2), Counted(Cmd(op::kMoveOn, 0)), Cmd(op::kLabel, 1)});
    EXPECT_EQ(Enemy(0).commandIndex, 0);
    EXPECT_EQ(Enemy(0).loopRecords[0].remaining, 2);
    Frames(100);
    EXPECT_TRUE(Enemy(0).listFinished);
    EXPECT_EQ(Enemy(0).attackFrames, 1);
    EXPECT_EQ(Enemy(0).loopRecords[0].remaining, 2);
}

TEST_F(ActionList, WaitOfZeroStandsOneFrameAndRestoresTheSpeedWithoutMoving) {
    Start({Cmd(op::kSetSpeed, 20), Cmd(op::kSetAngle, 0), Cmd(op::kMoveOn, 0), Cmd(op::kWait, 0),
           Cmd(op::kSetAngle, 0), Cmd(op::kMoveOn, 0)});
    TEnemy& e = Enemy(0);
    Frames(5);  // the move-on frame
    EXPECT_NEAR(e.x, 202.0, 1e-5);
    Frames(1);  // advance onto the wait: still moving, the speed is saved
    EXPECT_NEAR(e.x, 204.0, 1e-5);
    EXPECT_DOUBLE_EQ(e.savedSpeed, 2.0);
    Frames(1);  // the one wait frame
    EXPECT_NEAR(e.x, 204.0, 1e-5);
    EXPECT_EQ(e.commandFrames, 1);
    EXPECT_DOUBLE_EQ(e.speed, 2.0);
    Frames(3);  // advance, set angle, advance: the speed is back but the enemy stands
    EXPECT_NEAR(e.x, 204.0, 1e-5);
    Frames(1);  // move on recomputes the velocity
    EXPECT_NEAR(e.x, 206.0, 1e-5);
}

TEST_F(ActionList, WaitAtEntryZeroRestoresTheSpeedGivenAtSpawn) {
    Start({Cmd(op::kWait, 2), Cmd(op::kMoveOn, 5)}, 5.0, 0.0);
    TEnemy& e = Enemy(0);
    EXPECT_DOUBLE_EQ(e.savedSpeed, 5.0);
    Frames(3);
    EXPECT_TRUE(e.advancePending);
    EXPECT_DOUBLE_EQ(e.speed, 5.0);
    Frames(2);  // advance, then the first move-on frame
    EXPECT_NEAR(e.x, 205.0, 1e-5);
}

TEST_F(ActionList, MoveToPointStopsOnThePointAndStillAppliesTheLastVelocity) {
    Start({Cmd(op::kSetSpeed, 30), Cmd(op::kMoveTo, 200, 110)});
    TEnemy& e = Enemy(0);
    Frames(2);
    for (double expected : {103.0, 106.0, 109.0}) {
        Pool().UpdateAll();
        EXPECT_NEAR(e.y, expected, 1e-9);
        EXPECT_FALSE(e.advancePending);
    }
    Pool().UpdateAll();  // 1 pixel left: on the point, then one more step of 3
    EXPECT_TRUE(e.advancePending);
    EXPECT_NEAR(e.y, 113.0, 1e-9);
    EXPECT_NEAR(e.x, 200.0, 1e-5);
}

TEST_F(ActionList, MoveToRandomPointAtEntryZeroDrawsItsPointAtStart) {
    Def(0).actions = {Cmd(op::kMoveToRandom)};
    RandMirror mirror(kSeed);
    uint64_t draws = DrawsDuring([&] { Spawn(0); });
    EXPECT_EQ(draws, 2u);
    EXPECT_EQ(Enemy(0).randomX, mirror.Next() % 417);
    EXPECT_EQ(Enemy(0).randomY, mirror.Next() % 481);
}

TEST_F(ActionList, MoveToRandomPointDrawsWhenTheListArrivesOnIt) {
    Start({Cmd(op::kSetSpeed, 100000), Cmd(op::kMoveToRandom)});
    RandMirror mirror(kSeed);
    EXPECT_EQ(DrawsDuring([&] { Frames(1); }), 0u);
    EXPECT_EQ(DrawsDuring([&] { Frames(1); }), 2u);
    double tx = mirror.Next() % 417, ty = mirror.Next() % 481;
    Frames(1);  // speed 10000 reaches any point of the field at once
    EXPECT_TRUE(Enemy(0).advancePending);
    EXPECT_NEAR(Enemy(0).x - Enemy(0).vx, tx, 1e-9);
    EXPECT_NEAR(Enemy(0).y - Enemy(0).vy, ty, 1e-9);
}

TEST_F(ActionList, CurveClockwiseTurnsOneDegreePerFrameAndEndsAfterNinetyFrames) {
    Start({Cmd(op::kSetSpeed, 20), Cmd(op::kSetAngle, 0), Cmd(op::kCurveRight, 90, 50)});
    TEnemy& e = Enemy(0);
    Frames(4);
    for (int f = 1; f <= 90; ++f) {
        EXPECT_FALSE(e.advancePending);
        Pool().UpdateAll();
        EXPECT_NEAR(e.angle, f, 1e-9);
        EXPECT_EQ(e.turnFrames, f == 90 ? 0 : f);
    }
    EXPECT_TRUE(e.advancePending);
}

TEST_F(ActionList, CurveCounterclockwiseWrapsBelowZero) {
    Start({Cmd(op::kSetSpeed, 20), Cmd(op::kSetAngle, 0), Cmd(op::kCurveLeft, 2, 50)});
    Frames(5);
    EXPECT_NEAR(Enemy(0).angle, 359.0, 1e-9);
    Frames(1);
    EXPECT_NEAR(Enemy(0).angle, 358.0, 1e-9);
    EXPECT_TRUE(Enemy(0).advancePending);
}

TEST_F(ActionList, AccelerationGrowsAfterEachExecuteFrameAndNotInAdvanceFrames) {
    Start({Cmd(op::kSetSpeed, 10), Cmd(op::kFaceDown), Cmd(op::kAccelerate, 10),
           Cmd(op::kMoveOn, 2)});
    TEnemy& e = Enemy(0);
    Frames(5);  // the frame of the acceleration command already grows the speed
    EXPECT_TRUE(e.accelerating);
    EXPECT_NEAR(e.speed, 1.1, 1e-12);
    Frames(1);  // advance frame: no growth
    EXPECT_NEAR(e.speed, 1.1, 1e-12);
    for (double step : {1.1, 1.2, 1.3}) {
        double before = e.y;
        Pool().UpdateAll();
        EXPECT_NEAR(e.y - before, step, 1e-9);
        EXPECT_NEAR(e.speed, step + 0.1, 1e-12);
    }
    Frames(1);
    EXPECT_TRUE(e.listFinished);
}

TEST_F(ActionList, FinishedListStandsStillDespiteAcceleration) {
    Start({Cmd(op::kSetSpeed, 10), Cmd(op::kAccelerate, 50), Cmd(op::kMoveOn, 0)});
    Frames(7);
    TEnemy& e = Enemy(0);
    ASSERT_TRUE(e.listFinished);
    double x = e.x;
    Frames(10);
    EXPECT_DOUBLE_EQ(e.speed, kStopSpeed);
    EXPECT_NEAR(e.x, x, 1e-4);
}

TEST_F(ActionList, EmptyListStandsStill) {
    Start({}, 3.0, 90.0);
    Frames(10);
    EXPECT_NEAR(Enemy(0).y, 100.0, 1e-4);
    EXPECT_FALSE(Enemy(0).listFinished);
}

TEST_F(ActionList, FixedHeadingsAndTurns) {
    const double headings[] = {180, 0, 270, 90, 225, 315, 135, 45};
    for (int c = 2; c <= 9; ++c) {
        Def(0).actions = {Cmd(c)};
        int32_t slot = Spawn(0);
        Enemy(slot).Update();
        EXPECT_DOUBLE_EQ(Enemy(slot).angle, headings[c - 2]) << "command " << c;
        Enemy(slot).Kill();
    }
    Start({Cmd(op::kSetAngle, 355), Cmd(op::kTurnRight, 10), Cmd(op::kTurnLeft, 20)});
    Frames(3);
    EXPECT_DOUBLE_EQ(Enemy(0).angle, 5.0);
    Frames(2);
    EXPECT_DOUBLE_EQ(Enemy(0).angle, 345.0);
}

TEST_F(ActionList, RandomHeadingIsOneTo360) {
    Start({Cmd(op::kFaceRandom)});
    RandMirror mirror(kSeed);
    EXPECT_EQ(DrawsDuring([&] { Frames(1); }), 1u);
    EXPECT_DOUBLE_EQ(Enemy(0).angle, mirror.Next() % 360 + 1);
}

TEST_F(ActionList, JumpAndVanish) {
    Def(1).successor = 2;
    Def(1).actions = {Cmd(op::kJump, 50, 60), Cmd(op::kVanish)};
    int32_t slot = Spawn(1, 200, 100, 0, 0, true);
    Pool().UpdateAll();
    EXPECT_NEAR(Enemy(slot).x, 50.0, 1e-5);
    EXPECT_NEAR(Enemy(slot).y, 60.0, 1e-5);
    Pool().UpdateAll();
    Pool().UpdateAll();
    EXPECT_FALSE(Enemy(slot).IsAlive());
    EXPECT_FALSE(Enemy(slot).watched);
    EXPECT_EQ(AliveCount(), 0);  // no successor: vanishing is not dying
}

TEST_F(ActionList, RememberThePlayerAndFaceTheRememberedPoint) {
    world->player.x = 300;
    world->player.y = 100;
    TActionEntry remember = Cmd(op::kSetSpeed, 10);
    remember.extra = op::kRemember;
    Start({remember, Cmd(op::kFaceRemembered), Cmd(op::kMoveOn, 0)});
    Frames(1);
    EXPECT_DOUBLE_EQ(Enemy(0).rememberedX, 300.0);
    EXPECT_DOUBLE_EQ(Enemy(0).rememberedY, 100.0);
    world->player.x = 0;  // later moves of the ship do not matter
    Frames(4);
    EXPECT_NEAR(Enemy(0).angle, 90.0 + 270.0, 1e-5);  // bearing 270 from the point, i.e. right
    EXPECT_NEAR(Enemy(0).vx, 1.0, 1e-6);
}

TEST_F(ActionList, HomingAndFollowingSteerTowardThePlayer) {
    world->player.x = 200 + 30;
    world->player.y = 100 + 40;
    Start({Cmd(op::kSetSpeed, 50), Cmd(op::kHome, 0)});
    Frames(3);
    EXPECT_NEAR(Enemy(0).vx, 3.0, 1e-5);
    EXPECT_NEAR(Enemy(0).vy, 4.0, 1e-5);
    Enemy(0).Kill();

    world->player.x = 200 + 40;
    world->player.y = 100 + 30;
    Start({Cmd(op::kSetSpeed, 50), Cmd(op::kFollowX, 0)}, 0, 0);
    Frames(2);
    Enemy(0).vy = 0.25;
    Frames(1);
    EXPECT_NEAR(Enemy(0).vx, 4.0, 1e-5);
    EXPECT_DOUBLE_EQ(Enemy(0).vy, 0.25);  // the other axis keeps its value
    Enemy(0).Kill();

    Start({Cmd(op::kSetSpeed, 50), Cmd(op::kFollowY, 0)}, 0, 0);
    double vx = Enemy(0).vx;
    Frames(3);
    EXPECT_NEAR(Enemy(0).vy, 3.0, 1e-5);
    EXPECT_DOUBLE_EQ(Enemy(0).vx, vx);
}

TEST_F(ActionList, TimedCommandsLastAPlusOneFrames) {
    for (int32_t c : {op::kWait, op::kMoveOn, op::kHome, op::kFollowX, op::kFollowY}) {
        Def(0).actions = {Cmd(c, 6)};
        int32_t slot = Spawn(0);
        for (int f = 1; f <= 7; ++f) {
            EXPECT_FALSE(Enemy(slot).advancePending) << "command " << c << " frame " << f;
            Enemy(slot).Update();
        }
        EXPECT_TRUE(Enemy(slot).advancePending) << "command " << c;
        Enemy(slot).Kill();
    }
}

TEST_F(ActionList, UnknownCommandFinishesAtOnce) {
    Start({Cmd(99, 5), Cmd(-3), Counted(Cmd(op::kMoveOn, 0))});
    Frames(5);
    EXPECT_EQ(Enemy(0).attackFrames, 1);
    Frames(1);
    EXPECT_TRUE(Enemy(0).listFinished);
}

TEST_F(ActionList, AdvanceFramesCountNoVolleyAndTheCountCarriesToTheNextEntry) {
    TActionEntry fan = Cmd(op::kSetAngle, 0);
    fan.extra = op::kFan;
    fan.target = 2;  // creates nothing, but a volley still draws its numbers
    fan.interval = 2;
    Start({fan, fan, fan});
    EXPECT_EQ(DrawsDuring([&] { Frames(1); }), 0u);
    EXPECT_EQ(Enemy(0).attackFrames, 1);
    EXPECT_EQ(DrawsDuring([&] { Frames(1); }), 0u);  // advance
    EXPECT_EQ(Enemy(0).attackFrames, 1);
    Frames(2);
    EXPECT_EQ(Enemy(0).attackFrames, 2);
    // The third execute frame fires, although it belongs to a third entry.
    EXPECT_EQ(DrawsDuring([&] { Frames(1); }), 4u);
    EXPECT_EQ(Enemy(0).attackFrames, 0);
}

}  // namespace
