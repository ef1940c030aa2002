// Attaching sprite images and sound data to the loaded records, once the media layer runs.
// Failures are silent: a sprite without pictures draws nothing, a sound without a handle
// plays nothing.
#pragma once

#include "base/sprite_image.h"
#include "base/tstring.h"
#include "project/project.h"

// A strip is cut into at most this many frames in one call to the media layer.
constexpr int kMaxStripFrames = 512;

// Attaches "Sprite\Sprite<i>.png" to every sprite that has one: one picture with the
// image's own size, or for an animated sprite a strip of frameCount frames.
void LoadSpriteImages(TProject& project);

// Attaches one image file to 'sprite'. count 1: the whole image as one picture. count > 1:
// count frames of width x height side by side in one row (refused when width or height is
// -1, or when count exceeds kMaxStripFrames). count <= 0 attaches nothing. True when
// pictures were attached.
bool LoadImageStrip(TSpriteImage& sprite, TString path, int count, int width, int height);

// Loads "Sound\<fileName>" when it exists, in the record's load mode, with its volume. True
// when the record got a handle.
bool LoadSound(TSoundDef& sound);
// LoadSound for all 256 records in table order.
void LoadSounds(TProject& project);
