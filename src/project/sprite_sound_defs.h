// The sprite and sound definition records. A sprite record begins with its drawable image
// (filled once the media layer runs) followed by what "Sprite%d.bin" stores; a sound record
// holds the media layer's handle beside what "Sound%d.bin" stores.
#pragma once

#include <cstdint>

#include "base/paths.h"
#include "base/sprite_image.h"
#include "base/tstring.h"

struct TSpriteDef : TSpriteImage {
    TString name = kUnregistered;
    uint8_t animate = 0;      // the image is a strip of frames side by side
    int32_t frameWidth = 32;  // one frame of the strip, pixels
    int32_t frameHeight = 32;
    int32_t frameCount = 4;      // frames in the strip
    int32_t framesPerStep = 10;  // a frame stays on screen framesPerStep + 1 game frames
};

struct TSoundDef {
    int32_t handle = -1;  // media sound handle; -1 while nothing is loaded
    TString name = kUnregistered;
    uint8_t streamFromFile = 0;  // load mode 2 (streamed) instead of 0 (whole file)
    TString fileName = JoinPath(kUnregistered, ".wav");  // inside "Sound\"
    int32_t volume = 255;                                // 0..255, applied once after loading
    uint8_t loop = 0;  // started looped (play type 3) instead of once (play type 1)
};
