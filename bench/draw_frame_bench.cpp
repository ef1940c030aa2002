// One saturated frame of the game drawn by the media layer's rasterizer, and the same list
// drawn by SDL2's own software renderer for comparison: two background layers of 416 x 480,
// 512 turned enemies of 32 x 32, 256 items of 16 x 16, 128 effects of 64 x 64 turned,
// scaled and blended, 2048 turned bullets of 16 x 16, the 224 x 480 score panel and 8
// translucent rectangles. Each is drawn at full brightness and in the middle of a fade
// (every colour at 160/255), which SDL does with its texture colour modulation.
//
// Both are timed on the wall clock, since the media layer may share a frame's drawing
// between the processor's cores; compare the two in the same run:
//   ./build/bench/draw_frame_bench --benchmark_repetitions=15
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "media/inspect.h"
#include "media/media.h"
#include "support/png_writer.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Picture {
    int w, h;
    std::vector<uint32_t> argb;
    bool keyed;  // black corners to leave out
};

uint32_t g_seed = 12345;
int Next(int n) {
    g_seed = g_seed * 214013u + 2531011u;
    return int((g_seed >> 16) & 0x7FFF) % n;
}

// A disc in a square (keyed) or a fully covered noisy picture.
Picture MakePicture(int w, int h, bool keyed, uint32_t tint) {
    Picture p{w, h, std::vector<uint32_t>(size_t(w) * h), keyed};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double dx = x + 0.5 - w / 2.0, dy = y + 0.5 - h / 2.0;
            const bool inside = !keyed || dx * dx * 4 / (w * w) + dy * dy * 4 / (h * h) <= 1.0;
            const uint32_t shade = uint32_t(64 + (x * 7 + y * 13) % 160);
            p.argb[size_t(y) * w + x] = inside ? 0xFF000000u |
                                                     ((shade * ((tint >> 16) & 0xFF) / 255) << 16) |
                                                     ((shade * ((tint >> 8) & 0xFF) / 255) << 8) |
                                                     (shade * (tint & 0xFF) / 255) | 0x010101u
                                               : 0xFF000000u;
        }
    }
    return p;
}

enum Kind { kBackground, kLayer, kEnemy, kItem, kEffect, kBullet, kPanel, kKinds };

struct Command {
    Kind kind;
    int x, y;
    double scale, angle;
    int alpha;  // 255 = solid
};

struct Scene {
    std::vector<Picture> pictures;
    std::vector<Command> commands;
    struct Box {
        int x1, y1, x2, y2, alpha;
    };
    std::vector<Box> boxes;
};

const Scene& TheScene() {
    static Scene s = [] {
        Scene s;
        s.pictures.resize(kKinds);
        s.pictures[kBackground] = MakePicture(416, 480, false, 0x4060A0);
        s.pictures[kLayer] = MakePicture(416, 480, true, 0x80C080);
        s.pictures[kEnemy] = MakePicture(32, 32, true, 0xFF8040);
        s.pictures[kItem] = MakePicture(16, 16, true, 0xFFFF40);
        s.pictures[kEffect] = MakePicture(64, 64, true, 0xFFC0A0);
        s.pictures[kBullet] = MakePicture(16, 16, true, 0xC0C0FF);
        s.pictures[kPanel] = MakePicture(224, 480, false, 0x606060);
        s.commands.push_back({kBackground, 0, 0, 1.0, 0.0, 255});
        s.commands.push_back({kLayer, 0, 0, 1.0, 0.0, 255});
        for (int i = 0; i < 512; ++i)
            s.commands.push_back({kEnemy, Next(416), Next(480), 1.0, Next(360) * kPi / 180, 255});
        for (int i = 0; i < 256; ++i)
            s.commands.push_back({kItem, Next(416) - 8, Next(480) - 8, 1.0, 0.0, 255});
        for (int i = 0; i < 128; ++i)
            s.commands.push_back({kEffect, Next(416), Next(480), 1.0 + Next(100) / 100.0,
                                  Next(360) * kPi / 180, 128});
        for (int i = 0; i < 2048; ++i)
            s.commands.push_back({kBullet, Next(416), Next(480), 1.0, Next(360) * kPi / 180, 255});
        s.commands.push_back({kPanel, 416, 0, 1.0, 0.0, 255});
        for (int i = 0; i < 8; ++i) s.boxes.push_back({100 + 8 * i, 60 * i, 400, 60 * i + 40, 100});
        return s;
    }();
    return s;
}

bool IsRotated(Kind k) {
    return k == kEnemy || k == kEffect || k == kBullet;
}

// ---- The media layer.

std::vector<int> LoadIntoMedia(const Scene& s) {
    char tmpl[] = "/tmp/orvan-bench-XXXXXX";
    const std::string dir = mkdtemp(tmpl);
    std::vector<int> handles;
    for (size_t k = 0; k < s.pictures.size(); ++k) {
        const Picture& p = s.pictures[k];
        const std::string path = dir + "/p" + std::to_string(k) + ".png";
        const std::vector<unsigned char> bytes = EncodeArgbPng(p.w, p.h, p.argb, false);
        FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        handles.push_back(LoadImageFile(path.c_str()));
        std::remove(path.c_str());
    }
    rmdir(dir.c_str());
    return handles;
}

