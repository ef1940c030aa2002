// TApp: the quit request, the key states of the frame and the fade level; the start of
// every frame (flip, messages, pacing, keys, brightness, clear).
#pragma once

#include <cstdint>

#include "base/tstring.h"

// Frame-pacing and frame-rate values, process-wide for the whole run.
struct TFrameTiming {
    uint32_t lastFrameTime = 0;
    uint32_t lastDuration = 0;
    bool measuring = false;
    uint32_t measureStart = 0;
    uint32_t framesCounted = 0;
    uint32_t displayedRate = 0;
};
TFrameTiming& FrameTiming();

class TApp {
public:
    // The media layer's set-up: log, screen mode, title, window mode, MediaInit (a failure
    // is a checked failure and start-up goes on), draw target, default font, 1 ms timer.
    void Init(TString windowTitle, bool windowed);
    // Presents the previous frame, handles messages, paces to 17 ms, reads the keys, sets
    // the fade brightness and clears. False when the loop must end.
    bool BeginFrame();
    // BeginFrame in two halves for author mode, which may run no game frame in a pass, or
    // skip the pacing (fast forward): flip, messages, pacing when 'pace', keys; then
    // brightness and clearing.
    bool BeginHostFrame(bool pace);
    void BeginDraw();

    bool KeyHeld(int scanCode) const { return keys[scanCode & 0xFF] != 0; }

    uint8_t quitRequest = 0;
    uint8_t keys[256] = {};
    int32_t fade = 255;  // 0 black .. 255 full brightness
};
