// Placeholder bodies until the items land.
#include "world/item.h"

void TItem::Start(double, double, int32_t) {}
void TItem::Update() {}
void TItemPool::SetupAll(TProject*, TPlayer*, TScorePanel*) {}
void TItemPool::KillAll() {}
void TItemPool::UpdateAll() {}
void TItemPool::Drop(double, double, int32_t) {}
