#include "world/bullet.h"

#include "base/animation.h"
#include "player/player.h"
#include "project/project.h"
#include "project/sound_entry.h"
#include "world/enemy.h"
#include "world/sprite_lookup.h"

namespace {
constexpr int32_t kEnemySide = 0;
constexpr int32_t kPlayerSide = 1;
constexpr int32_t kShotsPassThrough = 1;

// Overlaps(enemy, shot) written out with the shot's edges computed once (the same operands in
// the same order, so every comparison comes out the same): an enemy that is hit takes one
// point of damage, unless shots pass through it. True when it was hit.
inline bool Strike(TEnemy& enemy, double right, double left, double bottom, double top) {
    if (!enemy.alive) return false;
    if (!(right > enemy.x - enemy.halfWidth && left < enemy.x + enemy.halfWidth &&
          bottom > enemy.y - enemy.halfHeight && top < enemy.y + enemy.halfHeight))
        return false;
    if (enemy.definition && enemy.definition->shotResponse == kShotsPassThrough) return false;
    enemy.Damage(1);
    return true;
}

}  // namespace

bool TBullet::Start(int32_t theKind, int32_t theSide, double startX, double startY,
                    double startSpeed, double startAngle, bool aim) {
    if (theKind < 0 || theKind >= kBulletCount) return false;
    const TBulletDef& def = project->bullets[theKind];
    kind = theKind;
    side = theSide;
    halfWidth = def.hitRadius;
    halfHeight = def.hitRadius;
    x = startX;
    y = startY;
    SetSpeed(startSpeed);
    if (aim) {
        // The bearing from the player plus 90 is the heading toward it; 'startAngle' turns
        // the shot clockwise off that line, normalised once.
        SetAngle(AngleTo(player->x, player->y));
        Turn(startAngle + 90.0);
    } else {
        SetAngle(startAngle);
    }
    ApplyHeading();
    const TSpriteDef& sprite = SpriteOrEmpty(*project, def.sprite);
    frameCount = sprite.frameCount;
    framesPerStep = sprite.framesPerStep;
    animate = sprite.animate;
    frame = 0;
    frameCounter = 0;
    marginX = sprite.frameWidth;
    marginY = sprite.frameHeight;
    // A volley restarts the sound once per bullet.
    if (def.sound != -1) PlaySoundNumber(*project, def.sound);
    Activate();
    return true;
}

void TBullet::Activate() {
    if (alive) return;
    alive = true;
    if (pool) ++pool->liveCount_;
}

void TBullet::Kill() {
    if (!alive) return;
    alive = false;
    if (pool) --pool->liveCount_;
}

void TBullet::Update() {
    if (!alive) return;
    StepAnimation(frame, frameCounter, frameCount, framesPerStep, animate);
    Move();
    // The margins are a sprite's frame size as the project stores it: wide arithmetic, so
    // that a hostile size cannot overflow.
    const double mx = marginX, my = marginY;
    if (x < -mx || y < -my || x > kFieldWidth + mx || y > kFieldHeight + my) Kill();

    // A bullet removed off screen hits nothing: Overlaps needs both actors alive.
    if (side == kEnemySide) {
        // The hit does not stop an enemy bullet.
        if (player->Overlaps(*this)) player->PlayerHit();
    } else if (side == kPlayerSide) {
        if (alive && HitEnemies()) Kill();
    }
}

bool TBullet::HitEnemies() {
    // Every overlapped enemy takes the hit, including a successor that appears in a later
    // slot during this scan; only then does the shot end. This is the hottest loop of a
    // crowded frame (2048 shots x 512 slots): during the bullets' update the enemy grid
    // names the few slots near the shot, and the scan visits just those, in slot order. A
    // newcomer (or a shot that changed) makes it ask the grid again for the slots it has not
    // passed yet.
    const TEnemyGrid& grid = enemyPool->grid;
    int32_t slots[TEnemyGrid::kMaxCandidates];
    int32_t passed = -1;
    bool hit = false;
    for (;;) {
        const double right = x + halfWidth, left = x - halfWidth;
        const double bottom = y + halfHeight, top = y - halfHeight;
        const uint32_t additions = grid.Additions();
        const int count =
            grid.Active() ? grid.Candidates(left, right, top, bottom, passed, slots) : -1;
        if (count < 0) {
            const bool more = HitEnemiesFrom(passed + 1);
            return hit || more;
        }
        bool askAgain = false;
        for (int i = 0; i < count && !askAgain; ++i) {
            passed = slots[i];
            if (!Strike(enemyPool->enemies[slots[i]], right, left, bottom, top)) continue;
            hit = true;
            if (!alive) return hit;
            askAgain = grid.Additions() != additions || right != x + halfWidth ||
                       left != x - halfWidth || bottom != y + halfHeight || top != y - halfHeight;
        }
        if (!askAgain) return hit;
    }
}

bool TBullet::HitEnemiesFrom(int32_t first) {
    // Writes out Overlaps(enemy, *this) with this shot's edges computed once: the same
    // operands in the same order, so every comparison comes out exactly the same.
    double right = x + halfWidth, left = x - halfWidth;
    double bottom = y + halfHeight, top = y - halfHeight;
    bool hit = false;
    for (int32_t slot = first; slot < TEnemyPool::kSize; ++slot) {
        if (!Strike(enemyPool->enemies[slot], right, left, bottom, top)) continue;
        hit = true;
        // A shot that is no longer alive overlaps nothing; one that is takes its edges anew.
        if (!alive) break;
        right = x + halfWidth, left = x - halfWidth;
        bottom = y + halfHeight, top = y - halfHeight;
    }
    return hit;
}

void TBulletPool::SetupAll(TProject* project, TPlayer* player, TEnemyPool* enemyPool,
                           TEffectPool* effectPool) {
    for (TBullet& b : bullets) {
        b.pool = this;
        b.project = project;
        b.player = player;
        b.enemyPool = enemyPool;
        b.effectPool = effectPool;
        b.Kill();
    }
    // A bullet activated before it knew its pool was never counted.
    liveCount_ = 0;
    enemyPool_ = enemyPool;
}

void TBulletPool::KillAll() {
    for (TBullet& b : bullets) b.Kill();
}

void TBulletPool::UpdateAll() {
    // The enemies stand still until their own update, after this one.
    if (enemyPool_) enemyPool_->grid.Build(enemyPool_->enemies.data(), TEnemyPool::kSize);
    for (TBullet& b : bullets) b.Update();
    if (enemyPool_) enemyPool_->grid.Clear();
}

bool TBulletPool::Fire(int32_t kind, int32_t side, double x, double y, double speed, double angle,
                       bool aim) {
    // A full pool has no free slot to find: in a crowded frame most shots end here, instead
    // of each one looking at all 2048 slots.
    if (liveCount_ >= kSize) return false;
    for (TBullet& b : bullets) {
        if (b.IsAlive()) continue;
        return b.Start(kind, side, x, y, speed, angle, aim);
    }
    return false;
}

void TBulletPool::KillEnemyBullets() {
    for (TBullet& b : bullets)
        if (b.side == kEnemySide) b.Kill();
}
