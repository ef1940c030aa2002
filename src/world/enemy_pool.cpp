// Placeholder bodies until the enemies land.
#include "world/enemy.h"

void TEnemyPool::SetupAll(TApp*, TProject*, TScorePanel*, TPlayer*, TEffectPool*, TBulletPool*,
                          TItemPool*, TScene*) {}
void TEnemyPool::KillAll() {}
void TEnemyPool::UpdateAll() {}
int32_t TEnemyPool::SpawnEnemy(int32_t, double, double, double, double, bool, int32_t) {
    return -1;
}
void TEnemyPool::DestroyAll() {}
void TEnemyPool::DestroyChildren(int32_t) {}
