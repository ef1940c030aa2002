// One whole frame of the demo at its busiest, as the headless game plays it: the pass of the
// frame loop (flip, messages, keys, brightness, clear), the world's update and the game
// picture drawn to its last pixel. The demo is played with the scripted flight of the
// end-to-end tests (tests/e2e/data/demo_stage.txt, seed 1) up to the frame before, outside
// the timing; each repetition then times that one frame.
//
// The busiest moment was found by counting the instructions of every frame of the flight
// under callgrind (--dump-before on each pass of the loop): the sixty frames from 6444 on,
// in the boss's last phase, carry the most work of any sixty in a row. Their costliest frame,
// 6493, is also one in which the stage music needs its next block of samples. (Frames that
// start a piece of music, such as 5762 where the boss's begins, cost more still.)
//   ./build/bench/game_frame_bench
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "media/inspect.h"
#include "support/game_runner.h"
#include "support/temp_dir.h"

namespace {

constexpr uint32_t kBusiestFrame = 6493;

void BM_DemoBusiestFrame(benchmark::State& state) {
    std::stringstream script;
    script << std::ifstream(ORVAN_SOURCE_DIR "/tests/e2e/data/demo_stage.txt").rdbuf();
    TempDir dir;
    std::filesystem::copy(ORVAN_DEMO_DATA, dir / "Data", std::filesystem::copy_options::recursive);
    std::filesystem::remove(dir / "Data/Score.bin");
    std::filesystem::remove(dir / "Data/Setting.bin");
    auto run = std::make_unique<GameRunner>(dir / "Data", 1);
    run->SetInput(script.str());
    if (!run->Start() || !run->RunTo(kBusiestFrame - 1)) {
        state.SkipWithError("the demo did not reach its busiest frame");
        return;
    }
    media::BackBuffer();  // the frame before is drawn to its last pixel
    for (auto _ : state) {
        run->Frame();
        benchmark::DoNotOptimize(media::BackBuffer());
    }
    state.SetLabel("frame " + std::to_string(kBusiestFrame));
    run.reset();
}
BENCHMARK(BM_DemoBusiestFrame)
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
