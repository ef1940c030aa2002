#include "project/record_writer.h"

#include <cstring>

#include "project/project.h"

ByteWriter& ByteWriter::U8(uint8_t v) {
    bytes_.push_back(v);
    return *this;
}

ByteWriter& ByteWriter::U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
}

ByteWriter& ByteWriter::I32(int32_t v) {
    return U32(static_cast<uint32_t>(v));
}

ByteWriter& ByteWriter::F64(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    for (int i = 0; i < 8; ++i) bytes_.push_back(static_cast<uint8_t>(bits >> (8 * i)));
    return *this;
}

ByteWriter& ByteWriter::Str(const TString& text) {
    size_t n = text.Length();
    U32(static_cast<uint32_t>(n + 1));
    const char* p = text.c_str();
    bytes_.insert(bytes_.end(), p, p + n);
    return U8(0);
}

void WriteGlobal(ByteWriter& out, const TProject& project) {
    out.I32(project.sceneStart).Str(project.windowTitle).U8(project.globalFlag);
}

void WriteSpriteDef(ByteWriter& out, const TSpriteDef& s) {
    out.Str(s.name).U8(s.animate).I32(s.frameWidth).I32(s.frameHeight).I32(s.frameCount);
    out.I32(s.framesPerStep);
}

void WriteSoundDef(ByteWriter& out, const TSoundDef& s) {
    out.Str(s.name).U8(s.streamFromFile).Str(s.fileName).I32(s.volume).U8(s.loop);
}

void WritePlayerDef(ByteWriter& out, const TPlayerDef& p) {
    out.I32(p.unused0).I32(p.unused1).F64(p.moveSpeed).I32(p.initialLife).I32(p.initialBombs);
    out.I32(p.hitRadius).U8(p.invincible);
    for (uint8_t b : p.padding) out.U8(b);
}

void WriteBulletDef(ByteWriter& out, const TBulletDef& b) {
    out.Str(b.name).I32(b.sprite).I32(b.hitRadius).I32(b.imageDirection).I32(b.sound);
}

void WriteItemDef(ByteWriter& out, const TItemDef& i) {
    out.Str(i.name).I32(i.sprite).I32(i.attribute).I32(i.score);
}

void WriteActionEntry(ByteWriter& out, const TActionEntry& e) {
    for (int32_t w : {e.command, e.paramA, e.paramB, e.extra, e.target, e.which, e.shotSpeed,
                      e.shotSpeedJitter, e.interval, e.count, e.countJitter, e.spacing,
                      e.spacingJitter, e.angleJitter, e.angleMode, e.angleValue})
        out.I32(w);
}

void WriteEnemyDef(ByteWriter& out, const TEnemyDef& e) {
    // The file stores bombDamage before imageDirection, unlike the record.
    out.Str(e.name).I32(e.sprite).U8(e.contactHurts).I32(e.shotResponse).I32(e.score);
    out.I32(e.durability).I32(e.bombDamage).I32(e.imageDirection).U8(e.explosion);
    out.I32(e.successor).I32(e.hitWidth).I32(e.hitHeight);
    out.I32(static_cast<int32_t>(e.actions.size()));
    for (const TActionEntry& a : e.actions) WriteActionEntry(out, a);
    out.I32(e.dropCount).I32(static_cast<int32_t>(e.dropKinds.size()));
    for (int32_t k : e.dropKinds) out.I32(k);
    out.I32(e.groundDistance);
}

void WriteScene(ByteWriter& out, const std::vector<TSceneCommand>& scene) {
    out.U32(static_cast<uint32_t>(scene.size()));
    for (const TSceneCommand& c : scene)
        out.I32(c.command).I32(c.p1).I32(c.p2).I32(c.p3).I32(c.p4).I32(c.p5).I32(c.p6);
}

void WriteMapDef(ByteWriter& out, const TMapDef& map) {
    out.Str(map.name).I32(map.value).I32(static_cast<int32_t>(map.cells.size()));
    for (const TMapCell& cell : map.cells)
        for (int32_t w : cell) out.I32(w);
}

void WriteMapOrder(ByteWriter& out, const std::vector<int32_t>& order) {
    out.I32(static_cast<int32_t>(order.size()));
    for (int32_t v : order) out.I32(v);
}
