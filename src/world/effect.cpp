#include "world/effect.h"

#include "base/animation.h"
#include "project/project.h"
#include "project/sound_entry.h"
#include "sys/sys.h"
#include "world/sprite_lookup.h"

namespace {
constexpr int32_t kExplosionSound = 2;
}  // namespace

void TEffect::Update() {
    if (!alive) return;
    if (delayCounter > delay) {
        Move();
        blend += blendStep;
        StepAnimation(frame, frameCounter, frameCount, framesPerStep, animate);
        // Freed in the update that reaches the last picture, so a strip's last picture is
        // never shown and a one-picture sprite is shown in exactly one frame.
        if (frame == frameCount - 1) Kill();
    } else {
        ++delayCounter;
    }
}

void TEffectPool::SetupAll(TProject* theProject) {
    project = theProject;
    const TSpriteDef& sprite = SpriteOrEmpty(*project, kEffectSprite);
    // An empty effect sprite would divide by zero: it fades in at once instead.
    int32_t step = sprite.frameCount > 0 ? 255 / sprite.frameCount : 255;
    for (TEffect& e : effects) {
        e.project = project;
        e.Kill();
        e.frameCount = sprite.frameCount;
        e.framesPerStep = sprite.framesPerStep;
        e.animate = sprite.animate;
        e.frame = 0;
        e.frameCounter = 0;
        e.scale = 1.0;
        e.blendStep = step;
    }
}

void TEffectPool::KillAll() {
    for (TEffect& e : effects) e.Kill();
}

void TEffectPool::UpdateAll() {
    for (TEffect& e : effects) e.Update();
}

void TEffectPool::Spawn(double x, double y, double scale, int32_t delay) {
    for (TEffect& e : effects) {
        if (e.IsAlive()) continue;
        e.scale = scale;
        e.x = x;
        e.y = y;
        // Effects stand still, whatever angle the slot was left with.
        e.SetSpeed(kStopSpeed);
        e.ApplyHeading();
        e.delay = delay == -1 ? sys::Rand() % 10 : delay;
        e.delayCounter = 0;
        e.blend = 0;
        e.frame = 0;
        e.frameCounter = 0;
        e.Activate();
        return;
    }
}

void TEffectPool::Explode(double x, double y) {
    PlaySoundNumber(*project, kExplosionSound);
    for (int i = 0; i < 6; ++i) {
        // Separate statements keep the order of the draws fixed.
        int rx = sys::Rand() % 67 - 33;
        int ry = sys::Rand() % 67 - 33;
        double scale = 1.0 + sys::Rand() / 32767.0;
        Spawn(x + rx, y + ry, scale, -1);
    }
}

void TEffectPool::Spark(double x, double y) {
    int rx = sys::Rand() % 3 - 1;
    int ry = sys::Rand() % 3 - 1;
    double scale = (sys::Rand() % 6) * 0.1;
    Spawn(x + rx, y + ry, scale, 0);
}
