// The codes stored in action-list entries and scene commands, shared by the game and the
// tools that read and write project files.
#pragma once

#include <cstdint>

// Word 0 of an action-list entry.
enum TActionCommand : int32_t {
    kSetSpeed = 0,
    kSetAngle = 1,
    kFaceLeft = 2,  // 2..9: fixed headings
    kFaceRight = 3,
    kFaceUp = 4,
    kFaceDown = 5,
    kFaceUpLeft = 6,
    kFaceUpRight = 7,
    kFaceDownLeft = 8,
    kFaceDownRight = 9,
    kFaceRandom = 10,
    kFaceRemembered = 11,
    kStartAccelerating = 12,
    kStopAccelerating = 13,
    kWait = 14,
    kMoveOn = 15,
    kHomeOnPlayer = 16,
    kMoveToPoint = 17,
    kMoveToRandomPoint = 18,
    kJumpToPoint = 19,
    kTurnCounterclockwise = 20,
    kTurnClockwise = 21,
    kCurveCounterclockwise = 22,
    kCurveClockwise = 23,
    kVanish = 24,
    kLabel = 25,
    kReturnToLabel = 26,
    kFollowPlayerX = 27,
    kFollowPlayerY = 28,
    kLastActionCommand = 28,  // higher codes do nothing
};

// Word 3 of an action-list entry: what runs with the command in every executed frame.
enum TActionExtra : int32_t {
    kExtraNone = 0,
    kRememberPlayer = 1,
    kFan = 2,
    kRandomSpread = 3,
    kRing = 4,
    kSpiral = 5,
    kDoubleRing = 6,
    kPlaySound = 7,
};

// Word 0 of a scene command.
enum TSceneCode : int32_t {
    kSceneWait = 0,
    kBackgroundImage = 1,
    kBackgroundSpeed = 2,
    kEnemyAppearance = 3,
    kMusic = 4,
    kStopSounds = 5,
    kScenePlaySound = 6,
    kDestroyEnemies = 7,
    kEndOfStage = 8,
};

// Where an enemy appearance starts.
enum TEdge : int32_t { kLeftEdge = 0, kRightEdge = 1, kTopEdge = 2, kBottomEdge = 3 };
