// The back buffer's pending draws. Pictures and rectangles are not drawn when the game
// asks but listed, and the list is carried out when something needs the pixels: the frame
// is presented, text is blended over it, a test or a screenshot reads it, or a picture in
// it is released. Then the screen is cut into bands of rows with about the same work, and
// two threads take the bands one at a time, drawing every listed command that reaches into
// a band, clipped to it. Each pixel meets the same commands in the same order as when they
// are drawn at once, and every position is worked out for the whole screen whatever the
// band, so the pixels are exactly those of drawing one command after the other (a fill
// that later copies overwrite, such as a frame's clear under its background, is left out
// where it could not show). Nothing here is visible to the game, which stays on one thread:
// the second thread only works inside a flush, which waits for it.
#pragma once

#include <cstdint>

#include "media/image.h"
#include "media/raster.h"

namespace media {

// Record a draw into the back buffer, or (immediate drawing) make it at once.
void ListBlit(const Image& image, int srcX, int srcY, int w, int h, int dstX, int dstY,
              bool mirrored, const PixelMode& mode);
void ListTransformed(const Image& image, int cx, int cy, double scale, double angle, bool mirrored,
                     const PixelMode& mode);
void ListFill(int x0, int y0, int x1, int y1, uint32_t colour, const PixelMode& mode);
// The whole back buffer black: what was listed before can no longer show.
void ListClear();

// Carries out every listed draw. Called with the media lock held.
void FlushDrawing();

// How draws are made. Tests compare the ways.
enum class DrawingMode {
    kImmediate,    // each draw at once, on the calling thread
    kListed,       // listed; a flush with enough work shares it between two threads
    kAlwaysSplit,  // listed; every flush is cut into bands and shared between two threads
};
void SetDrawingMode(DrawingMode mode);

}  // namespace media
