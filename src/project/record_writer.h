// The writers of every project file, the exact counterparts of the readers in
// definition_files.h: Write* appends one record in its stored form, so that Read* of the
// bytes gives the record back. Lists are written with their own sizes as counts, and
// strings with their terminator (L = length + 1).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/tstring.h"
#include "project/actor_defs.h"
#include "project/sprite_sound_defs.h"
#include "project/stage_defs.h"

struct TProject;

// A little-endian byte builder.
class ByteWriter {
public:
    ByteWriter& U8(uint8_t v);
    ByteWriter& U32(uint32_t v);
    ByteWriter& I32(int32_t v);
    ByteWriter& F64(double v);
    // A stored string: uint32 L = length + 1, the text, a zero byte.
    ByteWriter& Str(const TString& text);

    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

void WriteGlobal(ByteWriter& out, const TProject& project);
void WriteSpriteDef(ByteWriter& out, const TSpriteDef& sprite);
void WriteSoundDef(ByteWriter& out, const TSoundDef& sound);
void WritePlayerDef(ByteWriter& out, const TPlayerDef& player);
void WriteBulletDef(ByteWriter& out, const TBulletDef& bullet);
void WriteItemDef(ByteWriter& out, const TItemDef& item);
void WriteActionEntry(ByteWriter& out, const TActionEntry& entry);
void WriteEnemyDef(ByteWriter& out, const TEnemyDef& enemy);
void WriteScene(ByteWriter& out, const std::vector<TSceneCommand>& scene);
void WriteMapDef(ByteWriter& out, const TMapDef& map);
void WriteMapOrder(ByteWriter& out, const std::vector<int32_t>& order);
