// Explosions and hit sparks: short animations of sprite 5 that stand still, optionally
// after a delay, and end at the last picture of the sprite.
#pragma once

#include <array>

#include "world/actor.h"

struct TProject;

class TEffect final : public TActor {
public:
    void Update() override;

    TProject* project = nullptr;
    double scale = 1.0;
    int32_t delayCounter = 0;
    int32_t delay = 0;
    int32_t frame = 0;
    int32_t frameCounter = 0;
    int32_t frameCount = 0;
    int32_t framesPerStep = 0;
    bool animate = false;
    int32_t blend = 0;
    int32_t blendStep = 255;
};

class TEffectPool {
public:
    static constexpr int kSize = 128;
    static constexpr int kEffectSprite = 5;

    void SetupAll(TProject* project);
    void KillAll();
    void UpdateAll();
    // First free effect at (x, y); delay -1 draws a random delay of 0 to 9 frames.
    void Spawn(double x, double y, double scale, int32_t delay);
    // Sound 2 and six effects scattered around the point.
    void Explode(double x, double y);
    // One small effect, no sound.
    void Spark(double x, double y);

    TProject* project = nullptr;
    std::array<TEffect, kSize> effects;
};
