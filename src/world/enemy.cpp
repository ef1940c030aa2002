// Placeholder bodies until the enemies land.
#include "world/enemy.h"

void TEnemy::Start(int32_t, double, double, double, double, bool, int32_t, int32_t) {}
void TEnemy::Update() {}
void TEnemy::Damage(int32_t) {}
void TEnemy::Die() {}
void TEnemy::RunActionList() {}
void TEnemy::BuildLoopRecords() {}
int32_t TEnemy::LabelIndex(int32_t) const { return 0; }
TLoopRecord* TEnemy::LoopRecord(int32_t) { return nullptr; }
void TEnemy::FireFan(const TActionEntry&) {}
void TEnemy::FireRandomSpread(const TActionEntry&) {}
void TEnemy::FireRing(const TActionEntry&) {}
void TEnemy::FireSpiral(const TActionEntry&) {}
void TEnemy::FireDoubleRing(const TActionEntry&) {}
