#include "base/font.h"

#include "base/check.h"
#include "media/media.h"

void TFont::Create(TString faceName, int32_t size, int32_t thickness, int32_t type) {
    handle = CreateFontToHandle(faceName.c_str(), size, thickness, type, -1, -1, -1, -1);
    if (handle == -1) CHECK_FAILED("TMedia.cpp", 143);
    colour = MakeColor(255, 255, 255);
}

void TFont::Draw(int32_t x, int32_t y, TString text) {
    DrawTextWithFont(x, y, text.c_str(), colour, handle, 0, 0);
}

void TFont::Draw(int32_t x, int32_t y, const char* text) {
    DrawTextWithFont(x, y, text ? text : "", colour, handle, 0, 0);
}
