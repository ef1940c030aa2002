// TBackground: the stage's scrolling background. The scene script changes its sprite and
// speed; it is updated once per play frame and drawn as two copies one period apart.
#pragma once

#include <cstdint>

struct TProject;

class TBackground {
public:
    void Setup(TProject* theProject) { project = theProject; }
    // Installs sprite n (its animation and size); a negative n only stores the number.
    void SetSprite(int32_t n);
    // Animation step, then scrolls by the speed and wraps at the period.
    void Update();

    TProject* project = nullptr;
    double speed = 0.0;  // pixels per frame
    int32_t sprite = 0;
    double position = 0.0;
    int32_t frame = 0;
    int32_t frameCounter = 0;
    int32_t frameCount = 0;
    int32_t framesPerStep = 0;
    uint8_t animate = 0;
    int32_t period = 480;
};
