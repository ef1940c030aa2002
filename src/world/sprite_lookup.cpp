#include "world/sprite_lookup.h"

namespace {

TSpriteDef& EmptySprite() {
    // Built once and never freed; drawing state written into it is never shown.
    static TSpriteDef* empty = [] {
        auto* s = new TSpriteDef;
        s->frameWidth = 0;
        s->frameHeight = 0;
        s->frameCount = 0;
        s->framesPerStep = 0;
        s->animate = 0;
        return s;
    }();
    return *empty;
}

}  // namespace

TSpriteDef& SpriteOrEmpty(TProject& project, int32_t n) {
    if (n < 0 || n >= kSpriteCount) return EmptySprite();
    return project.sprites[n];
}

const TSpriteDef& SpriteOrEmpty(const TProject& project, int32_t n) {
    if (n < 0 || n >= kSpriteCount) return EmptySprite();
    return project.sprites[n];
}
