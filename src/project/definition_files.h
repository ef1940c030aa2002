// The readers of every project file, one per kind. Each Read* parses one record from the
// bytes of its file; each Load* forms the record's path, reads the file and parses it.
// LoadProject calls the Load* functions in the game's fixed order; tools and fuzz targets
// may call either kind directly.
#pragma once

#include <cstdint>
#include <vector>

#include "base/tstring.h"
#include "project/actor_defs.h"
#include "project/byte_reader.h"
#include "project/sprite_sound_defs.h"
#include "project/stage_defs.h"

struct TProject;

// What became of one file.
enum class FileStatus {
    Loaded,     // every field was present
    Missing,    // the file did not open (or could not be read): the record keeps its defaults
    Truncated,  // the file ended early: the fields read completely were kept
};

// The path of numbered file 'number' in 'folder': the folder joined with 'nameFormat'
// ("Sprite%d.bin") and then formatted with the number, so record 12 is ...Sprite12.bin.
TString NumberedPath(const TString& folder, const char* nameFormat, int number);

// Parsers: true when the record was complete. A parser fills fields in stored order and
// stops at the first one that does not fit; lists keep their complete elements.
bool ReadGlobal(ByteReader& in, TProject& project);
bool ReadSpriteDef(ByteReader& in, TSpriteDef& sprite);
bool ReadSoundDef(ByteReader& in, TSoundDef& sound);
bool ReadPlayerDef(ByteReader& in, TPlayerDef& player);
bool ReadBulletDef(ByteReader& in, TBulletDef& bullet);
bool ReadItemDef(ByteReader& in, TItemDef& item);
bool ReadActionEntry(ByteReader& in, TActionEntry& entry);
bool ReadEnemyDef(ByteReader& in, TEnemyDef& enemy);
bool ReadScene(ByteReader& in, std::vector<TSceneCommand>& scene);
bool ReadMapDef(ByteReader& in, TMapDef& map);
bool ReadMapOrder(ByteReader& in, std::vector<int32_t>& order);

// File loaders, paths relative to the current folder. 'buffer' is scratch space that a
// caller loading many files may pass to save allocations.
FileStatus LoadGlobal(TProject& project, std::vector<uint8_t>* buffer = nullptr);
FileStatus LoadSpriteDef(TSpriteDef& sprite, int number, std::vector<uint8_t>* buffer = nullptr);
FileStatus LoadSoundDef(TSoundDef& sound, int number, std::vector<uint8_t>* buffer = nullptr);
FileStatus LoadPlayerDef(TPlayerDef& player, std::vector<uint8_t>* buffer = nullptr);
FileStatus LoadBulletDef(TBulletDef& bullet, int number, std::vector<uint8_t>* buffer = nullptr);
FileStatus LoadItemDef(TItemDef& item, int number, std::vector<uint8_t>* buffer = nullptr);
FileStatus LoadEnemyDef(TEnemyDef& enemy, int number, std::vector<uint8_t>* buffer = nullptr);
FileStatus LoadScene(std::vector<TSceneCommand>& scene, std::vector<uint8_t>* buffer = nullptr);
FileStatus LoadMapDef(TMapDef& map, int number, std::vector<uint8_t>* buffer = nullptr);
FileStatus LoadMapOrder(std::vector<int32_t>& order, std::vector<uint8_t>* buffer = nullptr);
