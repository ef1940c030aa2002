// TScreenImage: a full-screen picture (the title and the game-over picture) drawn at (0, 0)
// from one sprite, with its own animation cursor.
#pragma once

#include <cstdint>

struct TProject;

class TScreenImage {
public:
    // Copies frameCount, framesPerStep and animate from the sprite; frame and counter 0.
    void Setup(TProject* project, int32_t spriteNumber);
    void Step();
    void Draw();

    TProject* project = nullptr;
    int32_t sprite = 0;
    int32_t frame = 0;
    int32_t frameCounter = 0;
    int32_t frameCount = 0;
    int32_t framesPerStep = 0;
    uint8_t animate = 0;
};
