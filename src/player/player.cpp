// Placeholder bodies until the ship lands.
#include "player/player.h"

int32_t& PlayerShotTimer() {
    static int32_t timer = 0;
    return timer;
}
void TPlayer::Setup(TApp* a, TProject* p, TEffectPool* e, TBulletPool* b, TEnemyPool* en) {
    app = a;
    project = p;
    effectPool = e;
    bulletPool = b;
    enemyPool = en;
}
void TPlayer::Reset() {}
void TPlayer::Update() {}
void TPlayer::PlayerHit() {}
void TBomb::Start() {}
void TBomb::Update() {}
