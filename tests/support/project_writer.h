// ProjectWriter: writes the files of a project's data folder byte by byte, for fixtures. One
// struct per record kind holds the stored fields with the editor's defaults; Encode() gives
// the exact bytes of its file. Bytes builds anything else, hostile files included:
//   w.Global({3, "Demo"}).File("Enemy/Enemy6.bin", EnemyFile{}.Encode().Prefix(10));
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "project/actor_defs.h"

// "<未登録>" in cp932: the name the editor gives a record that has none of its own.
extern const char kUnregisteredCp932[];

// cp932 bytes of UTF-8 text, for names and titles.
std::string Cp932(const char* utf8);

// A little-endian byte builder.
class Bytes {
public:
    Bytes& U8(uint8_t v);
    Bytes& I32(int32_t v) { return U32(static_cast<uint32_t>(v)); }
    Bytes& U32(uint32_t v);
    Bytes& F64(double v);
    // A well-formed stored string: L = size + 1, the bytes, a zero byte.
    Bytes& Str(const std::string& text) {
        return U32(static_cast<uint32_t>(text.size() + 1)).Raw(text).U8(0);
    }
    Bytes& Raw(const std::string& bytes) {
        bytes_ += bytes;
        return *this;
    }

    const std::string& str() const { return bytes_; }
    size_t size() const { return bytes_.size(); }
    // The first n bytes: the same file cut short.
    std::string Prefix(size_t n) const { return bytes_.substr(0, n); }

private:
    std::string bytes_;
};

struct GlobalFile {
    int32_t sceneStart = 0;
    std::string windowTitle = "Orvan";
    uint8_t globalFlag = 0;
    Bytes Encode() const { return Bytes().I32(sceneStart).Str(windowTitle).U8(globalFlag); }
};

struct SpriteFile {
    std::string name = kUnregisteredCp932;
    uint8_t animate = 0;
    int32_t frameWidth = 32, frameHeight = 32, frameCount = 4, framesPerStep = 10;
    Bytes Encode() const {
        Bytes b = Bytes().Str(name).U8(animate);
        return b.I32(frameWidth).I32(frameHeight).I32(frameCount).I32(framesPerStep);
    }
};

struct SoundFile {
    std::string name = kUnregisteredCp932;
    uint8_t streamFromFile = 0;
    std::string fileName = std::string(kUnregisteredCp932) + ".wav";
    int32_t volume = 255;
    uint8_t loop = 0;
    Bytes Encode() const {
        return Bytes().Str(name).U8(streamFromFile).Str(fileName).I32(volume).U8(loop);
    }
};

// The 32-byte block of "Player.bin".
struct PlayerFile {
    int32_t unused0 = 32, unused1 = 32;
    double moveSpeed = 40.0;
    int32_t initialLife = 10, initialBombs = 3, hitRadius = 1;
    uint8_t invincible = 0;
    std::array<uint8_t, 3> padding = {0, 0, 0};
    Bytes Encode() const;
};

struct BulletFile {
    std::string name = kUnregisteredCp932;
    int32_t sprite = 0, hitRadius = 1, imageDirection = 0, sound = -1;
    Bytes Encode() const {
        return Bytes().Str(name).I32(sprite).I32(hitRadius).I32(imageDirection).I32(sound);
    }
};

struct ItemFile {
    std::string name = kUnregisteredCp932;
    int32_t sprite = 0, attribute = 0, score = 100;
    Bytes Encode() const { return Bytes().Str(name).I32(sprite).I32(attribute).I32(score); }
};

struct EnemyFile {
    std::string name = kUnregisteredCp932;
    int32_t sprite = 0;
    uint8_t contactHurts = 1;
    int32_t shotResponse = 0, score = 100, durability = 1;
    int32_t bombDamage = 1;  // stored before imageDirection
    int32_t imageDirection = 0;
    uint8_t explosion = 1;
    int32_t successor = -1, hitWidth = -1, hitHeight = -1;
    std::vector<TActionEntry> actions = {};
    std::optional<int32_t> actionCount = std::nullopt;  // N, M and K are the sizes unless set
    int32_t dropCount = 0;
    std::vector<int32_t> dropKinds = {};
    std::optional<int32_t> dropKindCount = std::nullopt;
    int32_t groundDistance = 0;
    Bytes Encode() const;
};

using SceneWords = std::array<int32_t, 7>;  // command, p1..p6

struct SceneFile {
    std::vector<SceneWords> commands = {};
    std::optional<uint32_t> count = std::nullopt;
    Bytes Encode() const;
};

using MapCellWords = std::array<int32_t, 13>;

struct MapFile {
    std::string name = kUnregisteredCp932;
    int32_t value = 0;
    std::vector<MapCellWords> cells = {};
    std::optional<int32_t> cellCount = std::nullopt;
    Bytes Encode() const;
};

struct OrderFile {
    std::vector<int32_t> values = {};
    std::optional<int32_t> count = std::nullopt;
    Bytes Encode() const;
};

// Each record writer puts its file where the game looks for it ("Sprite/Sprite12.bin").
class ProjectWriter {
public:
    // 'dataDir' is the host path of the data folder; it is made when its parent exists.
    explicit ProjectWriter(std::string dataDir);

    // The seven kind folders. The record writers make the folder they need themselves.
    ProjectWriter& KindFolders();

    ProjectWriter& Global(const GlobalFile& f = {}) {
        return File("Global/Global.bin", f.Encode());
    }
    ProjectWriter& Player(const PlayerFile& f = {}) {
        return File("Global/Player.bin", f.Encode());
    }
    ProjectWriter& Scene(const SceneFile& f = {}) { return File("Global/Scene.bin", f.Encode()); }
    ProjectWriter& Order(const OrderFile& f = {}) { return File("Map/Order.bin", f.Encode()); }
    ProjectWriter& Sprite(int n, const SpriteFile& f = {}) { return Put("Sprite", n, f.Encode()); }
    ProjectWriter& Sound(int n, const SoundFile& f = {}) { return Put("Sound", n, f.Encode()); }
    ProjectWriter& Bullet(int n, const BulletFile& f = {}) { return Put("Bullet", n, f.Encode()); }
    ProjectWriter& Item(int n, const ItemFile& f = {}) { return Put("Item", n, f.Encode()); }
    ProjectWriter& Enemy(int n, const EnemyFile& f = {}) { return Put("Enemy", n, f.Encode()); }
    ProjectWriter& Map(int n, const MapFile& f = {}) { return Put("Map", n, f.Encode()); }

    // Any bytes at a '/'-separated path relative to the data folder; parent folders are made.
    ProjectWriter& File(const std::string& relative, const std::string& bytes);
    ProjectWriter& File(const std::string& relative, const Bytes& bytes) {
        return File(relative, bytes.str());
    }
    ProjectWriter& File(const std::string& relative, const std::vector<unsigned char>& bytes) {
        return File(relative, std::string(bytes.begin(), bytes.end()));
    }

private:
    // "<kind>/<kind><n>.bin"
    ProjectWriter& Put(const std::string& kind, int n, const Bytes& bytes) {
        return File(kind + "/" + kind + std::to_string(n) + ".bin", bytes);
    }

    std::string dataDir_;
};
