// Start-up of the demo to its first presented picture: the orvan binary started headless on
// the built demo, run until the second pass of its frame loop has presented what the first
// one drew, and ended. Every iteration is a fresh process, as a player's start is: loading
// the project, its pictures and sounds, the fonts, and the first frame.
//   ./build/bench/startup_bench
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include "support/temp_dir.h"

namespace {

// Processor time of the ended children so far, user and system, in milliseconds.
double ChildrenCpuMs() {
    rusage u{};
    ::getrusage(RUSAGE_CHILDREN, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

void BM_DemoStartToFirstPicture(benchmark::State& state) {
    const double before = ChildrenCpuMs();
    for (auto _ : state) {
        const RunResult r =
            RunOrvan({"--headless", "--data", ORVAN_DEMO_DATA, "--frames", "2", "--seed", "1"});
        if (r.exitCode != 0) {
            state.SkipWithError(("orvan failed: " + r.err).c_str());
            break;
        }
    }
    // The wall clock waits for a busy machine too; the processor time does not.
    state.counters["process_cpu_ms"] =
        benchmark::Counter(ChildrenCpuMs() - before, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_DemoStartToFirstPicture)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
