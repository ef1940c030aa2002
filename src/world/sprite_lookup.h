// Sprite numbers stored in definitions come from the project's files and may lie outside the
// sprite table. Every lookup goes through here: a number outside 0..1023 names no sprite,
// which draws nothing and counts as an empty sprite of size 0.
#pragma once

#include <cstdint>

#include "project/project.h"

inline TSpriteDef* FindSprite(TProject& project, int32_t n) {
    if (n < 0 || n >= kSpriteCount) return nullptr;
    return &project.sprites[n];
}

// What an actor copies from its sprite when it starts.
struct TSpriteFacts {
    int32_t frameCount = 0;
    int32_t framesPerStep = 0;
    bool animate = false;
    int32_t frameWidth = 0;
    int32_t frameHeight = 0;
    int32_t imageWidth = 0;
    int32_t imageHeight = 0;
};

inline TSpriteFacts SpriteFacts(const TProject& project, int32_t n) {
    TSpriteFacts f;
    if (n < 0 || n >= kSpriteCount) return f;
    const TSpriteDef& s = project.sprites[n];
    f.frameCount = s.frameCount;
    f.framesPerStep = s.framesPerStep;
    f.animate = s.animate != 0;
    f.frameWidth = s.frameWidth;
    f.frameHeight = s.frameHeight;
    f.imageWidth = s.imageWidth;
    f.imageHeight = s.imageHeight;
    return f;
}
