// The definitions every player ship, bullet, item and enemy of a game starts from, and the
// entries of an enemy's action list.
#pragma once

#include <cstdint>
#include <vector>

#include "base/paths.h"
#include "base/tstring.h"

// "Player.bin" is this 32-byte block. The two leading words and the padding are kept only
// so that the block reads back byte for byte; the game never looks at them.
struct TPlayerDef {
    int32_t unused0 = 32;
    int32_t unused1 = 32;
    double moveSpeed = 40.0;  // tenths of a pixel per frame
    int32_t initialLife = 10;
    int32_t initialBombs = 3;
    int32_t hitRadius = 1;  // half-width and half-height of the ship's hit box, pixels
    uint8_t invincible = 0;
    uint8_t padding[3] = {0, 0, 0};
};

struct TBulletDef {
    TString name = kUnregistered;
    int32_t sprite = 0;
    int32_t hitRadius = 1;
    int32_t imageDirection = 0;  // 0 upright, 1 along its motion, 2 toward the player
    int32_t sound = -1;          // played when fired; -1 none
};

struct TItemDef {
    TString name = kUnregistered;
    int32_t sprite = 0;
    int32_t attribute = 0;  // 0 score, 1 power, 2 life, 3 bomb; anything else does nothing
    int32_t score = 100;
};

// One entry of an enemy's action list: sixteen words, all stored whether or not the command
// uses them.
struct TActionEntry {
    int32_t command = 0;  // 0..28; higher codes do nothing
    int32_t paramA = 0;
    int32_t paramB = 0;
    int32_t extra = 0;   // what runs with the command every frame: attacks, remember, sound
    int32_t target = 0;  // attacks: 0 bullet, 1 enemy; extra 7: the sound number
    int32_t which = 0;   // bullet or enemy number fired
    int32_t shotSpeed = 0;
    int32_t shotSpeedJitter = 0;
    int32_t interval = 0;
    int32_t count = 0;
    int32_t countJitter = 0;
    int32_t spacing = 0;
    int32_t spacingJitter = 0;
    int32_t angleJitter = 0;
    int32_t angleMode = 0;
    int32_t angleValue = 0;
};

constexpr int kActionEntryWords = 16;
constexpr int kActionEntryBytes = kActionEntryWords * 4;

struct TEnemyDef {
    TString name = kUnregistered;
    int32_t sprite = 0;
    uint8_t contactHurts = 1;
    int32_t shotResponse = 0;  // 0 takes damage, 1 shots pass through, 2 immune
    int32_t score = 100;
    int32_t durability = 1;
    int32_t imageDirection = 0;
    uint8_t explosion = 1;
    int32_t successor = -1;  // enemy started where it dies; -1 none
    int32_t bombDamage = 1;
    int32_t hitWidth = -1;  // when either is -1 the hit box is half the sprite's size
    int32_t hitHeight = -1;
    std::vector<TActionEntry> actions;
    int32_t dropCount = 0;
    std::vector<int32_t> dropKinds;  // item numbers; each drop is one of them at random
    int32_t groundDistance = 0;      // draw-order key
};
