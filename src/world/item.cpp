#include "world/item.h"

#include "base/animation.h"
#include "player/player.h"
#include "project/project.h"
#include "project/sound_entry.h"
#include "sys/sys.h"
#include "world/score_panel.h"
#include "world/sprite_lookup.h"

namespace {
constexpr double kAttractRadiusSquared = 15000.0;  // about 122.5 pixels
constexpr double kAttractedSpeed = 6.0;
constexpr int32_t kPowerSound = 5;
constexpr int32_t kItemSound = 6;
constexpr int32_t kMaxPower = 5;
constexpr int32_t kMaxStock = 99;

void RaiseCapped(int32_t& value, int32_t cap) {
    value += 1;
    if (value > cap) value = cap;
}
}  // namespace

void TItem::Start(double startX, double startY, int32_t theKind) {
    // A kind outside the item table starts nothing; the slot stays free.
    if (theKind < 0 || theKind >= kItemCount) return;
    x = startX;
    y = startY;
    kind = theKind;
    const TItemDef& def = project->items[kind];
    const TSpriteDef& sprite = SpriteOrEmpty(*project, def.sprite);
    halfWidth = sprite.imageWidth / 2;
    halfHeight = sprite.imageHeight / 2;
    frameCount = sprite.frameCount;
    framesPerStep = sprite.framesPerStep;
    animate = sprite.animate;
    frame = 0;
    frameCounter = 0;
    attracted = false;
    // A dropped item drifts slowly (0.1 to 0.5) in a random direction (1 to 360 degrees).
    SetSpeed((sys::Rand() % 5 + 1) * 0.1);
    SetAngle(sys::Rand() % 360 + 1);
    ApplyHeading();
    Activate();
}

void TItem::Update() {
    if (!alive) return;
    StepAnimation(frame, frameCounter, frameCount, framesPerStep, animate);
    // Measured from the player's position whether or not the ship is in play.
    double dx = x - player->x, dy = y - player->y;
    if (dx * dx + dy * dy < kAttractRadiusSquared) {
        SetSpeed(kAttractedSpeed);
        attracted = true;
    }
    if (attracted) SteerToward(player->x, player->y);
    Move();
    if (player->Overlaps(*this)) {
        const TItemDef& def = project->items[kind];
        switch (def.attribute) {
            case 0:
                PlaySoundNumber(*project, kItemSound);
                scorePanel->AddScore(def.score);
                break;
            case 1:
                // At the cap the sound still plays.
                PlaySoundNumber(*project, kPowerSound);
                RaiseCapped(player->power, kMaxPower);
                break;
            case 2:
                PlaySoundNumber(*project, kItemSound);
                RaiseCapped(player->lives, kMaxStock);
                break;
            case 3:
                PlaySoundNumber(*project, kItemSound);
                RaiseCapped(player->bombs, kMaxStock);
                break;
            default:
                break;  // collected without effect or sound
        }
        Kill();
    }
    if (x < -3 * halfWidth || y < -3 * halfHeight || x > kFieldWidth + 3 * halfWidth ||
        y > kFieldHeight + 3 * halfHeight)
        Kill();
}

void TItemPool::SetupAll(TProject* project, TPlayer* player, TScorePanel* scorePanel) {
    for (TItem& item : items) {
        item.project = project;
        item.player = player;
        item.scorePanel = scorePanel;
        item.Kill();
    }
}

void TItemPool::KillAll() {
    for (TItem& item : items) item.Kill();
}

void TItemPool::UpdateAll() {
    for (TItem& item : items) item.Update();
}

bool TItemPool::Drop(double x, double y, int32_t kind) {
    if (kind < 0 || kind >= kItemCount) return false;  // not an item: nothing drops
    for (TItem& item : items) {
        if (item.IsAlive()) continue;
        item.Start(x, y, kind);
        return true;
    }
    return false;
}
