// Placeholder bodies until the bullets land.
#include "world/bullet.h"

bool TBullet::Start(int32_t, int32_t, double, double, double, double, bool) { return false; }
void TBullet::Update() {}
void TBulletPool::SetupAll(TProject*, TPlayer*, TEnemyPool*, TEffectPool*) {}
void TBulletPool::KillAll() {}
void TBulletPool::UpdateAll() {}
void TBulletPool::Fire(int32_t, int32_t, double, double, double, double, bool) {}
void TBulletPool::KillEnemyBullets() {}
