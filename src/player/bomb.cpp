#include "base/animation.h"
#include "player/player.h"
#include "project/project.h"
#include "sys/sys.h"
#include "world/bullet.h"
#include "world/enemy.h"
#include "world/sprite_lookup.h"

namespace {
constexpr int32_t kBombSprite = 6;
constexpr int32_t kLastLifeFrame = 160;  // a bomb acts while life runs 1..161
}  // namespace

void TBomb::Setup(TProject* theProject, TBulletPool* theBulletPool, TEnemyPool* theEnemyPool) {
    Kill();
    project = theProject;
    bulletPool = theBulletPool;
    enemyPool = theEnemyPool;
    life = 0;
    const TSpriteDef& sprite = SpriteOrEmpty(*project, kBombSprite);
    frameCount = sprite.frameCount;
    framesPerStep = sprite.framesPerStep;
    animate = sprite.animate;
    frame = 0;
    frameCounter = 0;
}

void TBomb::Start() {
    if (alive) return;
    Activate();
    frame = 0;
    frameCounter = 0;
    fade = 0;
    // life is not reset: a bomb cut short by a new game leaves the next one less time.
}

void TBomb::Update() {
    if (!alive) return;
    bulletPool->KillEnemyBullets();
    if (sys::Rand() % 2 == 0) {
        for (TEnemy& enemy : enemyPool->enemies) {
            if (!enemy.IsAlive() || !enemy.definition) continue;
            enemy.Damage(enemy.definition->bombDamage);
        }
    }
    fade += 2;
    StepAnimation(frame, frameCounter, frameCount, framesPerStep, animate);
    Move();
    if (++life > kLastLifeFrame) {
        life = 0;
        Kill();
    }
}
