// The animation step shared by everything that animates: each picture stays for
// framesPerStep + 1 frames; with animate clear nothing changes.
#pragma once

#include <cstdint>

inline void StepAnimation(int32_t& frame, int32_t& frameCounter, int32_t frameCount,
                          int32_t framesPerStep, bool animate) {
    if (!animate) return;
    if (++frameCounter > framesPerStep) {
        frameCounter = 0;
        if (++frame >= frameCount) frame = 0;
    }
}
