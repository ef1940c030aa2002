#include "player/player.h"
#include "project/project.h"
#include "render/game_picture.h"

namespace {
constexpr int kLeftSprite = 2;
constexpr int kStraightSprite = 3;
constexpr int kRightSprite = 4;
constexpr int kBombSprite = 6;
}  // namespace

void DrawPlayer(TProject& project, TPlayer& player) {
    // The bomb first, so that the ship lies on top of it. Its picture always sits at the
    // centre of the play field, whatever the bomb's own position.
    if (player.bomb.IsAlive()) {
        TSpriteDef& bomb = project.sprites[kBombSprite];
        bomb.blendValue = player.bomb.fade;
        bomb.drawX = 208.0;
        bomb.drawY = 240.0;
        bomb.DrawRotated(player.bomb.frame);
    }
    if (!player.IsAlive()) return;
    for (int n : {kLeftSprite, kStraightSprite, kRightSprite}) {
        TSpriteDef& ship = project.sprites[n];
        ship.drawX = player.x;
        ship.drawY = player.y;
        ship.blendValue = player.alpha;
    }
    switch (player.direction) {
        case 0:
            project.sprites[kLeftSprite].DrawRotated(player.left.frame);
            break;
        case 1:
            project.sprites[kStraightSprite].DrawRotated(player.straight.frame);
            break;
        case 2:
            project.sprites[kRightSprite].DrawRotated(player.right.frame);
            break;
        default:
            break;
    }
}
