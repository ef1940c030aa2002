// A whole game played from the input: the bytes become a project (every kind of record, most
// of them spent on the scene script and the enemies' action lists) and the keys of each
// frame. The project's files are handed to the game as a data folder in memory, which the
// game cannot write to (its saves fail as in a read-only folder); start-up, the readers, the
// world and the drawing are the game's own, on the headless host. The game is played for a
// few hundred frames, and no frame may take more than ORVAN_FUZZ_FRAME_MS milliseconds of
// processor time (default 1000): a hostile project must never freeze the game.

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "base/app.h"
#include "base/paths.h"
#include "media/host.h"
#include "media/inspect.h"
#include "project/definition_files.h"
#include "project/project.h"
#include "project/record_writer.h"
#include "shell/game.h"
#include "shell/replay.h"
#include "shell/state_dump.h"
#include "sys/sys.h"

namespace {

namespace fs = std::filesystem;

constexpr int kPlayFrames = 240;    // frames played when the input starts in play
constexpr int kTitleFrames = 480;   // from the title screen, through the menus
constexpr int kPixelsEvery = 16;    // one frame in sixteen draws its picture into the pixels
constexpr int kRecordNumbers = 16;  // most references point at the first few records
constexpr int kSpriteNumbers = 24;

// Values at the ends of their ranges, picked by the top sixteen byte values.
constexpr int32_t kExtremes[16] = {INT32_MIN,     INT32_MAX,    -1,   0,     1,     255,    256,
                                   1023,          1024,         2048, 65535, 65536, -65536, 1 << 24,
                                   INT32_MIN + 1, INT32_MAX - 1};

// Reads the input front to back; past its end every value is 0.
class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Empty() const { return pos_ >= size_; }
    uint8_t U8() { return pos_ < size_ ? data_[pos_++] : 0; }
    // Mostly lo..hi; one byte value in sixteen gives an extreme instead.
    int32_t Pick(int32_t lo, int32_t hi) {
        uint8_t b = U8();
        if (b >= 0xF0) return kExtremes[b & 15];
        return static_cast<int32_t>(lo + static_cast<int64_t>(b) % (int64_t{hi} - lo + 1));
    }
    // As Pick with two bytes, for positions and angles.
    int32_t Wide(int32_t lo, int32_t hi) {
        uint8_t b = U8();
        if (b >= 0xF0) return kExtremes[b & 15];
        int64_t v = (int64_t{b} << 8) | U8();
        return static_cast<int32_t>(lo + v % (int64_t{hi} - lo + 1));
    }
    std::vector<uint8_t> Raw(size_t n) {
        n = std::min(n, size_ - std::min(pos_, size_));
        std::vector<uint8_t> out(data_ + pos_, data_ + pos_ + n);
        pos_ += n;
        return out;
    }
    TString Text() {
        std::vector<uint8_t> raw = Raw(U8() % 12);
        return TString(std::string(raw.begin(), raw.end()).c_str());
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

struct Asset {
    std::string name;
    std::vector<uint8_t> bytes;
};

std::vector<uint8_t> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// The small fixed pictures and sounds the records choose from, by their place in these
// lists: seeds of the two media targets. (Fixed names, so that new seeds there do not change
// what the inputs here mean.)
std::vector<Asset> LoadAssets(const char* folder, std::initializer_list<const char*> names) {
    std::vector<Asset> assets;
    for (const char* name : names)
        assets.push_back({name, ReadFile(fs::path(ORVAN_FUZZ_CORPUS) / folder / name)});
    return assets;
}

const std::vector<Asset>& Pictures() {
    static const std::vector<Asset> pictures =
        LoadAssets("fuzz_image", {"Frame.png", "Sprite13.png", "Sprite16.png", "Sprite23.png"});
    return pictures;
}
const std::vector<Asset>& Sounds() {
    static const std::vector<Asset> sounds = LoadAssets(
        "fuzz_sound",
        {"alaw.wav", "chunks.wav", "encoded.ogg", "extensible.wav", "float32.wav", "floor_only.ogg",
         "headers_only.ogg", "ima_adpcm.wav", "ms_adpcm.wav", "mulaw.wav", "pcm_s16_stereo.wav",
         "pcm_s24.wav", "pcm_s32.wav", "pcm_u8.wav", "residue.ogg", "stereo.ogg"});
    return sounds;
}

TActionEntry ReadAction(Bytes& in) {
    TActionEntry e;
    e.command = in.Pick(0, 30);
    e.paramA = in.Wide(-100, 600);
    e.paramB = in.Wide(-100, 600);
    e.extra = in.Pick(0, 8);
    e.target = in.Pick(0, 2);
    e.which = in.Pick(0, kRecordNumbers - 1);
    e.shotSpeed = in.Pick(-10, 100);
    e.shotSpeedJitter = in.Pick(0, 20);
    e.interval = in.Pick(0, 60);
    e.count = in.Pick(0, 64);
    e.countJitter = in.Pick(0, 5);
    e.spacing = in.Pick(-30, 180);
    e.spacingJitter = in.Pick(0, 10);
    e.angleJitter = in.Pick(0, 30);
    e.angleMode = in.Pick(0, 6);
    e.angleValue = in.Wide(-360, 360);
    return e;
}

TSceneCommand ReadSceneCommand(Bytes& in) {
    TSceneCommand c;
    c.command = in.Pick(0, 9);
    switch (c.command) {
        case 0:
            c.p1 = in.Pick(0, 120);
            break;
        case 1:
            c.p1 = in.Pick(0, kSpriteNumbers - 1);
            break;
        case 2:
            c.p1 = in.Pick(-50, 50);
            break;
        case 3:
            c.p1 = in.Pick(0, kRecordNumbers - 1);
            c.p2 = in.Pick(0, 4);
            c.p3 = in.Wide(-50, 500);
            c.p4 = in.Pick(-10, 100);
            c.p5 = in.Wide(0, 360);
            c.p6 = in.Pick(0, 1);
            break;
        default:
            c.p1 = in.Pick(-1, kRecordNumbers - 1);
            break;
    }
    return c;
}

// The project's files, as the editor would have written them, from the input.
class ProjectFiles {
public:
    explicit ProjectFiles(Bytes& in) : in_(in) {}

    void Build(bool withFrame, bool withGlobal) {
        while (!in_.Empty()) {
            switch (in_.U8() % 12) {
                case 0:
                    sceneStart_ = in_.Pick(-3, 20);
                    title_ = in_.Text();
                    break;
                case 1: {
                    int n = in_.Pick(0, kSpriteNumbers - 1);
                    if (n < 0 || n >= kSpriteCount) break;
                    TSpriteDef& s = sprites_[n];
                    s.animate = in_.U8() & 1;
                    s.frameWidth = in_.Pick(0, 64);
                    s.frameHeight = in_.Pick(0, 64);
                    s.frameCount = in_.Pick(0, 16);
                    s.framesPerStep = in_.Pick(-1, 30);
                    Add(NumberedPath(kSpriteFolder, "Sprite%d.bin", n),
                        [&](ByteWriter& w) { WriteSpriteDef(w, s); });
                    size_t picture = in_.U8() % (Pictures().size() + 1);
                    if (picture < Pictures().size())
                        Add(MakeSpritePath(n), Pictures()[picture].bytes);
                    break;
                }
                case 2: {
                    int n = in_.Pick(0, kRecordNumbers - 1);
                    if (n < 0 || n >= kSoundCount) break;
                    TSoundDef& s = sounds_[n];
                    s.streamFromFile = in_.U8() & 1;
                    s.volume = in_.Pick(0, 255);
                    s.loop = in_.U8() & 1;
                    size_t sound = in_.U8() % (Sounds().size() + 1);
                    if (sound < Sounds().size()) {
                        s.fileName = Sounds()[sound].name.c_str();
                        Add(JoinPath(kSoundFolder, s.fileName), Sounds()[sound].bytes);
                    }
                    Add(NumberedPath(kSoundFolder, "Sound%d.bin", n),
                        [&](ByteWriter& w) { WriteSoundDef(w, s); });
                    break;
                }
                case 3:
                    player_.moveSpeed = in_.Pick(-10, 100);
                    player_.initialLife = in_.Pick(0, 5);
                    player_.initialBombs = in_.Pick(0, 5);
                    player_.hitRadius = in_.Pick(0, 16);
                    player_.invincible = in_.U8() & 1;
                    Add(JoinPath(kGlobalFolder, "Player.bin"),
                        [&](ByteWriter& w) { WritePlayerDef(w, player_); });
                    break;
                case 4: {
                    int n = in_.Pick(0, kRecordNumbers - 1);
                    if (n < 0 || n >= kBulletCount) break;
                    TBulletDef& b = bullets_[n];
                    b.sprite = in_.Pick(0, kSpriteNumbers - 1);
                    b.hitRadius = in_.Pick(0, 32);
                    b.imageDirection = in_.Pick(0, 3);
                    b.sound = in_.Pick(-1, kRecordNumbers - 1);
                    Add(NumberedPath(kBulletFolder, "Bullet%d.bin", n),
                        [&](ByteWriter& w) { WriteBulletDef(w, b); });
                    break;
                }
                case 5: {
                    int n = in_.Pick(0, kRecordNumbers - 1);
                    if (n < 0 || n >= kItemCount) break;
                    TItemDef& item = items_[n];
                    item.sprite = in_.Pick(0, kSpriteNumbers - 1);
                    item.attribute = in_.Pick(0, 4);
                    item.score = in_.Pick(0, 1000);
                    Add(NumberedPath(kItemFolder, "Item%d.bin", n),
                        [&](ByteWriter& w) { WriteItemDef(w, item); });
                    break;
                }
                case 6:
                case 7:
                    ReadEnemy();
                    break;
                case 8:
                case 9: {
                    int count = in_.U8() % 32;
                    for (int i = 0; i < count; ++i) scene_.push_back(ReadSceneCommand(in_));
                    break;
                }
                case 10: {
                    // A file as it is, truncated or damaged: the readers keep what fits.
                    static const char* const kNames[] = {
                        "Global\\Global.bin",   "Global\\Player.bin",  "Global\\Scene.bin",
                        "Sprite\\Sprite%d.bin", "Sound\\Sound%d.bin",  "Bullet\\Bullet%d.bin",
                        "Item\\Item%d.bin",     "Enemy\\Enemy%d.bin",  "Map\\Map%d.bin",
                        "Map\\Order.bin",       "Sprite\\Sprite%d.png"};
                    const char* name = kNames[in_.U8() % std::size(kNames)];
                    TString path;
                    path.Format(name, in_.Pick(0, kRecordNumbers - 1));  // NOLINT
                    Add(path, in_.Raw(in_.U8() * 2));
                    break;
                }
                case 11: {
                    // Keys: spans of frames with the arrows, X, Z and Escape in the bits.
                    int count = in_.U8() % 16;
                    for (int i = 0; i < count; ++i) keys.push_back({in_.U8(), in_.U8()});
                    break;
                }
            }
        }
        if (!scene_.empty())
            Add(JoinPath(kGlobalFolder, "Scene.bin"),
                [&](ByteWriter& w) { WriteScene(w, scene_); });
        // "Global.bin": the first scene command, the window title, a flag nobody reads.
        if (withGlobal)
            Add(JoinPath(kGlobalFolder, "Global.bin"),
                [&](ByteWriter& w) { w.I32(sceneStart_).Str(title_).U8(0); });
        if (withFrame) {
            for (const Asset& a : Pictures())
                if (a.name == "Frame.png") Add("Frame.png", a.bytes);
        }
    }

    struct KeySpan {
        uint8_t frames;
        uint8_t bits;
    };
    std::vector<sys::MemoryFile> files;
    std::vector<KeySpan> keys;

private:
    void ReadEnemy() {
        int n = in_.Pick(0, kRecordNumbers - 1);
        if (n < 0 || n >= kEnemyCount) return;
        TEnemyDef& e = enemies_[n];
        e.sprite = in_.Pick(0, kSpriteNumbers - 1);
        e.contactHurts = in_.U8() & 1;
        e.shotResponse = in_.Pick(0, 3);
        e.score = in_.Pick(0, 1000);
        e.durability = in_.Pick(-1, 50);
        e.imageDirection = in_.Pick(0, 3);
        e.explosion = in_.U8() & 1;
        e.successor = in_.Pick(-1, kRecordNumbers - 1);
        e.bombDamage = in_.Pick(0, 10);
        e.hitWidth = in_.Pick(-1, 32);
        e.hitHeight = in_.Pick(-1, 32);
        int actions = in_.U8() % 33;
        e.actions.clear();
        for (int i = 0; i < actions; ++i) e.actions.push_back(ReadAction(in_));
        e.dropCount = in_.Pick(0, 10);
        int kinds = in_.U8() % 4;
        e.dropKinds.clear();
        for (int i = 0; i < kinds; ++i) e.dropKinds.push_back(in_.Pick(-1, kRecordNumbers - 1));
        e.groundDistance = in_.Pick(-5, 5);
        Add(NumberedPath(kEnemyFolder, "Enemy%d.bin", n),
            [&](ByteWriter& w) { WriteEnemyDef(w, e); });
    }

    template <typename Write>
    void Add(const TString& path, Write write) {
        ByteWriter w;
        write(w);
        Add(path, w.bytes());
    }
    void Add(const TString& path, std::vector<uint8_t> bytes) {
        // A later record of the same file replaces the earlier one.
        for (sys::MemoryFile& f : files) {
            if (f.path == path.c_str()) {
                f.bytes = std::move(bytes);
                return;
            }
        }
        files.push_back({path.c_str(), std::move(bytes)});
    }

    Bytes& in_;
    // Only the records the input touches are written; the rest keep the editor's defaults.
    int32_t sceneStart_ = 0;
    TString title_ = "Orvan";
    std::map<int, TSpriteDef> sprites_;
    std::map<int, TSoundDef> sounds_;
    TPlayerDef player_;
    std::map<int, TBulletDef> bullets_;
    std::map<int, TItemDef> items_;
    std::map<int, TEnemyDef> enemies_;
    std::vector<TSceneCommand> scene_;
};

// Scan codes of the key bits: the arrows, X, Z, Escape; bit 7 is the pad's fire button.
constexpr uint8_t kKeyCodes[7] = {0xC8, 0xD0, 0xCB, 0xCD, 0x2D, 0x2C, 0x01};

// ORVAN_FUZZ_PLAY_VERBOSE=1 says what each input played, for checking the seeds.
bool Verbose() {
    static const bool verbose = std::getenv("ORVAN_FUZZ_PLAY_VERBOSE") != nullptr;
    return verbose;
}
struct Most {
    int enemies = 0, bullets = 0, items = 0;
    // The state dumps of every frame, hashed together; they count the random draws since the
    // process started, so compare runs of the same inputs in the same order.
    uint64_t states = 0;
} g_most;
void CountActors(const TGame& game) {
    g_most.states = g_most.states * 1099511628211ull ^ Checksum(DumpState(game));
    auto alive = [](const auto& pool) {
        int n = 0;
        for (const auto& a : pool) n += a.alive;
        return n;
    };
    g_most.enemies = std::max(g_most.enemies, alive(game.world.enemies.enemies));
    g_most.bullets = std::max(g_most.bullets, alive(game.world.bullets.bullets));
    g_most.items = std::max(g_most.items, alive(game.world.items.items));
}

// The processor time of the whole process (the drawing's helper thread included): on a busy
// machine a frame may wait long for a processor, but only a frame that works that long is
// a finding. A frame stuck waiting is left to libFuzzer's timeout.
int64_t CpuTimeMs() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return int64_t{t.tv_sec} * 1000 + t.tv_nsec / 1000000;
}

int FrameLimitMs() {
    static const int limit = [] {
        const char* text = std::getenv("ORVAN_FUZZ_FRAME_MS");
        int ms = text ? std::atoi(text) : 0;
        return ms > 0 ? ms : 1000;
    }();
    return limit;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    // Boxes (a missing frame picture, a failed check) go to stderr, as on the headless host.
    static const bool boxesToStderr = (sys::SetMessageBoxesToStderr(true), true);
    (void)boxesToStderr;
    Bytes in(data, size);
    const uint8_t options = in.U8();
    uint32_t seed = 0;
    for (int shift = 0; shift < 32; shift += 8) seed |= uint32_t{in.U8()} << shift;
    const bool fromTitle = (options & 0x07) == 0x07;   // one input in eight
    const bool withFrame = (options & 0x38) != 0x38;   // one in eight lacks the menu frame
    const bool withGlobal = (options & 0xC0) != 0xC0;  // one in four upgrades the layout
    ProjectFiles project(in);
    project.Build(withFrame, withGlobal);

    sys::UseMemoryFiles(&project.files);
    // What lives outside the game's objects starts afresh, so that an input plays the same
    // alone as in a run: the quit request, the clock and the frame timing.
    sys::ClearQuit();
    sys::UseVirtualClock(true, 0);
    FrameTiming() = TFrameTiming{};
    media::SetHost(media::CreateHeadlessHost());
    const auto& keys = project.keys;
    media::SetInputOverride([&keys](uint32_t frame, uint8_t k[256], int* pad) {
        if (keys.empty()) {
            k[0x2D] = 1;  // no keys given: fire all the time
            return;
        }
        // The spans repeat for as long as the game runs.
        uint32_t total = 0;
        for (const auto& s : keys) total += s.frames + 1u;
        uint32_t at = frame % total;
        for (const auto& s : keys) {
            if (at <= s.frames) {
                for (int b = 0; b < 7; ++b)
                    if (s.bits & (1 << b)) k[kKeyCodes[b]] = 1;
                if (s.bits & 0x80) *pad |= 0x40;
                return;
            }
            at -= s.frames + 1u;
        }
    });

    {
        // The game's objects are large: kept in the same memory for every input, they cost
        // no fresh pages each time.
        alignas(TGame) static unsigned char storage[sizeof(TGame)];
        struct Destroy {
            void operator()(TGame* g) const { g->~TGame(); }
        };
        std::unique_ptr<TGame, Destroy> game(new (storage) TGame);
        TStartup startup;
        startup.changeIntoData = false;
        startup.seedGiven = true;
        startup.seed = seed;
        startup.windowMode = 1;
        int exitCode = 0;
        if (game->Startup(startup, &exitCode)) {
            if (!fromTitle) game->states = {kBoot, kGameStart, kGamePlay};
            const int frames = fromTitle ? kTitleFrames : kPlayFrames;
            for (int i = 0; i < frames; ++i) {
                media::SetPixelsWritten(i % kPixelsEvery == kPixelsEvery - 1);
                const int64_t start = CpuTimeMs();
                bool more = game->Frame();
                const int64_t ms = CpuTimeMs() - start;
                if (ms > FrameLimitMs()) {
                    std::fprintf(stderr, "fuzz_play: frame %u took %lld ms (limit %d)\n",
                                 game->frame, static_cast<long long>(ms), FrameLimitMs());
                    std::abort();
                }
                if (!more) break;
                // Straight into play: full brightness once Boot has run.
                if (!fromTitle && i == 0) game->app.fade = 255;
                if (Verbose()) CountActors(*game);
            }
            if (Verbose()) {
                std::fprintf(stderr,
                             "fuzz_play: %u frames, front state %d, score %u, scene entry %d; at "
                             "most %d enemies, %d bullets, %d items alive; states %016llx\n",
                             game->frame, game->states.empty() ? -1 : game->states.front(),
                             game->world.scorePanel.score, game->world.scene.entryIndex,
                             g_most.enemies, g_most.bullets, g_most.items,
                             static_cast<unsigned long long>(g_most.states));
                g_most = {};
            }
        }
        game->Shutdown();
        media::SetPixelsWritten(true);
    }
    media::SetInputOverride(nullptr);
    sys::UseMemoryFiles(nullptr);
    return 0;
}
