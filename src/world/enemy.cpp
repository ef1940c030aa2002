// An enemy's life: start from its definition, the per-frame update around the action list,
// damage from the player's shots and bomb, and death with its rewards.
#include "world/enemy.h"

#include <algorithm>
#include <cstdint>

#include "base/animation.h"
#include "player/player.h"
#include "project/project.h"
#include "project/sound_entry.h"
#include "sys/sys.h"
#include "world/attacks.h"
#include "world/effect.h"
#include "world/item.h"
#include "world/scene.h"
#include "world/score_panel.h"
#include "world/sprite_lookup.h"

namespace {

constexpr int32_t kHitSound = 7;
constexpr int32_t kBlockedSound = 8;
constexpr double kSuccessorSpeed = 0.00001;
constexpr double kSuccessorAngle = 90.0;
// Each drop draws a random number even when the item pool is full; the cut only kept a
// hostile count from stalling the frame (the draws of drops into a full pool are skipped over
// in one step now) and stays so that such a count draws what it always did.
constexpr int32_t kMaxDrops = 65536;

// One coordinate of a random point of the hit box: rand() % (2h + 1) - h over the stored
// half size as it stands. Unlike an attack's jitter range, a negative half size is not read
// as 0: the divisor is then negative, the remainder of the non-negative draw still lies in
// 0..-2h, and the spark lands beside the enemy on the far side, as the game has always put it.
double HitBoxOffset(int32_t half) {
    int64_t h = half;
    return static_cast<double>(sys::Rand() % (2 * h + 1) - h);
}

}  // namespace

void TEnemy::Start(int32_t theKind, double startX, double startY, double startSpeed,
                   double startAngle, bool isWatched, int32_t parent, int32_t ownSlot) {
    if (theKind < 0 || theKind >= kEnemyCount) return;
    parentSlot = parent;
    slot = ownSlot;
    watched = isWatched;
    kind = theKind;
    definition = &project->enemies[theKind];
    sprite = &SpriteOrEmpty(*project, definition->sprite);
    frameCount = sprite->frameCount;
    framesPerStep = sprite->framesPerStep;
    animate = sprite->animate != 0;
    frame = 0;
    frameCounter = 0;

    // The velocity is taken at the stop speed with whatever angle the slot last had; the
    // initial speed and angle wait for the first command that recomputes the velocity.
    listFinished = false;
    SetSpeed(kStopSpeed);
    x = startX;
    y = startY;
    ApplyHeading();
    SetAngle(startAngle);
    SetSpeed(startSpeed);

    if (animate) {
        spriteHalfWidth = sprite->frameWidth / 2;
        spriteHalfHeight = sprite->frameHeight / 2;
    } else {
        spriteHalfWidth = sprite->imageWidth / 2;
        spriteHalfHeight = sprite->imageHeight / 2;
    }
    if (definition->hitWidth != -1 && definition->hitHeight != -1) {
        halfWidth = definition->hitWidth;
        halfHeight = definition->hitHeight;
    } else {
        halfWidth = spriteHalfWidth;
        halfHeight = spriteHalfHeight;
    }

    rememberedX = 0.0;
    rememberedY = 0.0;
    emitAngle = 0.0;
    acceleration = 0.0;
    advancePending = false;
    accelerating = false;
    hitFlash = false;
    commandFrames = 0;
    turnFrames = 0;
    commandIndex = 0;
    attackFrames = 0;
    durability = definition->durability;
    drawKey = definition->groundDistance;
    sprite->blendValue = 255;

    BuildLoopRecords();
    // The list never advances onto entry 0, so it is prepared here like every other entry;
    // a move to a random point draws its point now, before the enemy is in play.
    PrepareFirstEntry();
    Activate();
}

void TEnemy::Update() {
    if (!alive) return;
    RunActionList();
    Move();
    StepAnimation(frame, frameCounter, frameCount, framesPerStep, animate);
    // Leaving the play field by five half sizes is silent: no score, no explosion, no items.
    if (x < -5.0 * spriteHalfWidth || y < -5.0 * spriteHalfHeight ||
        x > kFieldWidth + 5.0 * spriteHalfWidth || y > kFieldHeight + 5.0 * spriteHalfHeight) {
        Kill();
        watched = false;
    }
    if (player->Overlaps(*this) && definition->contactHurts) player->PlayerHit();
}

void TEnemy::Damage(int32_t amount) {
    if (!alive) return;
    switch (definition->shotResponse) {
        case 0: {
            // The spark lands on a random point of the hit box.
            double rx = HitBoxOffset(halfWidth);
            double ry = HitBoxOffset(halfHeight);
            effectPool->Spark(x + rx, y + ry);
            PlaySoundNumber(*project, kHitSound);
            // Wide arithmetic: a hostile durability or bomb damage must not wrap around.
            durability = static_cast<int32_t>(std::clamp<int64_t>(
                static_cast<int64_t>(durability) - amount, INT32_MIN, INT32_MAX));
            hitFlash = true;
            if (durability < 0) Die();
            break;
        }
        case 1:
            // Reached only by the bomb (shots pass through): a harmful body simply vanishes.
            if (definition->contactHurts) {
                Kill();
                watched = false;
            }
            break;
        case 2:
            PlaySoundNumber(*project, kBlockedSound);
            break;
        default:
            break;
    }
}

void TEnemy::Die() {
    if (!alive) return;
    // A successor or a child's successor may take this slot before the items are dropped;
    // the items and the cleared flag still belong to the enemy that died.
    const TEnemyDef& def = *definition;
    const double deathX = x;
    const double deathY = y;
    const int32_t ownSlot = slot;
    const bool wasWatched = watched;

    if (def.explosion) effectPool->Explode(deathX, deathY);
    Kill();
    scorePanel->AddScore(def.score);
    if (def.successor != -1) {
        int32_t next = enemyPool->SpawnEnemy(def.successor, deathX, deathY, kSuccessorSpeed,
                                             kSuccessorAngle, wasWatched, -1);
        // Only a watched enemy hands the scene's watch on: a phase of another enemy dying
        // must not make the scene forget the boss it holds for.
        if (wasWatched) scene->watchedSlot = next;
    }
    enemyPool->DestroyChildren(ownSlot);

    const int32_t kinds = static_cast<int32_t>(def.dropKinds.size());
    if (kinds > 0 && def.dropCount > 0) {
        int32_t drops = def.dropCount < kMaxDrops ? def.dropCount : kMaxDrops;
        const bool anyItem = std::any_of(def.dropKinds.begin(), def.dropKinds.end(),
                                         [](int32_t k) { return k >= 0 && k < kItemCount; });
        for (int32_t i = 0; i < drops; ++i) {
            // A full pool stays full while the drops go on (nothing collects an item here),
            // and a list without an item number drops nothing: the remaining drops would only
            // draw their picks.
            if (!anyItem) {
                sys::SkipRandom(static_cast<uint64_t>(drops - i));
                break;
            }
            int32_t itemKind = def.dropKinds[sys::Rand() % kinds];
            if (itemKind >= 0 && itemKind < kItemCount &&
                !itemPool->Drop(deathX, deathY, itemKind)) {
                sys::SkipRandom(static_cast<uint64_t>(drops - i - 1));
                break;
            }
        }
    }
    // The slot now belongs to a newcomer when it is alive again; its flag is its own.
    if (!alive) watched = false;
}
