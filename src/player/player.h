// The player's ship and its bomb. The ship moves in eight directions inside the play field,
// fires volleys whose width grows with its power, sets off bombs, explodes when hit, comes
// back blinking, and ends the game when no life is left.
#pragma once

#include <cstdint>

#include "world/actor.h"

class TApp;
struct TProject;
class TEffectPool;
class TBulletPool;
class TEnemyPool;

class TBomb final : public TActor {
public:
    // Off, linked, life 0, animation from sprite 6.
    void Setup(TProject* project, TBulletPool* bulletPool, TEnemyPool* enemyPool);
    // Only when not alive: on, frame and counter 0, fade 0 (life is kept).
    void Start();
    // While alive: erases enemy bullets, hurts enemies on even draws, fades in, and ends
    // after 161 frames.
    void Update() override;

    TProject* project = nullptr;
    TBulletPool* bulletPool = nullptr;
    TEnemyPool* enemyPool = nullptr;
    int32_t frame = 0;
    int32_t frameCounter = 0;
    int32_t frameCount = 0;
    int32_t framesPerStep = 0;
    bool animate = false;
    int32_t fade = 0;
    int32_t life = 0;
};

class TPlayer final : public TActor {
public:
    void Setup(TApp* app, TProject* project, TEffectPool* effectPool, TBulletPool* bulletPool,
               TEnemyPool* enemyPool);
    // Back into play at the bottom centre, standing still, power 0.
    void Reset();
    void Update() override;
    // An enemy bullet or an enemy's body touches the ship.
    void PlayerHit();

    // The steps of a play frame while the ship is in play; 'pad' is the first pad's bits.
    void Steer(int pad);
    void Shoot(int pad);
    void TriggerBomb(int pad);

    TApp* app = nullptr;
    TProject* project = nullptr;
    TEffectPool* effectPool = nullptr;
    TBulletPool* bulletPool = nullptr;
    TEnemyPool* enemyPool = nullptr;
    double shipSpeed = 0.0;
    int32_t power = 0;
    int32_t direction = 1;  // 0 tilted left (sprite 2), 1 straight (3), 2 tilted right (4)
    int32_t lives = 0;
    int32_t startLives = 0;
    int32_t bombs = 0;
    int32_t startBombs = 0;
    int32_t straightHeight = 0;
    TAnimationCursor left;
    TAnimationCursor straight;
    TAnimationCursor right;
    int32_t respawnTimer = 40;
    bool blinking = false;
    int32_t alpha = 255;
    bool gameOver = false;
    int32_t gameOverTimer = 0;
    // Test play's invincibility (author mode): hits change nothing, as with the project's
    // own invincible flag. Off unless asked for.
    bool noHits = false;
    TBomb bomb;
};

// The shot timer: one counter for the whole process, kept across frames and games.
int32_t& PlayerShotTimer();
