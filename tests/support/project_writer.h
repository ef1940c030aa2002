// ProjectWriter: writes the files of a project's data folder byte by byte, for fixtures. One
// struct per record kind holds the stored fields with the editor's defaults; Encode() gives
// the exact bytes of its file. Bytes builds anything else, hostile files included.
//
//   TempDir dir;
//   ProjectWriter w(dir.path());
//   w.Global({3, "Demo"});
//   EnemyFile e;
//   e.actions = {Action(0, 25), Action(14, 60)};
//   w.Enemy(5, e);
//   w.File(ProjectWriter::EnemyPath(6), EnemyFile{}.Encode().Prefix(10));  // cut short
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
    Bytes& I32(int32_t v);
    Bytes& U32(uint32_t v);
    Bytes& F64(double v);
    // A well-formed stored string: L = size + 1, the bytes, a zero byte.
    Bytes& Str(const std::string& text);
    // A stored string as a hostile file may hold it: any length word, any bytes after it.
    Bytes& StrRaw(uint32_t length, const std::string& bytes);
    Bytes& Raw(const std::string& bytes);
    Bytes& Append(const Bytes& other);

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
    Bytes Encode() const;
};

struct SpriteFile {
    std::string name = kUnregisteredCp932;
    uint8_t animate = 0;
    int32_t frameWidth = 32;
    int32_t frameHeight = 32;
    int32_t frameCount = 4;
    int32_t framesPerStep = 10;
    Bytes Encode() const;
};

struct SoundFile {
    std::string name = kUnregisteredCp932;
    uint8_t streamFromFile = 0;
    std::string fileName = std::string(kUnregisteredCp932) + ".wav";
    int32_t volume = 255;
    uint8_t loop = 0;
    Bytes Encode() const;
};

// The 32-byte block of "Player.bin".
struct PlayerFile {
    int32_t unused0 = 32;
    int32_t unused1 = 32;
    double moveSpeed = 40.0;
    int32_t initialLife = 10;
    int32_t initialBombs = 3;
    int32_t hitRadius = 1;
    uint8_t invincible = 0;
    std::array<uint8_t, 3> padding = {0, 0, 0};
    Bytes Encode() const;
};

struct BulletFile {
    std::string name = kUnregisteredCp932;
    int32_t sprite = 0;
    int32_t hitRadius = 1;
    int32_t imageDirection = 0;
    int32_t sound = -1;
    Bytes Encode() const;
};

struct ItemFile {
    std::string name = kUnregisteredCp932;
    int32_t sprite = 0;
    int32_t attribute = 0;
    int32_t score = 100;
    Bytes Encode() const;
};

// An action entry with its command and first two parameters; set the other words by name.
TActionEntry Action(int32_t command, int32_t paramA = 0, int32_t paramB = 0);
// The sixteen words of an entry in stored order.
Bytes EncodeAction(const TActionEntry& entry);

struct EnemyFile {
    std::string name = kUnregisteredCp932;
    int32_t sprite = 0;
    uint8_t contactHurts = 1;
    int32_t shotResponse = 0;
    int32_t score = 100;
    int32_t durability = 1;
    int32_t bombDamage = 1;  // stored before imageDirection
    int32_t imageDirection = 0;
    uint8_t explosion = 1;
    int32_t successor = -1;
    int32_t hitWidth = -1;
    int32_t hitHeight = -1;
    std::vector<TActionEntry> actions = {};
    std::optional<int32_t> actionCount = std::nullopt;  // the stored N; actions.size() when not set
    int32_t dropCount = 0;
    std::vector<int32_t> dropKinds = {};
    std::optional<int32_t> dropKindCount =
        std::nullopt;  // the stored M; dropKinds.size() when not set
    int32_t groundDistance = 0;
    Bytes Encode() const;
};

using SceneWords = std::array<int32_t, 7>;  // command, p1..p6

struct SceneFile {
    std::vector<SceneWords> commands = {};
    std::optional<uint32_t> count = std::nullopt;  // the stored N; commands.size() when not set
    Bytes Encode() const;
};

using MapCellWords = std::array<int32_t, 13>;

struct MapFile {
    std::string name = kUnregisteredCp932;
    int32_t value = 0;
    std::vector<MapCellWords> cells = {};
    std::optional<int32_t> cellCount = std::nullopt;  // the stored K; cells.size() when not set
    Bytes Encode() const;
};

struct OrderFile {
    std::vector<int32_t> values = {};
    std::optional<int32_t> count = std::nullopt;  // the stored M; values.size() when not set
    Bytes Encode() const;
};

class ProjectWriter {
public:
    // 'dataDir' is the host path of the data folder; it must exist.
    explicit ProjectWriter(std::string dataDir);

    const std::string& dataDir() const { return dataDir_; }

    // The seven kind folders. The record writers make the folder they need themselves.
    ProjectWriter& KindFolders();

    ProjectWriter& Global(const GlobalFile& file = {});
    ProjectWriter& Sprite(int n, const SpriteFile& file = {});
    ProjectWriter& Sound(int n, const SoundFile& file = {});
    ProjectWriter& Player(const PlayerFile& file = {});
    ProjectWriter& Bullet(int n, const BulletFile& file = {});
    ProjectWriter& Item(int n, const ItemFile& file = {});
    ProjectWriter& Enemy(int n, const EnemyFile& file = {});
    ProjectWriter& Scene(const SceneFile& file = {});
    ProjectWriter& Map(int n, const MapFile& file = {});
    ProjectWriter& Order(const OrderFile& file = {});

    // Any bytes at a '/'-separated path relative to the data folder; parent folders are made.
    ProjectWriter& File(const std::string& relative, const std::string& bytes);
    ProjectWriter& File(const std::string& relative, const Bytes& bytes) {
        return File(relative, bytes.str());
    }
    ProjectWriter& File(const std::string& relative, const std::vector<unsigned char>& bytes) {
        return File(relative, std::string(bytes.begin(), bytes.end()));
    }

    // Where each file lies, relative to the data folder.
    static std::string GlobalPath() { return "Global/Global.bin"; }
    static std::string PlayerPath() { return "Global/Player.bin"; }
    static std::string ScenePath() { return "Global/Scene.bin"; }
    static std::string OrderPath() { return "Map/Order.bin"; }
    static std::string SpritePath(int n) { return Numbered("Sprite", n, ".bin"); }
    static std::string SpriteImagePath(int n) { return Numbered("Sprite", n, ".png"); }
    static std::string SoundPath(int n) { return Numbered("Sound", n, ".bin"); }
    static std::string BulletPath(int n) { return Numbered("Bullet", n, ".bin"); }
    static std::string ItemPath(int n) { return Numbered("Item", n, ".bin"); }
    static std::string EnemyPath(int n) { return Numbered("Enemy", n, ".bin"); }
    static std::string MapPath(int n) { return Numbered("Map", n, ".bin"); }

private:
    // "<kind>/<kind><n><ext>"
    static std::string Numbered(const std::string& kind, int n, const char* ext) {
        return kind + "/" + kind + std::to_string(n) + ext;
    }

    std::string dataDir_;
};
