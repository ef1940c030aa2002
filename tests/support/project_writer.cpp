#include "support/project_writer.h"

#include <sys/stat.h>

#include <cstring>
#include <fstream>
#include <stdexcept>

#include "sys/sys.h"

const char kUnregisteredCp932[] = "<\x96\xa2\x93\x6f\x98\x5e>";

std::string Cp932(const char* utf8) {
    return sys::Utf8ToCp932(utf8);
}

Bytes& Bytes::U8(uint8_t v) {
    bytes_.push_back(static_cast<char>(v));
    return *this;
}

Bytes& Bytes::U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) U8(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
}

Bytes& Bytes::F64(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    for (int i = 0; i < 8; ++i) U8(static_cast<uint8_t>(bits >> (8 * i)));
    return *this;
}

Bytes PlayerFile::Encode() const {
    Bytes b;
    b.I32(unused0).I32(unused1).F64(moveSpeed).I32(initialLife).I32(initialBombs);
    b.I32(hitRadius).U8(invincible);
    for (uint8_t p : padding) b.U8(p);
    return b;
}

Bytes EnemyFile::Encode() const {
    Bytes b;
    b.Str(name).I32(sprite).U8(contactHurts).I32(shotResponse).I32(score).I32(durability);
    b.I32(bombDamage).I32(imageDirection).U8(explosion).I32(successor).I32(hitWidth);
    b.I32(hitHeight).I32(actionCount.value_or(static_cast<int32_t>(actions.size())));
    for (const TActionEntry& e : actions)
        for (int32_t w : {e.command, e.paramA, e.paramB, e.extra, e.target, e.which, e.shotSpeed,
                          e.shotSpeedJitter, e.interval, e.count, e.countJitter, e.spacing,
                          e.spacingJitter, e.angleJitter, e.angleMode, e.angleValue})
            b.I32(w);
    b.I32(dropCount).I32(dropKindCount.value_or(static_cast<int32_t>(dropKinds.size())));
    for (int32_t k : dropKinds) b.I32(k);
    return b.I32(groundDistance);
}

Bytes SceneFile::Encode() const {
    Bytes b;
    b.U32(count.value_or(static_cast<uint32_t>(commands.size())));
    for (const SceneWords& c : commands)
        for (int32_t w : c) b.I32(w);
    return b;
}

Bytes MapFile::Encode() const {
    Bytes b;
    b.Str(name).I32(value).I32(cellCount.value_or(static_cast<int32_t>(cells.size())));
    for (const MapCellWords& c : cells)
        for (int32_t w : c) b.I32(w);
    return b;
}

Bytes OrderFile::Encode() const {
    Bytes b;
    b.I32(count.value_or(static_cast<int32_t>(values.size())));
    for (int32_t v : values) b.I32(v);
    return b;
}

ProjectWriter::ProjectWriter(std::string dataDir) : dataDir_(std::move(dataDir)) {
    ::mkdir(dataDir_.c_str(), 0777);
}

ProjectWriter& ProjectWriter::KindFolders() {
    for (const char* kind : {"Bullet", "Enemy", "Global", "Item", "Map", "Sound", "Sprite"})
        ::mkdir((dataDir_ + "/" + kind).c_str(), 0777);
    return *this;
}

ProjectWriter& ProjectWriter::File(const std::string& relative, const std::string& bytes) {
    std::string full = dataDir_ + "/" + relative;
    for (size_t i = dataDir_.size() + 1; i < full.size(); ++i)
        if (full[i] == '/') ::mkdir(full.substr(0, i).c_str(), 0777);
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + full);
    return *this;
}