__attribute__((noinline)) void DrawWithMedia(const Scene& s, const std::vector<int>& handles,
                                             int bright) {
    SetDrawBrightness(bright, bright, bright);
    ClearScreen();
    for (const Command& c : s.commands) {
        if (c.alpha < 255) SetBlendMode(1, c.alpha);
        if (IsRotated(c.kind))
            DrawImageRotated(c.x, c.y, c.scale, c.angle, handles[c.kind], 1, 0);
        else
            DrawImage(c.x, c.y, handles[c.kind], 1);
        if (c.alpha < 255) SetBlendMode(0, 0);
    }
    for (const Scene::Box& b : s.boxes) {
        SetBlendMode(1, b.alpha);
        DrawRect(b.x1, b.y1, b.x2, b.y2, MakeColor(40, 40, 120), 1);
        SetBlendMode(0, 0);
    }
    // The frame is finished once every pixel of it can be read.
    benchmark::DoNotOptimize(media::BackBuffer());
}

void BM_MediaLayerFrame(benchmark::State& state) {
    const Scene& s = TheScene();
    static const std::vector<int> handles = LoadIntoMedia(s);
    for (int h : handles)
        if (h == -1) state.SkipWithError("a picture did not load");
    for (auto _ : state) {
        DrawWithMedia(s, handles, int(state.range(0)));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MediaLayerFrame)
    ->ArgName("bright")
    ->Arg(255)
    ->Arg(160)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

// ---- SDL2's software renderer drawing the same list.

struct SdlTarget {
    SDL_Surface* screen = nullptr;
    SDL_Renderer* renderer = nullptr;
    std::vector<SDL_Texture*> textures;
};

SdlTarget& TheSdlTarget() {
    static SdlTarget t = [] {
        SdlTarget t;
        const Scene& s = TheScene();
        t.screen = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGB888);
        t.renderer = SDL_CreateSoftwareRenderer(t.screen);
        for (const Picture& p : s.pictures) {
            SDL_Surface* surface =
                SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(p.argb.data()), p.w, p.h,
                                                   32, p.w * 4, SDL_PIXELFORMAT_RGB888);
            if (p.keyed) SDL_SetColorKey(surface, SDL_TRUE, SDL_MapRGB(surface->format, 0, 0, 0));
            SDL_Texture* texture = SDL_CreateTextureFromSurface(t.renderer, surface);
            SDL_SetTextureBlendMode(texture, p.keyed ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
            SDL_FreeSurface(surface);
            t.textures.push_back(texture);
        }
        return t;
    }();
    return t;
}

void DrawWithSdl(const Scene& s, SdlTarget& t, int bright) {
    for (SDL_Texture* texture : t.textures)
        SDL_SetTextureColorMod(texture, Uint8(bright), Uint8(bright), Uint8(bright));
    SDL_SetRenderDrawColor(t.renderer, 0, 0, 0, 255);
    SDL_RenderClear(t.renderer);
    for (const Command& c : s.commands) {
        const Picture& p = s.pictures[c.kind];
        SDL_Texture* texture = t.textures[c.kind];
        if (c.alpha < 255) SDL_SetTextureAlphaMod(texture, Uint8(c.alpha));
        if (IsRotated(c.kind)) {
            const int w = int(std::lround(p.w * c.scale)), h = int(std::lround(p.h * c.scale));
            SDL_Rect dst{c.x - w / 2, c.y - h / 2, w, h};
            SDL_RenderCopyEx(t.renderer, texture, nullptr, &dst, c.angle * 180 / kPi, nullptr,
                             SDL_FLIP_NONE);
        } else {
            SDL_Rect dst{c.x, c.y, p.w, p.h};
            SDL_RenderCopy(t.renderer, texture, nullptr, &dst);
        }
        if (c.alpha < 255) SDL_SetTextureAlphaMod(texture, 255);
    }
    SDL_SetRenderDrawBlendMode(t.renderer, SDL_BLENDMODE_BLEND);
    for (const Scene::Box& b : s.boxes) {
        SDL_SetRenderDrawColor(t.renderer, Uint8(40 * bright / 255), Uint8(40 * bright / 255),
                               Uint8(120 * bright / 255), Uint8(b.alpha));
        SDL_Rect r{b.x1, b.y1, b.x2 - b.x1, b.y2 - b.y1};
        SDL_RenderFillRect(t.renderer, &r);
    }
    SDL_SetRenderDrawBlendMode(t.renderer, SDL_BLENDMODE_NONE);
    SDL_RenderFlush(t.renderer);
}

void BM_SdlSoftwareRendererFrame(benchmark::State& state) {
    const Scene& s = TheScene();
    SdlTarget& t = TheSdlTarget();
    if (!t.renderer) state.SkipWithError(SDL_GetError());
    for (auto _ : state) {
        DrawWithSdl(s, t, int(state.range(0)));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SdlSoftwareRendererFrame)
    ->ArgName("bright")
    ->Arg(255)
    ->Arg(160)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
