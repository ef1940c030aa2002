// The action-list interpreter: command effects, frame timing, loops and entry preparation.
#include <cmath>

#include "world_fixture.h"

namespace {

class ActionList : public EnemyTest {
protected:
    // Enemy kind 0 with the given list, started in slot 0 at (200, 100).
    TEnemy& Start(std::vector<TActionEntry> list, double speed = 0, double angle = 0) {
        Def(0).actions = std::move(list);
        EXPECT_EQ(Spawn(0, 200, 100, speed, angle), 0);
        return Enemy(0);
    }
    // A command whose attack creates nothing; attackFrames counts its execute frames.
    static TActionEntry Counted(int32_t command, int32_t a) {
        return TActionEntry{command, a, 0, op::kFan, 2, 0, 0, 0, 1 << 30};
    }
};

TEST_F(ActionList, SetSpeedFaceDownMoveOnStandsFourFramesThenMovesSixtyOneFrames) {
    TEnemy& e = Start({Cmd(op::kSetSpeed, 30), Cmd(op::kFaceDown), Cmd(op::kMoveOn, 59)});
    for (int f = 1; f <= 65; ++f) {
        double y = e.y;
        Pool().UpdateAll();
        EXPECT_NEAR(e.y - y, f <= 4 ? 0.0 : 3.0, 1e-9) << "frame " << f;
    }
    EXPECT_TRUE(e.listFinished);
    double stopped = e.y;
    EnemyFrames(50);
    EXPECT_NEAR(e.y, stopped, 1e-4);
}

TEST_F(ActionList, LoopsRunTheirBodiesAndEndOnTime) {
    auto expect = [&](std::vector<TActionEntry> list, int endFrame, int executeFrames) {
        TEnemy& e = Start(std::move(list));
        int frame = 0;
        for (; !e.listFinished && frame < 500; ++frame) Pool().UpdateAll();
        EXPECT_EQ(frame, endFrame);
        EXPECT_EQ(e.attackFrames, executeFrames);
        e.Kill();
    };
    expect({Cmd(op::kLabel, 1), Counted(op::kMoveOn, 9), Cmd(op::kReturn, 1, 2)}, 41, 30);
    // The inner loop is reloaded for each pass of the outer one.
    expect({Cmd(op::kLabel, 1), Cmd(op::kLabel, 2), Counted(op::kMoveOn, 0), Cmd(op::kReturn, 2, 1),
            Cmd(op::kReturn, 1, 1)},
           26, 4);
    // A missing label goes back to entry 0; a count of 0 never jumps.
    expect({Counted(op::kMoveOn, 0), Cmd(op::kReturn, 7, 1), Cmd(op::kReturn, 1, 0)}, 8, 2);
    // A return at entry 0 is not prepared at the start and never jumps.
    expect({Cmd(op::kReturn, 1, 2), Counted(op::kMoveOn, 0), Cmd(op::kLabel, 1)}, 6, 1);
    expect({Cmd(99, 5), Cmd(-3), Counted(op::kMoveOn, 0)}, 6, 1);  // unknown: at once
    TEnemy& e = Start({}, 3.0, 90.0);  // an empty list stands still and never finishes
    EnemyFrames(10);
    EXPECT_NEAR(e.y, 100.0, 1e-4);
    EXPECT_FALSE(e.listFinished);
}

TEST_F(ActionList, WaitStandsAndRestoresTheSavedSpeedWithoutMoving) {
    TEnemy& e = Start({Cmd(op::kSetSpeed, 20), Cmd(op::kSetAngle, 0), Cmd(op::kMoveOn, 0),
                       Cmd(op::kWait, 0), Cmd(op::kSetAngle, 0), Cmd(op::kMoveOn, 0)});
    EnemyFrames(7);  // move on, the advance onto the wait (still moving), the one wait frame
    EXPECT_NEAR(e.x, 204.0, 1e-5);
    EXPECT_DOUBLE_EQ(e.speed, 2.0);
    EnemyFrames(3);  // advance, set angle, advance: the speed is back but the enemy stands
    EXPECT_NEAR(e.x, 204.0, 1e-5);
    EnemyFrames(1);  // move on recomputes the velocity
    EXPECT_NEAR(e.x, 206.0, 1e-5);
    e.Kill();

    // A wait at entry 0 is prepared at the start: it restores the speed given at spawn.
    Start({Cmd(op::kWait, 2), Cmd(op::kMoveOn, 5)}, 5.0, 0.0);
    EnemyFrames(3);
    EXPECT_DOUBLE_EQ(e.speed, 5.0);
    EnemyFrames(2);  // advance, then the first move-on frame
    EXPECT_NEAR(e.x, 205.0, 1e-5);
}

TEST_F(ActionList, MoveToPointStopsOnThePointAndStillAppliesTheLastVelocity) {
    TEnemy& e = Start({Cmd(op::kSetSpeed, 30), Cmd(op::kMoveTo, 200, 110)});
    EnemyFrames(2);
    for (double expected : {103.0, 106.0, 109.0}) {
        Pool().UpdateAll();
        EXPECT_NEAR(e.y, expected, 1e-9);
        EXPECT_FALSE(e.advancePending);
    }
    Pool().UpdateAll();  // 1 pixel left: on the point, then one more step of 3
    EXPECT_TRUE(e.advancePending);
    EXPECT_NEAR(e.y, 113.0, 1e-9);
}

TEST_F(ActionList, MoveToRandomPointDrawsItsPointWhenItsEntryIsPrepared) {
    RandMirror mirror(kSeed);
    EXPECT_EQ(DrawsDuring([&] { Start({Cmd(op::kMoveToRandom)}); }), 2u);  // entry 0: at start
    EXPECT_EQ(Enemy(0).randomX, mirror.Next() % 417);
    EXPECT_EQ(Enemy(0).randomY, mirror.Next() % 481);
    Enemy(0).Kill();
    Start({Cmd(op::kSetSpeed, 10), Cmd(op::kMoveToRandom)});
    EXPECT_EQ(DrawsDuring([&] { EnemyFrames(2); }), 2u);  // later: when the list arrives on it
}

TEST_F(ActionList, CurveTurnsOneDegreePerFrameAtSpeedTwoForNinetyFrames) {
    TEnemy& e =
        Start({Cmd(op::kSetSpeed, 20), Cmd(op::kSetAngle, 0), Cmd(op::kCurveRight, 90, 50)});
    EnemyFrames(4);
    for (int f = 1; f <= 90; ++f) {
        EXPECT_FALSE(e.advancePending);
        Pool().UpdateAll();
        EXPECT_NEAR(e.angle, f, 1e-9);
    }
    EXPECT_TRUE(e.advancePending);
}

TEST_F(ActionList, AccelerationGrowsAfterEachExecuteFrameButNotInAdvanceFrames) {
    TEnemy& e = Start({Cmd(op::kSetSpeed, 10), Cmd(op::kFaceDown), Cmd(op::kAccelerate, 10),
                       Cmd(op::kMoveOn, 2)});
    EnemyFrames(5);  // the frame of the acceleration command already grows the speed
    EXPECT_NEAR(e.speed, 1.1, 1e-12);
    EnemyFrames(1);  // advance frame: no growth
    EXPECT_NEAR(e.speed, 1.1, 1e-12);
    for (double step : {1.1, 1.2, 1.3}) {
        double before = e.y;
        Pool().UpdateAll();
        EXPECT_NEAR(e.y - before, step, 1e-9);
        EXPECT_NEAR(e.speed, step + 0.1, 1e-12);
    }
}

// From (200, 100) standing, with the ship 60 pixels right of and 80 below the enemy.
TEST_F(ActionList, HeadingsTurnsJumpsAndFollowingEachDoTheirPart) {
    player().x = 260;
    player().y = 180;
    const double fixed[] = {180, 0, 270, 90, 225, 315, 135, 45};  // commands 2 to 9
    for (int32_t c = op::kFaceLeft; c <= 9; ++c) {
        Start({Cmd(op::kSetSpeed, 10), Cmd(c), Cmd(op::kMoveOn, 0)});
        EnemyFrames(5);
        EXPECT_DOUBLE_EQ(Enemy(0).angle, fixed[c - op::kFaceLeft]) << c;
        EXPECT_NEAR(Enemy(0).y, 100 + std::sin(fixed[c - op::kFaceLeft] * kDegToRad), 1e-4) << c;
        Enemy(0).Kill();
    }
    RandMirror mirror(kSeed);
    Start({Cmd(op::kSetSpeed, 10), Cmd(10), Cmd(op::kMoveOn, 0)});  // a random heading
    EnemyFrames(5);
    EXPECT_DOUBLE_EQ(Enemy(0).angle, mirror.Next() % 360 + 1);
    Enemy(0).Kill();
    const struct {
        const char* what;
        std::vector<TActionEntry> list;
        int frames;
        double x, y, angle, speed;
    } cases[] = {
        {"turn clockwise", {Cmd(op::kSetAngle, 100), Cmd(21, 30)}, 3, 200, 100, 130, 0},
        {"turn back", {Cmd(op::kSetAngle, 10), Cmd(20, 30)}, 3, 200, 100, 340, 0},
        {"jump", {Cmd(19, 50, 60)}, 1, 50, 60, 0, 0},
        {"follow in x", {Cmd(op::kSetSpeed, 50), Cmd(27)}, 3, 203, 100, 0, 5},
        {"follow in y", {Cmd(op::kSetSpeed, 50), Cmd(28)}, 3, 200, 104, 0, 5},
        {"curve right past 360",
         {Cmd(op::kSetSpeed, 20), Cmd(op::kSetAngle, 359), Cmd(op::kCurveRight, 90, 50)},
         6,
         202 + 2 * std::cos(kDegToRad),
         100 + 2 * std::sin(kDegToRad),
         1,
         2},
        {"curve left",
         {Cmd(op::kSetSpeed, 20), Cmd(22, 90, 50)},
         3,
         200 + 2 * std::cos(kDegToRad),
         100 - 2 * std::sin(kDegToRad),
         359,
         2},
        {"stop accelerating",
         {Cmd(op::kSetSpeed, 10), Cmd(op::kAccelerate, 10), Cmd(13), Cmd(op::kMoveOn, 9)},
         9,
         200 + 1.1 * 3,
         100,
         0,
         1.1},
    };
    for (const auto& c : cases) {
        TEnemy& e = Start(c.list);
        EnemyFrames(c.frames);
        SCOPED_TRACE(c.what);
        EXPECT_NEAR(e.x, c.x, 1e-4);
        EXPECT_NEAR(e.y, c.y, 1e-4);
        EXPECT_NEAR(e.angle, c.angle, 1e-9);
        EXPECT_NEAR(e.speed, c.speed, 1e-9);
        e.Kill();
    }
}

TEST_F(ActionList, VanishingIsNotDying) {
    Def(0).successor = 2;
    TEnemy& e = Start({Cmd(op::kVanish)});
    e.watched = true;
    Pool().UpdateAll();
    EXPECT_FALSE(e.IsAlive());
    EXPECT_FALSE(e.watched);
    EXPECT_EQ(AliveEnemies(), 0);  // no successor
}

TEST_F(ActionList, RememberedPointAndHomingSteerByThePlayer) {
    player().x = 300;
    player().y = 100;
    TActionEntry remember = Cmd(op::kSetSpeed, 10);
    remember.extra = op::kRemember;
    TEnemy& e = Start({remember, Cmd(op::kFaceRemembered), Cmd(op::kMoveOn, 0)});
    EnemyFrames(1);
    player().x = 0;  // later moves of the ship do not matter
    EnemyFrames(4);
    EXPECT_NEAR(e.angle, 90.0 + 270.0, 1e-5);  // bearing 270 from the point, i.e. right
    EXPECT_NEAR(e.vx, 1.0, 1e-6);
    e.Kill();

    player().x = 200 + 30;
    player().y = 100 + 40;
    Start({Cmd(op::kSetSpeed, 50), Cmd(op::kHome, 0)});
    EnemyFrames(3);
    EXPECT_NEAR(e.vx, 3.0, 1e-5);
    EXPECT_NEAR(e.vy, 4.0, 1e-5);
}

}  // namespace
