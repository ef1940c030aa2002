// The software rasterizer: blits of prepared pictures (plain, mirrored, part, rotated and
// scaled), filled rectangles and glyph coverage into a 32-bit XRGB surface. Pure functions
// of their arguments; the drawing operations in draw.cpp and text.cpp feed them the layer's
// state. Every routine clips before it loops, so an inner loop never tests bounds.
#pragma once

#include <cstdint>

#include "media/core.h"
#include "media/image.h"

namespace media {

// Exclusive on the right and bottom.
struct ClipRect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool Empty() const { return x0 >= x1 || y0 >= y1; }
};
ClipRect SurfaceRect(const Surface& s);
ClipRect Intersect(const ClipRect& a, const ClipRect& b);

// How a draw combines with what is already there.
//  - transparent: pixels whose alpha is 0 (the colour key) are left out and translucent
//    pixels blend by their alpha; off, every pixel is drawn opaque.
//  - alpha: the draw's own opacity, 0..255 (alpha blending; 255 draws solid).
//  - bright: every colour channel is multiplied by bright/255.
struct PixelMode {
    bool transparent = true;
    int alpha = 255;
    int brightR = 255, brightG = 255, brightB = 255;
    bool FullBright() const { return brightR == 255 && brightG == 255 && brightB == 255; }
};

// The rounded product c * k / 255 for bytes c and k.
inline uint32_t MulDiv255(uint32_t c, uint32_t k) {
    uint32_t t = c * k + 128;
    return (t + (t >> 8)) >> 8;
}

// Multiplies the colour bytes of an XRGB or ARGB word by the mode's brightness (alpha kept).
uint32_t ApplyBrightness(uint32_t pixel, const PixelMode& mode);

// The w x h rectangle of 'image' at (srcX, srcY) lands with its top-left at (dstX, dstY),
// mirrored left to right within that rectangle when asked. Source pixels outside the
// picture are not drawn.
void BlitImage(const Surface& dst, const ClipRect& clip, const Image& image, int srcX, int srcY,
               int w, int h, int dstX, int dstY, bool mirrored, const PixelMode& mode);

// The picture centred on (cx, cy): its corners at -w/2 and w - w/2 (integer halves, so the
// right and bottom take the odd pixel), mirrored first, then scaled and turned by 'angle'
// radians (clockwise on screen). Nearest neighbour, sampled at destination pixel centres.
void BlitImageTransformed(const Surface& dst, const ClipRect& clip, const Image& image, int cx,
                          int cy, double scale, double angle, bool mirrored, const PixelMode& mode);

// Fills [x0, x1) x [y0, y1) with the XRGB colour.
void FillRect(const Surface& dst, const ClipRect& clip, int x0, int y0, int x1, int y1,
              uint32_t colour, const PixelMode& mode);

// Draws 'colour' through an 8-bit coverage mask (255 = solid) of w x h at (dstX, dstY).
void BlitCoverage(const Surface& dst, const ClipRect& clip, const uint8_t* coverage, int pitch,
                  int w, int h, int dstX, int dstY, uint32_t colour, const PixelMode& mode);

}  // namespace media
