// TProject: the database of one game, fixed tables of definition records filled once from
// the data folder and read-only afterwards (apart from the sprites' draw state).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/tstring.h"
#include "project/actor_defs.h"
#include "project/sprite_sound_defs.h"
#include "project/stage_defs.h"

constexpr int kSpriteCount = 1024;
constexpr int kSoundCount = 256;
constexpr int kBulletCount = 256;
constexpr int kItemCount = 256;
constexpr int kEnemyCount = 256;
constexpr int kMapCount = 256;

// Large (a few hundred kilobytes): construct it once, on the heap or in RunGame's frame.
struct TProject {
    TProject() = default;
    TProject(const TProject&) = delete;
    TProject& operator=(const TProject&) = delete;

    int32_t sceneStart = 0;  // the scene command a new game starts at
    TString windowTitle = "Orvan";
    uint8_t globalFlag = 0;  // stored, not used by the game
    std::array<TSpriteDef, kSpriteCount> sprites;
    std::array<TSoundDef, kSoundCount> sounds;
    TPlayerDef player;
    std::array<TBulletDef, kBulletCount> bullets;
    std::array<TItemDef, kItemCount> items;
    std::array<TEnemyDef, kEnemyCount> enemies;
    std::vector<TSceneCommand> scene;
    std::array<TMapDef, kMapCount> maps;
    std::vector<int32_t> mapOrder;
};

// Fills the project from the current folder (the data folder). When "Global\Global.bin" is
// missing, the data folder is upgraded to the kind-folder layout instead and nothing is
// loaded. Missing or damaged files never fail: their records keep the defaults.
// With 'problems' (author mode's reload) the load also lists each file that is there but
// cannot be read or ends inside a record, and a folder without "Global\Global.bin" is
// only reported, never upgraded.
void LoadProject(TProject& project, std::vector<std::string>* problems = nullptr);

// The layout upgrade on its own: creates the seven kind folders and moves the sprite images
// and the sound files named by the (default) sound records out of the data folder into
// them. Nothing is ever overwritten.
void UpgradeLayout(const TProject& project);
