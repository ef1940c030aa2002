// Bullets of enemies (side 0) and of the player (side 1), in one shared pool.
#pragma once

#include <array>

#include "world/actor.h"

struct TProject;
class TPlayer;
class TEnemyPool;
class TEffectPool;
class TBulletPool;

class TBullet final : public TActor {
public:
    // Starts the bullet; a kind outside 0..255 leaves the slot free (returns false).
    bool Start(int32_t kind, int32_t side, double x, double y, double speed, double angle,
               bool aim);
    void Update() override;
    // As every actor's, and they keep the pool's count of live bullets: it changes only when
    // the flag really changes.
    void Activate() override;
    void Kill() override;

    TBulletPool* pool = nullptr;  // set by SetupAll; none for a bullet outside a pool
    TProject* project = nullptr;
    TPlayer* player = nullptr;
    TEnemyPool* enemyPool = nullptr;
    TEffectPool* effectPool = nullptr;  // held, not used
    int32_t kind = 0;
    int32_t side = 0;
    int32_t frame = 0;
    int32_t frameCounter = 0;
    int32_t frameCount = 0;
    int32_t framesPerStep = 0;
    bool animate = false;
    int32_t marginX = 0;
    int32_t marginY = 0;
    double drawnAngle = 0.0;  // the rotation it was last drawn with

private:
    // A live player's shot against every enemy slot in order; true when any was hit.
    bool HitEnemies();
    // The same scan over every slot from 'first' on.
    bool HitEnemiesFrom(int32_t first);
};

class TBulletPool {
public:
    static constexpr int kSize = 2048;

    TBulletPool() = default;
    // The bullets point back at their pool.
    TBulletPool(const TBulletPool&) = delete;
    TBulletPool& operator=(const TBulletPool&) = delete;

    void SetupAll(TProject* project, TPlayer* player, TEnemyPool* enemyPool,
                  TEffectPool* effectPool);
    void KillAll();
    void UpdateAll();
    // First free bullet; a full pool drops the shot silently. True when a bullet started.
    bool Fire(int32_t kind, int32_t side, double x, double y, double speed, double angle, bool aim);
    // Kills every enemy bullet.
    void KillEnemyBullets();
    // Bullets alive now, kept by the bullets' own Activate and Kill.
    int32_t LiveCount() const { return liveCount_; }

    std::array<TBullet, kSize> bullets;

private:
    friend class TBullet;
    int32_t liveCount_ = 0;
    TEnemyPool* enemyPool_ = nullptr;
};
