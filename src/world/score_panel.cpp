// Placeholder bodies until the score panel lands.
#include "world/score_panel.h"

void TScorePanel::Setup(TProject* p, TPlayer* pl) {
    project = p;
    player = pl;
}
void TScorePanel::AddScore(int32_t) {}
