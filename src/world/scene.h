// TScene: runs the stage's scene script, one entry at a time: waits, background changes,
// music and sounds, enemy appearances at the edges (optionally holding the script until the
// enemy is gone), destroying every enemy, and the end of the stage.
#pragma once

#include <cstdint>
#include <vector>

struct TProject;
class TEnemyPool;
class TBackground;
class TPlayer;
class TItemPool;
class TBulletPool;
struct TSceneCommand;

class TScene {
public:
    void Setup(TProject* project, const std::vector<TSceneCommand>* script, TEnemyPool* enemyPool,
               TBackground* background, TPlayer* player, TItemPool* itemPool,
               TBulletPool* bulletPool);
    // Back to the project's start position (a negative one reaches entry 0 after as many
    // frames as it lies below it).
    void Reset();
    // One frame of the script: execute the current entry, or advance to the next one.
    void Step();
    // Test play from the middle of a stage, right after Reset: the script continues at
    // 'entry' (past the end when it is beyond the last). The entries before it are only read:
    // the background takes the last picture and speed they set, and the last music they
    // started that no later entry stopped plays. Nothing else of them happens: no enemy
    // appears, no sound effect plays, nothing is destroyed.
    void StartAt(int32_t entry);

    TProject* project = nullptr;
    const std::vector<TSceneCommand>* script = nullptr;
    TEnemyPool* enemyPool = nullptr;
    TBackground* background = nullptr;
    TPlayer* player = nullptr;      // held, not used
    TItemPool* itemPool = nullptr;  // held, not used
    TBulletPool* bulletPool = nullptr;
    bool advancePending = false;
    int32_t entryIndex = 0;
    int32_t waitFrames = 0;
    bool spawned = false;
    int32_t watchedSlot = -1;
    bool stageEnded = false;

private:
    // Command 3: spawns the enemy at its edge, then holds or lets the script go on.
    void Appear(const TSceneCommand& c);
};
