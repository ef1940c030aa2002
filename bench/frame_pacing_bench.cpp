// The paced frame loop on the real SDL window: 300 frames of TApp::BeginFrame (flip,
// messages, sleep to 17 ms, keys, brightness, clear). The mean interval must stay within
// 17 +- 1 ms. Needs a display (run under xvfb-run); skipped without one.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "base/app.h"
#include "media/host.h"
#include "media/media.h"
#include "sys/sys.h"

static void BM_PacedFrames(benchmark::State& state) {
    if (!std::getenv("DISPLAY")) {
        state.SkipWithError("no display: run under xvfb-run");
        return;
    }
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    media::SetHost(media::CreateSdlHost());
    TApp app;
    app.Init("frame pacing", true);
    const int kFrames = 300;
    double meanMs = 0, worstMs = 0;
    for (auto _ : state) {
        app.BeginFrame();
        uint32_t start = sys::TimeGetTime();
        uint32_t previous = start;
        uint32_t worst = 0;
        for (int i = 0; i < kFrames; ++i) {
            app.BeginFrame();
            uint32_t now = sys::TimeGetTime();
            if (now - previous > worst) worst = now - previous;
            previous = now;
        }
        meanMs = static_cast<double>(previous - start) / kFrames;
        worstMs = worst;
    }
    state.counters["mean_interval_ms"] = meanMs;
    state.counters["worst_interval_ms"] = worstMs;
    MediaEnd();
}
BENCHMARK(BM_PacedFrames)->Iterations(3)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
