#include "base/font.h"
#include "player/player.h"
#include "project/project.h"
#include "render/game_picture.h"
#include "render/score_texts.h"
#include "world/score_panel.h"

namespace {
constexpr int kPanelSprite = 1;
}  // namespace

void DrawScorePanel(TProject& project, TScorePanel& panel) {
    // The labels and decoration are part of the panel image; the program draws the numbers.
    project.sprites[kPanelSprite].Draw(0);
    static TScoreTexts texts;
    const TPlayer* player = panel.player;
    texts.Format(panel.best, panel.score, player ? player->bombs : 0, player ? player->lives : 0);
    panel.font.Draw(506, 40, texts.Best().c_str());
    panel.font.Draw(506, 95, texts.Score().c_str());
    panel.font.Draw(596, 145, texts.Bombs().c_str());
    panel.font.Draw(596, 195, texts.Lives().c_str());
}
