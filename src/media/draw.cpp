// The drawing operations on images and rectangles. Each reads the layer's blend mode and
// brightness, looks up the picture and lists the draw for the rasterizer (draw_list.h). All
// drawing goes to the back buffer.
#include <algorithm>

#include "media/core.h"
#include "media/draw_list.h"
#include "media/image.h"
#include "media/media.h"
#include "media/raster.h"

namespace media {
namespace {

// Blend mode 1 draws with opacity parameter/255; mode 0 (and any mode the layer does not
// know) draws solid.
PixelMode CurrentMode(bool transparent) {
    const Core& c = TheCore();
    PixelMode m;
    m.transparent = transparent;
    m.alpha = c.blendMode == 1 ? c.blendParam : 255;
    m.brightR = c.brightR;
    m.brightG = c.brightG;
    m.brightB = c.brightB;
    return m;
}

}  // namespace
}  // namespace media

using media::MediaLockGuard;

int DrawImage(int x, int y, int image, int transparent) {
    MediaLockGuard g;
    const media::Image* img = media::FindImage(image);
    if (!img) return -1;
    media::ListBlit(*img, 0, 0, img->width, img->height, x, y, false,
                    media::CurrentMode(transparent != 0));
    return 0;
}

int DrawImageMirrored(int x, int y, int image, int transparent) {
    MediaLockGuard g;
    const media::Image* img = media::FindImage(image);
    if (!img) return -1;
    media::ListBlit(*img, 0, 0, img->width, img->height, x, y, true,
                    media::CurrentMode(transparent != 0));
    return 0;
}

int DrawImageRotated(int x, int y, double scale, double angle, int image, int transparent,
                     int mirrored) {
    MediaLockGuard g;
    const media::Image* img = media::FindImage(image);
    if (!img) return -1;
    media::ListTransformed(*img, x, y, scale, angle, mirrored != 0,
                           media::CurrentMode(transparent != 0));
    return 0;
}

int DrawImagePart(int x, int y, int srcX, int srcY, int width, int height, int image,
                  int transparent, int mirrored) {
    MediaLockGuard g;
    const media::Image* img = media::FindImage(image);
    if (!img) return -1;
    // Clipped to its own destination rectangle as well as the screen; there is no clip
    // state to save and restore.
    media::ListBlit(*img, srcX, srcY, width, height, x, y, mirrored != 0,
                    media::CurrentMode(transparent != 0));
    return 0;
}

// Covers [min(x1, x2), max(x1, x2)) x [min(y1, y2), max(y1, y2)): the right and bottom
// edges are not drawn, so (x, y, x + w, y + h) covers exactly w x h pixels. Unfilled, it is
// the one-pixel border of that same area.
int DrawRect(int x1, int y1, int x2, int y2, int colour, int filled) {
    MediaLockGuard g;
    const int left = std::min(x1, x2), right = std::max(x1, x2);
    const int top = std::min(y1, y2), bottom = std::max(y1, y2);
    const uint32_t xrgb = media::ColourToXrgb(colour);
    const media::PixelMode mode = media::CurrentMode(false);
    if (filled || right - left <= 2 || bottom - top <= 2) {
        media::ListFill(left, top, right, bottom, xrgb, mode);
        return 0;
    }
    // Four edges that never overlap, so a blended border is even.
    media::ListFill(left, top, right, top + 1, xrgb, mode);
    media::ListFill(left, bottom - 1, right, bottom, xrgb, mode);
    media::ListFill(left, top + 1, left + 1, bottom - 1, xrgb, mode);
    media::ListFill(right - 1, top + 1, right, bottom - 1, xrgb, mode);
    return 0;
}
