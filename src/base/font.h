// TFont: a font handle of the media layer with its text colour.
#pragma once

#include <cstdint>

#include "base/tstring.h"

class TFont {
public:
    // CreateFontToHandle(name, size, thickness, type, -1, -1, -1, -1); a result of -1 is a
    // checked failure, and the handle is stored either way. Colour becomes white.
    void Create(TString faceName, int32_t size, int32_t thickness, int32_t type);
    // DrawTextWithFont(x, y, text, colour, handle, 0, 0); the result is not checked.
    void Draw(int32_t x, int32_t y, TString text);
    // The same without the copy, for texts drawn every frame.
    void Draw(int32_t x, int32_t y, const char* text);

    int32_t handle = -1;
    int32_t colour = 0;
};
