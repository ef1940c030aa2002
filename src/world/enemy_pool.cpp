// The pool of 512 enemies and their draw order.
#include <algorithm>
#include <utility>

#include "project/project.h"
#include "world/enemy.h"

namespace {

// No enemy definition carries more return-to-label entries than this in practice; a list
// with more grows its enemy's records once, at its first start in that slot.
constexpr size_t kLoopRecordReserve = 16;

}  // namespace

void TEnemyPool::SetupAll(TApp* app, TProject* project, TScorePanel* scorePanel, TPlayer* player,
                          TEffectPool* effectPool, TBulletPool* bulletPool, TItemPool* itemPool,
                          TScene* scene) {
    for (int32_t i = 0; i < kSize; ++i) {
        TEnemy& e = enemies[i];
        e.app = app;
        e.project = project;
        e.scorePanel = scorePanel;
        e.player = player;
        e.effectPool = effectPool;
        e.bulletPool = bulletPool;
        e.itemPool = itemPool;
        e.scene = scene;
        e.enemyPool = this;
        e.definition = &project->enemies[0];
        e.slot = i;
        e.Kill();
        e.watched = false;
        // The draw-order table starts with every key 0; the keys of free slots follow it.
        e.drawKey = 0;
        e.loopRecords.reserve(kLoopRecordReserve);
        drawOrder[i] = {i, 0};
    }
}

void TEnemyPool::KillAll() {
    for (TEnemy& e : enemies) e.Kill();
}

void TEnemyPool::UpdateAll() {
    for (TEnemy& e : enemies) e.Update();
}

int32_t TEnemyPool::SpawnEnemy(int32_t kind, double x, double y, double speed, double angle,
                               bool watched, int32_t parentSlot) {
    if (kind < 0 || kind >= kEnemyCount) return -1;
    for (int32_t i = 0; i < kSize; ++i) {
        if (enemies[i].IsAlive()) continue;
        enemies[i].Start(kind, x, y, speed, angle, watched, parentSlot, i);
        SortIntoDrawOrder(i);
        grid.Added(i);
        return i;
    }
    return -1;
}

void TEnemyPool::SortIntoDrawOrder(int32_t slot) {
    // Only this slot's key can have changed since the table was last sorted, so moving its
    // pair gives the same table as rebuilding all 512 pairs and sorting them (the order of
    // equal keys is free).
    const int32_t key = enemies[slot].drawKey;
    int32_t pos = 0;
    while (pos < kSize && drawOrder[pos].slot != slot) ++pos;
    if (pos == kSize) {
        // Not in the table (it was overwritten from outside): rebuild it whole.
        for (int32_t i = 0; i < kSize; ++i) drawOrder[i] = {i, enemies[i].drawKey};
        std::sort(drawOrder.begin(), drawOrder.end(),
                  [](const TDrawOrderEntry& a, const TDrawOrderEntry& b) { return a.key < b.key; });
        return;
    }
    drawOrder[pos].key = key;
    while (pos > 0 && drawOrder[pos - 1].key > key) {
        std::swap(drawOrder[pos - 1], drawOrder[pos]);
        --pos;
    }
    while (pos + 1 < kSize && drawOrder[pos + 1].key < key) {
        std::swap(drawOrder[pos + 1], drawOrder[pos]);
        ++pos;
    }
}

void TEnemyPool::DestroyAll() {
    for (TEnemy& e : enemies) e.Die();
}

void TEnemyPool::ReleaseAll() {
    for (size_t i = enemies.size(); i-- > 0;) enemies[i] = TEnemy();
}

void TEnemyPool::DestroyChildren(int32_t parent) {
    // Enemies of the scene and successors carry -1: they are nobody's children.
    if (parent < 0) return;
    for (TEnemy& e : enemies) {
        if (e.IsAlive() && e.parentSlot == parent) e.Die();
    }
}
