#include "project/project.h"
#include "render/game_picture.h"
#include "world/background.h"
#include "world/sprite_lookup.h"

void DrawBackground(TProject& project, TBackground& background) {
    // drawX was set when the sprite became the background.
    TSpriteDef* sprite = FindSprite(project, background.sprite);
    if (!sprite) return;
    // The copy at the scroll position and the one a period above it tile the field.
    sprite->drawY = background.position;
    sprite->Draw(background.frame);
    sprite->drawY = background.position - background.period;
    sprite->Draw(background.frame);
}
