// Drawing with a sprite image. Placeholder bodies until image drawing lands.
#include "base/sprite_image.h"

#include "base/check.h"
#include "media/media.h"

TSpriteImage::~TSpriteImage() { ReleaseFrames(); }

void TSpriteImage::ReleaseFrames() {
    for (const TFramePicture& f : frames) DeleteImage(f.image, 0);
    frames.clear();
    frames.shrink_to_fit();
}

void TSpriteImage::DrawRotated(int32_t) {}
void TSpriteImage::Draw(int32_t) {}
void TSpriteImage::DrawPart(int32_t, int32_t, int32_t, int32_t) {}
void TSpriteImage::DrawWindowFrame(double, double, int32_t, int32_t) {}
