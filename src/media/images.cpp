// Images and drawing. Placeholder until the software rasterizer lands: every image
// operation fails with -1, nothing is drawn.
#include "media/core.h"
#include "media/inspect.h"
#include "media/media.h"

namespace media {
void ReleaseAllImages() {}
bool WriteBackBufferPng(const std::string&) { return false; }
}  // namespace media

using media::MediaLockGuard;

int LoadImageFile(const char*) { return -1; }
int LoadImageFrames(const char*, int, int, int, int, int, int*) { return -1; }
int GetImageSize(int image, int* width, int* height) {
    MediaLockGuard g;
    if (image == -2 || image == -4) {
        if (width) *width = media::TheCore().width;
        if (height) *height = media::TheCore().height;
        return 0;
    }
    return -1;
}
int DeleteImage(int, int) { return -1; }
int DrawImage(int, int, int, int) { return -1; }
int DrawImageMirrored(int, int, int, int) { return -1; }
int DrawImageRotated(int, int, double, double, int, int, int) { return -1; }
int DrawImagePart(int, int, int, int, int, int, int, int, int) { return -1; }
int DrawRect(int, int, int, int, int, int) { return -1; }

int SetBlendMode(int mode, int parameter) {
    MediaLockGuard g;
    media::TheCore().blendMode = mode;
    media::TheCore().blendParam = parameter < 0 ? 0 : (parameter > 255 ? 255 : parameter);
    return 0;
}

int MakeColor(int r, int g, int b) {
    MediaLockGuard guard;
    auto c = [](int v) { return static_cast<unsigned>(v < 0 ? 0 : (v > 255 ? 255 : v)); };
    if (media::TheCore().depth == 16)
        return static_cast<int>(((c(r) >> 3) << 11) | ((c(g) >> 2) << 5) | (c(b) >> 3));
    return static_cast<int>((c(r) << 16) | (c(g) << 8) | c(b));
}
