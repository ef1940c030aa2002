// The scene-script runner: one step per frame after every pool has been updated. Each entry
// runs until it is done; the frame after that only advances to the next entry.
#include "world/scene.h"

#include <cstdint>

#include "project/codes.h"
#include "project/project.h"
#include "project/sound_entry.h"
#include "world/background.h"
#include "world/bullet.h"
#include "world/enemy.h"
#include "world/sprite_lookup.h"

void TScene::Setup(TProject* p, const std::vector<TSceneCommand>* s, TEnemyPool* e, TBackground* b,
                   TPlayer* pl, TItemPool* i, TBulletPool* bu) {
    project = p;
    script = s;
    enemyPool = e;
    background = b;
    player = pl;
    itemPool = i;
    bulletPool = bu;
}

void TScene::Reset() {
    advancePending = false;
    entryIndex = project->sceneStart;
    waitFrames = 0;
    spawned = false;
    stageEnded = false;
}

void TScene::Step() {
    const int32_t n = static_cast<int32_t>(script->size());
    // Past the end there is nothing to run. A negative start position counts up like an
    // advance frame and so reaches entry 0 after as many frames.
    if (entryIndex >= n || entryIndex < 0 || n == 0) advancePending = true;
    if (advancePending) {
        if (entryIndex < INT32_MAX) ++entryIndex;
        if (entryIndex >= 0 && entryIndex < n) {
            waitFrames = 0;
            advancePending = false;
        }
        return;
    }

    const TSceneCommand& c = (*script)[entryIndex];
    switch (c.command) {
        case kSceneWait:
            // A wait of p1 lasts p1 + 1 frames before its advance frame.
            if (waitFrames < INT32_MAX) ++waitFrames;
            if (waitFrames > c.p1) advancePending = true;
            break;
        case kBackgroundImage:
            background->SetSprite(c.p1);
            advancePending = true;
            break;
        case kBackgroundSpeed:
            background->speed = c.p1 * 0.1;
            advancePending = true;
            break;
        case kEnemyAppearance:
            Appear(c);
            break;
        case kMusic:
            StopEverySound(*project);
            PlaySoundNumber(*project, c.p1);
            advancePending = true;
            break;
        case kStopSounds:
            StopEverySound(*project);
            advancePending = true;
            break;
        case kScenePlaySound:
            PlaySoundNumber(*project, c.p1);
            advancePending = true;
            break;
        case kDestroyEnemies:
            enemyPool->DestroyAll();
            bulletPool->KillEnemyBullets();
            advancePending = true;
            break;
        case kEndOfStage:
            // The script stays here; the game state leaves play when it sees the flag.
            stageEnded = true;
            break;
        default:
            // An unknown command holds the script on this entry.
            break;
    }
}

void TScene::Appear(const TSceneCommand& c) {
    if (!spawned) {
        // The enemy starts just outside the chosen edge, by half its picture's size (the
        // loaded image, not one frame of a strip) plus ten pixels.
        int32_t w = 0, h = 0;
        if (c.p1 >= 0 && c.p1 < kEnemyCount) {
            const TSpriteDef& s = SpriteOrEmpty(*project, project->enemies[c.p1].sprite);
            w = s.imageWidth / 2;
            h = s.imageHeight / 2;
        }
        double px = 0.0, py = 0.0;
        switch (c.p2) {
            case kLeftEdge:
                px = -10.0 - w;
                py = c.p3;
                break;
            case kRightEdge:
                px = 426.0 + w;
                py = c.p3;
                break;
            case kTopEdge:
                px = c.p3;
                py = -10.0 - h;
                break;
            case kBottomEdge:
                px = c.p3;
                py = 490.0 + h;
                break;
            default:
                break;
        }
        watchedSlot = enemyPool->SpawnEnemy(c.p1, px, py, c.p4 * 0.1, c.p5, c.p6 != 0, -1);
        spawned = true;
        return;
    }
    // With wait-until-death the script holds while its enemy is still watched; a failed
    // spawn holds nothing.
    if (c.p6 != 0 && watchedSlot >= 0 && watchedSlot < TEnemyPool::kSize &&
        enemyPool->enemies[watchedSlot].watched) {
        return;
    }
    advancePending = true;
    spawned = false;
}

void TScene::StartAt(int32_t entry) {
    const int32_t n = static_cast<int32_t>(script->size());
    if (entry < 0) entry = 0;
    int32_t music = -1;
    for (int32_t i = 0; i < entry && i < n; ++i) {
        const TSceneCommand& c = (*script)[i];
        switch (c.command) {
            case kBackgroundImage:
                background->SetSprite(c.p1);
                break;
            case kBackgroundSpeed:
                background->speed = c.p1 * 0.1;
                break;
            case kMusic:
                music = c.p1;
                break;
            case kStopSounds:
                music = -1;
                break;
            default:
                break;
        }
    }
    if (music >= 0) {
        StopEverySound(*project);
        PlaySoundNumber(*project, music);
    }
    entryIndex = entry;
    waitFrames = 0;
    advancePending = false;
    spawned = false;
}
