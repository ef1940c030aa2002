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

// The sprite named by n, or one shared empty sprite (no pictures, every size and count 0)
// when n lies outside the table.
TSpriteDef& SpriteOrEmpty(TProject& project, int32_t n);
const TSpriteDef& SpriteOrEmpty(const TProject& project, int32_t n);
