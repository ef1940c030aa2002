#include "shell/screen_image.h"

#include "base/animation.h"
#include "project/project.h"

void TScreenImage::Setup(TProject* theProject, int32_t spriteNumber) {
    project = theProject;
    sprite = spriteNumber;
    const TSpriteDef& def = project->sprites[spriteNumber];
    frame = 0;
    frameCounter = 0;
    frameCount = def.frameCount;
    framesPerStep = def.framesPerStep;
    animate = def.animate;
}

void TScreenImage::Step() {
    StepAnimation(frame, frameCounter, frameCount, framesPerStep, animate);
}

void TScreenImage::Draw() {
    TSpriteDef& def = project->sprites[sprite];
    def.drawX = 0.0;
    def.drawY = 0.0;
    def.Draw(frame);
}
