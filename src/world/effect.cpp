// Placeholder bodies until the effects land.
#include "world/effect.h"

void TEffect::Update() {}
void TEffectPool::SetupAll(TProject* p) { project = p; }
void TEffectPool::KillAll() {}
void TEffectPool::UpdateAll() {}
void TEffectPool::Spawn(double, double, double, int32_t) {}
void TEffectPool::Explode(double, double) {}
void TEffectPool::Spark(double, double) {}
