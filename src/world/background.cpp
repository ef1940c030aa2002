#include "world/background.h"

#include "base/animation.h"
#include "project/project.h"

void TBackground::SetSprite(int32_t n) {
    sprite = n;
    if (n < 0 || n >= static_cast<int32_t>(kSpriteCount)) return;
    TSpriteDef& def = project->sprites[n];
    frameCount = def.frameCount;
    framesPerStep = def.framesPerStep;
    animate = def.animate;
    frame = 0;
    frameCounter = 0;
    def.drawX = 0.0;
    period = def.imageHeight;
}

void TBackground::Update() {
    StepAnimation(frame, frameCounter, frameCount, framesPerStep, animate);
    position += speed;
    // Exactly equal stays where it is.
    if (position < 0)
        position = period;
    else if (position > period)
        position = 0;
}
