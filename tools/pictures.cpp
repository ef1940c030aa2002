// The pictures are drawn with the media layer's own operations into its 640 x 480 back
// buffer; a picture larger than that is drawn tile by tile and the tiles are put together.
// Everything that moves is moved by the game library itself: the tool only watches.
#include "pictures.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "base/app.h"
#include "base/paths.h"
#include "media/host.h"
#include "media/inspect.h"
#include "media/media.h"
#include "project/codes.h"
#include "project/media_attach.h"
#include "project/project.h"
#include "render/game_picture.h"
#include "sys/sys.h"
#include "tool_project.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace tool {
namespace {

constexpr int kTileW = 640, kTileH = 480;

int Rgb(uint32_t rgb) {
    return MakeColor(static_cast<int>(rgb >> 16 & 0xFF), static_cast<int>(rgb >> 8 & 0xFF),
                     static_cast<int>(rgb & 0xFF));
}

// The game library on the headless media core, inside the data folder, for one picture.
class PictureSession {
public:
    PictureSession(const std::string& dataDir, uint32_t seed) {
        launchDir_ = fs::current_path();
        if (::chdir(dataDir.c_str()) != 0) throw ToolError(dataDir + ": cannot enter the folder");
        sys::UseVirtualClock(true, 0);
        sys::SetMessageBoxesToStderr(true);
        media::SetHost(media::CreateHeadlessHost());
        SetAppLogEnabled(0);
        SetScreenMode(640, 480, 32, 60);
        ChangeWindowMode(1);
        if (MediaInit() == -1) {
            Leave();
            throw ToolError("the media layer did not start");
        }
        SetDrawTarget(-2);
        SetDrawFilterMode(0);
        SetDrawBrightness(255, 255, 255);
        sys::SeedRandom(seed);
        project = std::make_unique<TProject>();
        // The checked load never upgrades an old layout: the tool changes nothing on disk.
        std::vector<std::string> problems;
        LoadProject(*project, &problems);
        LoadSpriteImages(*project);
        font = CreateFontToHandle(Sjis("ＭＳ ゴシック").c_str(), 14, 1, 2, -1, -1, -1, -1);
        small = CreateFontToHandle(Sjis("ＭＳ ゴシック").c_str(), 12, 1, 2, -1, -1, -1, -1);
    }
    ~PictureSession() {
        project.reset();
        MediaEnd();
        Leave();
    }
    PictureSession(const PictureSession&) = delete;
    PictureSession& operator=(const PictureSession&) = delete;

    void Text(int x, int y, const std::string& cp932, uint32_t rgb = 0xFFFFFF,
              bool smallFont = false) {
        DrawTextWithFont(x, y, cp932.c_str(), Rgb(rgb), smallFont ? small : font, Rgb(0), 0);
    }
    int TextWidth(const std::string& cp932, bool smallFont = false) {
        int w = GetTextWidthWithFont(cp932.c_str(), static_cast<int>(cp932.size()),
                                     smallFont ? small : font, 0);
        return w < 0 ? 0 : w;
    }

