// Drawing with a sprite image: each operation sets the blend mode from the draw state,
// draws one frame (or part of frame 0) at the draw position truncated toward zero, and
// leaves the media layer's blend mode off again.
#include "base/sprite_image.h"

#include <cmath>
#include <cstdint>

#include "base/check.h"
#include "media/media.h"

namespace {

constexpr double kRadiansPerDegree = 0.0174532925;

// Truncation toward zero, as the game converts every draw position; values beyond the int
// range (an actor far off the field) are held at its ends.
int Truncate(double v) {
    if (std::isnan(v)) return 0;
    if (v <= INT32_MIN) return INT32_MIN;
    if (v >= INT32_MAX) return INT32_MAX;
    return static_cast<int>(v);
}

}  // namespace

TSpriteImage::~TSpriteImage() {
    ReleaseFrames();
}

void TSpriteImage::ReleaseFrames() {
    for (const TFramePicture& f : frames) DeleteImage(f.image, 0);
    frames.clear();
    frames.shrink_to_fit();
}

void TSpriteImage::DrawRotated(int32_t frame) {
    if (frame < 0) {
        CHECK_FAILED("TMedia.cpp", 256);
        return;
    }
    // A picture that never loaded, or a frame it does not have, is silently invisible.
    if (frames.empty() || static_cast<size_t>(frame) >= frames.size()) return;
    if (blendValue < 255)
        SetBlendMode(1, blendValue);
    else
        SetBlendMode(0, 0);
    DrawImageRotated(Truncate(drawX), Truncate(drawY), drawScale, drawAngle * kRadiansPerDegree,
                     frames[frame].image, transparent, mirrored);
    SetBlendMode(0, 0);
}

void TSpriteImage::Draw(int32_t frame) {
    if (frame < 0) {
        CHECK_FAILED("TMedia.cpp", 269);
        return;
    }
    if (frames.empty() || static_cast<size_t>(frame) >= frames.size()) return;
    // Unlike the other draws this one uses the record's own blend mode.
    if (blendValue < 255)
        SetBlendMode(blendMode, blendValue);
    else
        SetBlendMode(0, 0);
    if (mirrored)
        DrawImageMirrored(Truncate(drawX), Truncate(drawY), frames[frame].image, transparent);
    else
        DrawImage(Truncate(drawX), Truncate(drawY), frames[frame].image, transparent);
    SetBlendMode(0, 0);
}

void TSpriteImage::DrawPart(int32_t srcX, int32_t srcY, int32_t width, int32_t height) {
    if (frames.empty()) return;
    if (blendValue < 255)
        SetBlendMode(1, blendValue);
    else
        SetBlendMode(0, 0);
    DrawImagePart(Truncate(drawX), Truncate(drawY), srcX, srcY, width, height, frames[0].image, 1,
                  0);
    SetBlendMode(0, 0);
}

void TSpriteImage::DrawWindowFrame(double x, double y, int32_t cols, int32_t rows) {
    constexpr int kCellW = 10, kCellH = 13;
    // The translucent box behind the border: (cols + 2) x (rows + 2) cells.
    SetBlendMode(1, 108);
    DrawRect(Truncate(x), Truncate(y), Truncate(x + (cols * 5 + 10) * 2.0),
             Truncate(y + (rows + 2) * double(kCellH)), MakeColor(128, 128, 192), 1);
    SetBlendMode(0, 0);

    // The border, clockwise from the top-left corner, cut from the 3 x 3 cell sheet; the
    // sheet's centre cell is never drawn, the box shows through instead.
    drawX = x;
    drawY = y;
    DrawPart(0, 0, kCellW, kCellH);
    for (int32_t i = 0; i < cols; ++i) {
        drawX += kCellW;
        DrawPart(10, 0, kCellW, kCellH);
    }
    drawX += kCellW;
    DrawPart(20, 0, kCellW, kCellH);
    for (int32_t i = 0; i < rows; ++i) {
        drawY += kCellH;
        DrawPart(20, 13, kCellW, kCellH);
    }
    drawY += kCellH;
    DrawPart(20, 26, kCellW, kCellH);
    for (int32_t i = 0; i < cols; ++i) {
        drawX -= kCellW;
        DrawPart(10, 26, kCellW, kCellH);
    }
    drawX -= kCellW;
    DrawPart(0, 26, kCellW, kCellH);
    for (int32_t i = 0; i < rows; ++i) {
        drawY -= kCellH;
        DrawPart(0, 13, kCellW, kCellH);
    }
}
