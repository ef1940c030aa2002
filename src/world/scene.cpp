// Placeholder bodies until the scene runner lands.
#include "world/scene.h"

void TScene::Setup(TProject* p, const std::vector<TSceneCommand>* s, TEnemyPool* e,
                   TBackground* b, TPlayer* pl, TItemPool* i, TBulletPool* bu) {
    project = p;
    script = s;
    enemyPool = e;
    background = b;
    player = pl;
    itemPool = i;
    bulletPool = bu;
}
void TScene::Reset() {}
void TScene::Step() {}
