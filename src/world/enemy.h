// Enemies: each runs its definition's action list (movement commands and attack patterns)
// one step per frame, takes damage from the player's shots and bomb, and dies with its
// explosion, score, successor, children and dropped items.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "world/actor.h"
#include "world/enemy_grid.h"

class TApp;
struct TProject;
class TScorePanel;
class TPlayer;
class TEffectPool;
class TBulletPool;
class TItemPool;
class TScene;
class TEnemyPool;
struct TEnemyDef;
struct TSpriteDef;
struct TActionEntry;

// One return-to-label entry of the action list and how often it still sends the list back.
struct TLoopRecord {
    int32_t index = 0;
    int32_t remaining = 0;
    int32_t initial = 0;
};

class TEnemy final : public TActor {
public:
    // Fills the slot from enemy definition 'kind'. The initial speed and angle take effect
    // only when a command recomputes the velocity; until then it moves at the stop speed.
    // Entry 0 of the action list is prepared here as if the list had advanced onto it (a
    // wait saves the speed just set, a move to a random point draws its point); a kind
    // outside the enemy table leaves the slot free.
    void Start(int32_t kind, double x, double y, double speed, double angle, bool watched,
               int32_t parentSlot, int32_t slot);
    void Update() override;
    // A player's shot (1) or the bomb (its bomb damage) hits the enemy.
    void Damage(int32_t amount);
    // Destroyed with its rewards: explosion, score, successor, children, items.
    void Die();

    // The action-list interpreter: one step, before the enemy moves.
    void RunActionList();
    void BuildLoopRecords();
    int32_t LabelIndex(int32_t label) const;
    TLoopRecord* LoopRecord(int32_t index);

    // Volley timing shared by the attacks: true when this execute frame fires.
    bool VolleyDue(const TActionEntry& e);
    void FireFan(const TActionEntry& e);
    void FireRandomSpread(const TActionEntry& e);
    void FireRing(const TActionEntry& e);
    void FireSpiral(const TActionEntry& e);
    void FireDoubleRing(const TActionEntry& e);

    TApp* app = nullptr;  // held, not used
    TProject* project = nullptr;
    TScorePanel* scorePanel = nullptr;
    TPlayer* player = nullptr;
    TEffectPool* effectPool = nullptr;
    TBulletPool* bulletPool = nullptr;
    TItemPool* itemPool = nullptr;
    TScene* scene = nullptr;
    TEnemyPool* enemyPool = nullptr;

    const TEnemyDef* definition = nullptr;
    int32_t kind = 0;
    int32_t slot = 0;
    int32_t parentSlot = -1;
    TSpriteDef* sprite = nullptr;
    int32_t frame = 0;
    int32_t frameCounter = 0;
    int32_t frameCount = 0;
    int32_t framesPerStep = 0;
    bool animate = false;
    int32_t durability = 0;
    double rememberedX = 0.0;
    double rememberedY = 0.0;
    double emitAngle = 0.0;
    bool advancePending = false;
    bool listFinished = false;
    double savedSpeed = 0.0;
    int32_t commandFrames = 0;
    int32_t commandIndex = 0;
    int32_t turnFrames = 0;
    int32_t attackFrames = 0;
    bool hitFlash = false;
    bool accelerating = false;
    double acceleration = 0.0;
    bool watched = false;
    double randomX = 0.0;
    double randomY = 0.0;
    int32_t spriteHalfWidth = 0;
    int32_t spriteHalfHeight = 0;
    int32_t drawKey = 0;
    std::vector<TLoopRecord> loopRecords;

private:
    // What happens when the list arrives on an entry (wait, random point, return to label).
    void PrepareEntry(const TActionEntry& e);
    // Entry 0 is prepared by Start, except a return to a label.
    void PrepareFirstEntry();
    void ExecuteCommand(const TActionEntry& e);
    void RunExtra(const TActionEntry& e);
    // Counts one executed frame of a timed command; true when it has run A + 1 frames.
    bool CountFrame(int32_t limit);
};

struct TDrawOrderEntry {
    int32_t slot = 0;
    int32_t key = 0;
};

class TEnemyPool {
public:
    static constexpr int kSize = 512;

    void SetupAll(TApp* app, TProject* project, TScorePanel* scorePanel, TPlayer* player,
                  TEffectPool* effectPool, TBulletPool* bulletPool, TItemPool* itemPool,
                  TScene* scene);
    void KillAll();
    void UpdateAll();
    // First free slot, started and sorted into the draw order; -1 when the pool is full or
    // the kind lies outside the enemy table.
    int32_t SpawnEnemy(int32_t kind, double x, double y, double speed, double angle, bool watched,
                       int32_t parentSlot);
    // Die on every live enemy, slot 0 first.
    void DestroyAll();
    // Die on every live enemy spawned by 'parent'.
    void DestroyChildren(int32_t parent);
    // Shut-down: every enemy back to a blank one with nothing held, last slot first.
    void ReleaseAll();

    std::array<TEnemy, kSize> enemies;
    // Every slot once, sorted by its enemy's drawKey; drawn first to last.
    std::array<TDrawOrderEntry, kSize> drawOrder;
    // Built by the bullets' update for their scans; told of every enemy spawned meanwhile.
    TEnemyGrid grid;

private:
    // Moves the pair of a slot whose key changed to its place in the sorted table.
    void SortIntoDrawOrder(int32_t slot);
};
