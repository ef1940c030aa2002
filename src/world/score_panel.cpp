#include "world/score_panel.h"

#include "base/paths.h"
#include "media/media.h"
#include "project/project.h"

namespace {
constexpr int kPanelSprite = 1;
}  // namespace

void TScorePanel::Setup(TProject* theProject, TPlayer* thePlayer) {
    project = theProject;
    player = thePlayer;
    font.Create(Sjis("ＭＳ 明朝"), 25, 1, 2);
    font.colour = MakeColor(255, 255, 255);
    Relink(theProject);
    best = 0;
    score = 0;
}

void TScorePanel::Relink(TProject* theProject) {
    project = theProject;
    TSpriteDef& panel = project->sprites[kPanelSprite];
    panel.drawX = 416.0;
    panel.drawY = 0.0;
}

void TScorePanel::AddScore(int32_t points) {
    // Unsigned arithmetic as the score is kept, except that taking away more than the score
    // holds stops at 0: wrapping around would show the nine-digit maximum for a penalty.
    if (points < 0 && static_cast<uint32_t>(-static_cast<int64_t>(points)) > score)
        score = 0;
    else
        score += static_cast<uint32_t>(points);
    if (score > kScoreCap) score = kScoreCap;
    if (score > best) best = score;
}