    std::unique_ptr<TProject> project;
    int font = -1;
    int small = -1;

private:
    void Leave() {
        std::error_code ec;
        fs::current_path(launchDir_, ec);
        sys::UseVirtualClock(false);
    }
    fs::path launchDir_;
};

// A picture of any size, drawn in tiles of the back buffer. 'draw' is called once per tile
// with the tile's origin and draws everything shifted by it.
class Canvas {
public:
    Canvas(int width, int height) : w_(std::max(width, 1)), h_(std::max(height, 1)) {
        px_.assign(static_cast<size_t>(w_) * h_, 0);
    }
    void Render(const std::function<void(int ox, int oy)>& draw) {
        for (int oy = 0; oy < h_; oy += kTileH) {
            for (int ox = 0; ox < w_; ox += kTileW) {
                ClearScreen();
                draw(ox, oy);
                const uint32_t* back = media::BackBuffer();
                const int cols = std::min(kTileW, w_ - ox), rows = std::min(kTileH, h_ - oy);
                for (int y = 0; y < rows; ++y)
                    std::copy(back + static_cast<size_t>(y) * kTileW,
                              back + static_cast<size_t>(y) * kTileW + cols,
                              px_.begin() + static_cast<size_t>(oy + y) * w_ + ox);
            }
        }
    }
    void Write(const std::string& path) const {
        if (!media::WritePixelsPng(path, px_.data(), w_, h_))
            throw ToolError(path + ": cannot write");
    }

private:
    int w_, h_;
    std::vector<uint32_t> px_;
};

std::string AbsoluteOut(const std::string& path) {
    return fs::absolute(path).string();
}

std::string Format(const char* format, long long a, long long b = 0, long long c = 0) {
    char text[128];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

// Frame 'k' of a sprite scaled to fit a box of 'box' pixels (never enlarged), centred on
// (cx, cy).
void DrawFitted(const TSpriteDef& s, size_t k, int cx, int cy, int box) {
    if (k >= s.frames.size()) return;
    const int big = std::max(s.imageWidth, s.imageHeight);
    const double scale = big > box ? static_cast<double>(box) / big : 1.0;
    DrawImageRotated(cx, cy, scale, 0.0, s.frames[k].image, 1, 0);
}

// ---- Sprite sheet ----------------------------------------------------------------------

constexpr int kSheetWidth = 1280;
constexpr int kLargest = 160;  // frames larger than this are shown scaled down

struct SheetBlock {
    int sprite = 0;
    int x = 0, y = 0, w = 0, h = 0;
    int cellW = 0, cellH = 0, perRow = 1;
    double scale = 1.0;
    std::string label;
};

// The project's stage as the game runs it, with nobody at the controls and the ship
// untouchable: the world linked, the stage background set, the ship and the script reset.
std::unique_ptr<TWorld> StageWorld(TApp& app, TProject& p) {
    auto world = std::make_unique<TWorld>();
    world->Link(&app, &p);
    world->player.noHits = true;
    world->background.SetSprite(8);
    world->player.Reset();
    world->scene.Reset();
    return world;
}

}  // namespace

void DrawSpriteSheet(const std::string& dataDir, const std::string& outPng) {
    const std::string out = AbsoluteOut(outPng);
    PictureSession session(dataDir, 1);
    TProject& p = *session.project;

    // Blocks in shelves: left to right, a new shelf when one is full.
    std::vector<SheetBlock> blocks;
    const int margin = 8, header = 32, content = kSheetWidth - 2 * margin;
    int x = margin, y = header, shelf = 0;
    for (int i = 0; i < kSpriteCount; ++i) {
        const TSpriteDef& s = p.sprites[i];
        if (s.frames.empty()) continue;
        SheetBlock b;
        b.sprite = i;
        const int big = std::max(s.imageWidth, s.imageHeight);
        b.scale = big > kLargest ? static_cast<double>(kLargest) / big : 1.0;
        b.cellW = std::max(1, static_cast<int>(std::ceil(s.imageWidth * b.scale))) + 4;
        b.cellH = std::max(1, static_cast<int>(std::ceil(s.imageHeight * b.scale))) + 4;
        const int count = static_cast<int>(s.frames.size());
        b.label = Format("%lld ", i) + s.name.c_str();
        std::string info = Format("%lldx%lld", s.imageWidth, s.imageHeight);
        if (count > 1) info += Format(" x%lld", count);
        if (b.scale < 1.0)
            info += Format(" (1/%lld)", static_cast<long long>(std::ceil(1.0 / b.scale)));
        b.label += "  " + info;
        const int labelW = session.TextWidth(b.label) + 8;
        b.perRow = std::max(1, std::min(count, content / b.cellW));
        const int rows = (count + b.perRow - 1) / b.perRow;
        b.w = std::max(labelW, b.perRow * b.cellW);
        b.w = std::min(b.w, content);
        b.h = 18 + rows * b.cellH;
        if (x + b.w > margin + content) {
            x = margin;
            y += shelf + 10;
            shelf = 0;
        }
        b.x = x;
        b.y = y;
        x += b.w + 12;
        shelf = std::max(shelf, b.h);
        blocks.push_back(b);
    }
    const int height = std::max(kTileH, y + shelf + margin);

    Canvas canvas(kSheetWidth, height);
    canvas.Render([&](int ox, int oy) {
        DrawRect(0, 0, kTileW, kTileH, Rgb(0x202428), 1);
        std::string title = std::string("Sprites: ") + p.windowTitle.c_str() +
                            Format("  (%lld with pictures)", static_cast<long long>(blocks.size()));
        session.Text(margin - ox, 8 - oy, title, 0xFFFFA0);
        for (const SheetBlock& b : blocks) {
            if (b.x - ox > kTileW || b.y - oy > kTileH || b.x + b.w - ox < 0 || b.y + b.h - oy < 0)
                continue;
            const TSpriteDef& s = p.sprites[b.sprite];
            session.Text(b.x - ox, b.y - oy, b.label, 0xFFFFFF);
            for (size_t k = 0; k < s.frames.size(); ++k) {
                const int col = static_cast<int>(k) % b.perRow,
                          row = static_cast<int>(k) / b.perRow;
                const int cx = b.x + col * b.cellW - ox, cy = b.y + 18 + row * b.cellH - oy;
                // The frame's own rectangle, so that its transparent parts show.
                DrawRect(cx, cy, cx + b.cellW - 2, cy + b.cellH - 2, Rgb(0x505860), 1);
                DrawImageRotated(cx + (b.cellW - 2) / 2, cy + (b.cellH - 2) / 2, b.scale, 0.0,
                                 s.frames[k].image, 1, 0);
            }
        }
        if (blocks.empty()) session.Text(margin - ox, 40 - oy, "no sprite has a picture", 0xFF8080);
    });
    canvas.Write(out);
}

// ---- Timeline ----------------------------------------------------------------------------

namespace {

struct EntryRun {
    uint32_t start = 0;  // first frame the entry ran (0: never)
    uint32_t last = 0;   // last frame it ran
    int phases = 0;      // a boss's phases that were beaten to let the script go on
};

constexpr uint32_t kRowFrames = 1200;  // 20 seconds a row, one pixel a frame
constexpr int kRowHeight = 256;
constexpr int kLeft = 56;
constexpr uint32_t kLongest = 60 * 60 * 10;  // ten minutes

// Frame numbers to the game's time (17 ms a frame), "m:ss".
std::string Clock(uint32_t frame) {
    const uint32_t seconds = static_cast<uint32_t>(uint64_t{frame} * 17 / 1000);
    return Format("%lld:%02lld", seconds / 60, seconds % 60);
}

}  // namespace

void DrawTimeline(const std::string& dataDir, const std::string& outPng, uint32_t seed,
                  uint32_t bossFrames) {
    const std::string out = AbsoluteOut(outPng);
    PictureSession session(dataDir, seed);
    TProject& p = *session.project;
    const std::vector<TSceneCommand>& script = p.scene;
    const int32_t n = static_cast<int32_t>(script.size());

    TApp app;
    auto world = StageWorld(app, p);
    std::vector<EntryRun> runs(static_cast<size_t>(n));
    uint32_t frame = 0, endFrame = 0, heldSince = 0;
    bool ended = false;
    while (frame < kLongest) {
        TScene& s = world->scene;
        const int32_t index = s.entryIndex;
        const bool runs_entry = !s.advancePending && index >= 0 && index < n;
        ++frame;
        world->Update();
        if (runs_entry) {
            EntryRun& r = runs[static_cast<size_t>(index)];
            if (r.start == 0) {
                r.start = frame;
                heldSince = frame;
            }
            r.last = frame;
            // A boss holds the script until it is beaten: here it is beaten after a while.
            const TSceneCommand& c = script[static_cast<size_t>(index)];
            if (c.command == kEnemyAppearance && c.p6 != 0 && frame - heldSince >= bossFrames &&
                s.watchedSlot >= 0 && s.watchedSlot < TEnemyPool::kSize &&
                world->enemies.enemies[s.watchedSlot].IsAlive()) {
                world->enemies.enemies[s.watchedSlot].Die();
                ++r.phases;
                heldSince = frame;
            }
        }
        if (s.stageEnded) {
            ended = true;
            endFrame = frame;
            break;
        }
        if (s.entryIndex >= n && s.advancePending && frame > 2) break;  // past the last entry
    }
    const uint32_t total = std::max<uint32_t>(frame, 1);
    const int rows = static_cast<int>((total + kRowFrames - 1) / kRowFrames);
    const int width = kLeft + static_cast<int>(kRowFrames) + 16, header = 56;
    const int height = header + rows * kRowHeight + 8;

    // Labels and thumbnails go into the first sub-lane where they fit.
    struct Mark {
        int32_t entry;
        uint32_t frame;
        int lane;
    };
    std::vector<Mark> stageMarks, enemyMarks;
    std::vector<std::map<int, int>> laneEnds(2);  // [kind][row * 8 + lane] -> last x used
    auto place = [&](int kind, uint32_t f, int w, int lanes) {
        const int row = static_cast<int>((f - 1) / kRowFrames);
        const int x = static_cast<int>((f - 1) % kRowFrames);
        for (int lane = 0; lane < lanes; ++lane) {
            auto it = laneEnds[kind].find(row * 8 + lane);
            if (it == laneEnds[kind].end() || it->second < x) {
                laneEnds[kind][row * 8 + lane] = x + w;
                return lane;
            }
        }
        return lanes - 1;  // crowded: the last lane takes it anyway
    };
    auto stageLabel = [&](const TSceneCommand& c) -> std::string {
        switch (c.command) {
            case kBackgroundImage:
                return Format("BG %lld", c.p1);
            case kBackgroundSpeed:
                return Format("scroll %lld.%lld", c.p1 / 10, std::abs(c.p1 % 10));
            case kMusic:
                return Format("BGM %lld ", c.p1) +
                       (c.p1 >= 0 && c.p1 < kSoundCount ? p.sounds[c.p1].name.c_str() : "");
            case kStopSounds:
                return "sound off";
            case kScenePlaySound:
                return Format("SE %lld", c.p1);
            case kDestroyEnemies:
                return "destroy all";
            default:
                return Format("code %lld", c.command);
        }
    };
    for (int32_t i = 0; i < n; ++i) {
        const EntryRun& r = runs[static_cast<size_t>(i)];
        const TSceneCommand& c = script[static_cast<size_t>(i)];
        if (r.start == 0 || c.command == kSceneWait || c.command == kEndOfStage) continue;
        if (c.command == kEnemyAppearance)
            enemyMarks.push_back({i, r.start, place(1, r.start, 40, 3)});
        else
            stageMarks.push_back(
                {i, r.start, place(0, r.start, session.TextWidth(stageLabel(c), true) + 6, 5)});
    }
    int reached = 0;
    for (const EntryRun& r : runs) reached += r.start ? 1 : 0;

    Canvas canvas(width, height);
    canvas.Render([&](int ox, int oy) {
        DrawRect(0, 0, kTileW, kTileH, Rgb(0x1C2024), 1);
        std::string title = std::string("Scene script: ") + p.windowTitle.c_str() +
                            Format("   %lld entries, %lld reached", n, reached);
        title += ended ? "   stage ends at " + Clock(endFrame) : "   (no end of stage)";
        session.Text(8 - ox, 6 - oy, title, 0xFFFFA0);
        session.Text(8 - ox, 28 - oy,
                     "grey: wait   red: boss (held until beaten; beaten here after " +
                         Clock(bossFrames) + ")   marks: appearance #entry e<enemy>",
                     0xB0B0B0, true);
        for (int row = 0; row < rows; ++row) {
            const int top = header + row * kRowHeight - oy;
            if (top > kTileH || top + kRowHeight < 0) continue;
            const uint32_t first = static_cast<uint32_t>(row) * kRowFrames;
            const uint32_t len = std::min(kRowFrames, total - first);
            const int axis = top + 230;
            DrawRect(kLeft - ox, top - 2, kLeft + static_cast<int>(len) - ox, axis, Rgb(0x262C32),
                     1);
            DrawRect(kLeft - ox, axis, kLeft + static_cast<int>(len) - ox, axis + 1, Rgb(0xC0C0C0),
                     1);
            // A tick every second of the game's 17 ms frames, a label every five.
            for (uint32_t sec = first * 17 / 1000; sec * 1000 / 17 <= first + len; ++sec) {
                const uint32_t at = (sec * 1000 + 16) / 17;
                if (at < first || at > first + len) continue;
                const int tx = kLeft + static_cast<int>(at - first) - ox;
                const bool big = sec % 5 == 0;
                DrawRect(tx, axis, tx + 1, axis + (big ? 8 : 4), Rgb(0xC0C0C0), 1);
                if (big) session.Text(tx - 12, axis + 9, Clock(at), 0xC0C0C0, true);
            }
            session.Text(6 - ox, top + 2, Clock(first), 0xFFFFFF, true);
            session.Text(6 - ox, top + 64, "waits", 0x909090, true);
            session.Text(6 - ox, top + 94, "enemies", 0x909090, true);
        }
        auto xy = [&](uint32_t f, int* x, int* top) {
            const int row = static_cast<int>((f - 1) / kRowFrames);
            *x = kLeft + static_cast<int>((f - 1) % kRowFrames) - ox;
            *top = header + row * kRowHeight - oy;
        };
        // Waits and bosses as bars, split where a row ends.
        for (int32_t i = 0; i < n; ++i) {
            const EntryRun& r = runs[static_cast<size_t>(i)];
            const TSceneCommand& c = script[static_cast<size_t>(i)];
            const bool boss = c.command == kEnemyAppearance && c.p6 != 0;
            if (r.start == 0 || (c.command != kSceneWait && !boss)) continue;
            const uint32_t stop = r.last + 1;  // the advance frame belongs to it
            for (uint32_t f = r.start; f <= stop;) {
                const uint32_t rowEnd = ((f - 1) / kRowFrames + 1) * kRowFrames;
                const uint32_t to = std::min(stop, rowEnd);
                int x, top;
                xy(f, &x, &top);
                const int y = top + 62 + (boss ? 16 : 0);
                DrawRect(x, y, x + static_cast<int>(to - f + 1), y + 12,
                         Rgb(boss ? 0xD03030 : 0x8090A0), 1);
                DrawRect(x, y, x + 1, y + 12, Rgb(0x000000), 1);
                if (f == r.start) {
                    std::string text = boss ? Format("BOSS e%lld", c.p1) : Format("%lld", c.p1);
                    if (boss && r.phases > 1) text += Format(" (%lld phases)", r.phases);
                    if (session.TextWidth(text, true) + 4 < static_cast<int>(to - f) || boss)
                        session.Text(x + 3, y, text, boss ? 0xFFFFFF : 0x101010, true);
                }
                f = to + 1;
            }
        }
        for (const Mark& m : stageMarks) {
            int x, top;
            xy(m.frame, &x, &top);
            const TSceneCommand& c = script[static_cast<size_t>(m.entry)];
            const uint32_t colour = c.command == kMusic || c.command == kStopSounds
                                        ? 0x60E060
                                        : (c.command == kDestroyEnemies ? 0xE060E0 : 0x60A0FF);
            const int y = top + m.lane * 12;
            DrawRect(x, y, x + 2, top + 60, Rgb(colour), 1);
            session.Text(x + 4, y, stageLabel(c), colour, true);
        }
        for (const Mark& m : enemyMarks) {
            int x, top;
            xy(m.frame, &x, &top);
            const TSceneCommand& c = script[static_cast<size_t>(m.entry)];
            const int y = top + 94 + m.lane * 44;
            DrawRect(x, top + 92, x + 1, y + 2, Rgb(0xE0E0E0), 1);
            DrawRect(x, y, x + 36, y + 30, Rgb(0x3A4450), 1);
            if (c.p1 >= 0 && c.p1 < kEnemyCount) {
                const int32_t sprite = p.enemies[c.p1].sprite;
                if (sprite >= 0 && sprite < kSpriteCount)
                    DrawFitted(p.sprites[sprite], 0, x + 18, y + 15, 28);
            }
            session.Text(x, y + 30, Format("#%lld e%lld", m.entry, c.p1),
                         c.p6 ? 0xFF8080 : 0xE0E0E0, true);
        }
        if (ended) {
            int x, top;
            xy(endFrame, &x, &top);
            DrawRect(x, top - 2, x + 3, top + 230, Rgb(0xFF3030), 1);
            session.Text(x + 6, top + 2, "END", 0xFF3030);
        }
    });
    canvas.Write(out);
}

// ---- Trace -------------------------------------------------------------------------------

namespace {

struct Life {
    int slot = -1;
    bool main = false;  // the traced enemy or its successor
    std::vector<std::pair<double, double>> points;
};

// Follows the actors of one pool frame by frame; a slot that was free, or whose actor
// jumped, starts a new life. Past kMaxPoints only new lives are recorded, with their first
// point (where a bullet was fired), so that a long trace of a full pool stays in bounds.
class LifeLog {
public:
    static constexpr size_t kMaxPoints = 4000000;
    explicit LifeLog(size_t slots) : current_(slots, -1) {}
    Life* Track(int slot, double x, double y, bool alive) {
        int& id = current_[static_cast<size_t>(slot)];
        if (!alive) {
            id = -1;
            return nullptr;
        }
        if (id >= 0 && points_ >= kMaxPoints) return &lives[static_cast<size_t>(id)];
        if (id >= 0) {
            const auto& last = lives[static_cast<size_t>(id)].points.back();
            if (std::abs(last.first - x) > 64 || std::abs(last.second - y) > 64) id = -1;
        }
        if (id < 0) {
            id = static_cast<int>(lives.size());
            lives.push_back(Life{slot, false, {}});
        }
        Life& l = lives[static_cast<size_t>(id)];
        l.points.emplace_back(x, y);
        ++points_;
        return &l;
    }
    std::vector<Life> lives;

private:
    std::vector<int> current_;
    size_t points_ = 0;
};

}  // namespace

void DrawTrace(const std::string& dataDir, int32_t enemy, const std::string& outPng,
               uint32_t frames, uint32_t seed, TracePlace where) {
    if (enemy < 0 || enemy >= kEnemyCount) throw ToolError(Format("no enemy %lld", enemy));
    const std::string out = AbsoluteOut(outPng);
    PictureSession session(dataDir, seed);
    TProject& p = *session.project;

    // The place: as given, else the enemy's first appearance in the script, else the top.
    int32_t entry = -1;
    for (size_t i = 0; i < p.scene.size() && entry < 0; ++i)
        if (p.scene[i].command == kEnemyAppearance && p.scene[i].p1 == enemy)
            entry = static_cast<int32_t>(i);
    TSceneCommand appear;
    appear.command = kEnemyAppearance;
    appear.p1 = enemy;
    if (where.place >= 0) {
        appear.p2 = where.place;
        appear.p3 = where.position;
        appear.p4 = where.speed;
        appear.p5 = where.angle;
    } else if (entry >= 0) {
        appear = p.scene[static_cast<size_t>(entry)];
    } else {
        appear.p2 = kTopEdge;
        appear.p3 = 208;
        appear.p4 = 0;
        appear.p5 = 90;
    }
    appear.p6 = 0;

    TApp app;
    auto world = StageWorld(app, p);
    // The background the stage shows at that appearance; then a script of the appearance
    // alone, run by the scene runner.
    if (entry >= 0) world->scene.StartAt(entry);
    const int32_t bgSprite = world->background.sprite;
    const double bgSpeed = world->background.speed;
    std::vector<TSceneCommand> alone{appear};
    p.sceneStart = 0;
    world->scene.Setup(&p, &alone, &world->enemies, &world->background, &world->player,
                       &world->items, &world->bullets);
    world->scene.Reset();

    LifeLog enemies(TEnemyPool::kSize), bullets(TBulletPool::kSize);
    uint32_t goneAt = 0;
    bool started = false;
    for (uint32_t f = 1; f <= frames; ++f) {
        world->Update();
        const int32_t mainSlot = world->scene.watchedSlot;
        for (int i = 0; i < TEnemyPool::kSize; ++i) {
            const TEnemy& e = world->enemies.enemies[i];
            Life* l = enemies.Track(i, e.x, e.y, e.IsAlive());
            if (l && i == mainSlot) l->main = true;
        }
        for (int i = 0; i < TBulletPool::kSize; ++i) {
            const TBullet& b = world->bullets.bullets[i];
            bullets.Track(i, b.x, b.y, b.IsAlive() && b.side == 0);
        }
        const bool alive = mainSlot >= 0 && world->enemies.enemies[mainSlot].IsAlive();
        if (alive) started = true;
        if (started && !alive && goneAt == 0) goneAt = f;
    }

    // The picture: the stage background dimmed, paths, fire points, the pictures.
    ClearScreen();
    world->background.SetSprite(bgSprite);
    world->background.position = 0.0;
    DrawBackground(p, world->background);
    SetBlendMode(1, 150);
    DrawRect(0, 0, 416, 480, Rgb(0x000000), 1);
    SetBlendMode(0, 0);
    int fired = 0, children = 0;
    for (const Life& l : bullets.lives) {
        ++fired;
        for (const auto& pt : l.points) {
            const int x = static_cast<int>(pt.first), y = static_cast<int>(pt.second);
            DrawRect(x, y, x + 1, y + 1, Rgb(0xFF5050), 1);
        }
    }
    for (const Life& l : enemies.lives) {
        if (!l.main) ++children;
        size_t k = 0;
        for (const auto& pt : l.points) {
            const int x = static_cast<int>(pt.first), y = static_cast<int>(pt.second);
            const int r = k % 30 == 0 ? 2 : 1;  // a bigger dot every half second
            DrawRect(x - r, y - r, x + r, y + r, Rgb(l.main ? 0xFFFF40 : 0xFFA030), 1);
            ++k;
        }
    }
    for (const Life& l : bullets.lives) {
        const int x = static_cast<int>(l.points.front().first);
        const int y = static_cast<int>(l.points.front().second);
        DrawRect(x - 3, y - 3, x + 4, y + 4, Rgb(0xFF40FF), 0);
    }
    // Where it was first wholly inside the play field, and everything still there at the end,
    // drawn by the game's own drawing.
    const TEnemyDef& def = p.enemies[enemy];
    for (const Life& l : enemies.lives) {
        if (!l.main || def.sprite < 0 || def.sprite >= kSpriteCount) continue;
        const TSpriteDef& s = p.sprites[def.sprite];
        if (s.frames.empty()) break;
        const double w = s.imageWidth / 2.0, h = s.imageHeight / 2.0;
        for (const auto& pt : l.points) {
            if (pt.first < w || pt.first > 416 - w || pt.second < h || pt.second > 480 - h)
                continue;
            SetBlendMode(1, 160);
            DrawImageRotated(static_cast<int>(pt.first), static_cast<int>(pt.second), 1.0, 0.0,
                             s.frames[0].image, 1, 0);
            SetBlendMode(0, 0);
            break;
        }
        break;
    }
    DrawEnemies(p, world->enemies, world->player);
    DrawPlayer(p, world->player);

    // The legend on the panel side.
    DrawRect(416, 0, 640, 480, Rgb(0x202428), 1);
    int y = 8;
    auto line = [&](const std::string& text, uint32_t rgb = 0xFFFFFF) {
        session.Text(424, y, text, rgb);
        y += 18;
    };
    line(Format("enemy %lld", enemy), 0xFFFFA0);
    line(def.name.c_str(), 0xFFFFA0);
    static const char* const kPlaces[] = {"left", "right", "top", "bottom"};
    line(std::string("from ") + (appear.p2 >= 0 && appear.p2 < 4 ? kPlaces[appear.p2] : "?") +
         Format(" %lld", appear.p3));
    line(
        Format("speed %lld.%lld  angle %lld", appear.p4 / 10, std::abs(appear.p4 % 10), appear.p5));
    line(entry >= 0 && where.place < 0 ? Format("as scene entry %lld", entry) : "place given");
    line(Format("%lld frames, seed %lld", frames, seed));
    y += 8;
    line("path (dot each 0.5 s)", 0xFFFF40);
    line(Format("children: %lld", children), 0xFFA030);
    line(Format("bullets fired: %lld", fired), 0xFF40FF);
    line("bullet paths", 0xFF5050);
    y += 8;
    line(goneAt ? Format("gone at frame %lld", goneAt) : std::string("still there at the end"));
    line(Format("background: sprite %lld", bgSprite), 0xB0B0B0);
    line(Format("scroll %lld.%lld", static_cast<long long>(bgSpeed),
                static_cast<long long>(std::abs(bgSpeed * 10)) % 10),
         0xB0B0B0);
    if (!media::WriteBackBufferPng(out)) throw ToolError(out + ": cannot write");
}

}  // namespace tool
