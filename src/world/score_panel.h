// TScorePanel: the current and the best score beside the play field (drawn by the render
// layer), capped at nine digits.
#pragma once

#include <cstdint>

#include "base/font.h"

struct TProject;
class TPlayer;

constexpr uint32_t kScoreCap = 999999999u;

class TScorePanel {
public:
    // Font "ＭＳ 明朝" 25 anti-aliased, panel sprite at (416, 0), both scores 0.
    void Setup(TProject* project, TPlayer* player);
    // Another project (author mode's reload): the panel sprite at (416, 0) again.
    void Relink(TProject* project);
    // score += points, capped; the best follows the score. A negative amount larger than
    // the score stops at 0.
    void AddScore(int32_t points);

    TProject* project = nullptr;
    TFont font;
    uint32_t best = 0;
    uint32_t score = 0;
    TPlayer* player = nullptr;
};
