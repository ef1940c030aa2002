// The cost of mixing: 64 looping voices in memory, pulled as the SDL host's audio callback
// (1024 frames) and as the headless host's frames (816 frames, 17 ms at 48 kHz). One
// iteration mixes one second of sound at 48 kHz, so its time over one second is the share
// of a core the mixer takes; the goal is under 5 % (50 ms an iteration).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "media/host.h"
#include "media/media.h"
#include "support/wav_writer.h"

namespace {

constexpr int kRate = 48000;
constexpr int kVoices = 64;

// A folder of 64 different one-second stereo sounds, loaded and started looping.
class SixtyFourVoices {
public:
    SixtyFourVoices() {
        char pattern[] = "/tmp/orvan-mixer-bench-XXXXXX";
        dir_ = mkdtemp(pattern) ? pattern : "/tmp";
        media::SetHost(media::CreateHeadlessHost());
        SetSoundLoadMode(0);
        for (int v = 0; v < kVoices; ++v) {
            std::vector<int16_t> samples;
            for (int i = 0; i < kRate; ++i) {
                samples.push_back(static_cast<int16_t>(6000 * std::sin(i * (0.01 + v * 0.001))));
                samples.push_back(static_cast<int16_t>(6000 * std::cos(i * (0.02 + v * 0.001))));
            }
            std::string path = dir_ + "/Voice" + std::to_string(v) + ".wav";
            std::vector<uint8_t> bytes = wav::Pcm16(samples, 2, kRate);
            if (FILE* f = std::fopen(path.c_str(), "wb")) {
                std::fwrite(bytes.data(), 1, bytes.size(), f);
                std::fclose(f);
            }
            int h = LoadSoundFile(path.c_str(), 1);
            SetSoundVolume(200, h);  // not full volume: the gain is applied
            if (h == -1 || StartSound(h, 3, 1) != 0) ok_ = false;
            handles_.push_back(h);
            std::remove(path.c_str());
        }
    }
    ~SixtyFourVoices() {
        for (int h : handles_) StopSound(h);
        rmdir(dir_.c_str());
    }
    bool ok() const { return ok_; }

private:
    std::string dir_;
    std::vector<int> handles_;
    bool ok_ = true;
};

void MixOneSecond(benchmark::State& state) {
    static SixtyFourVoices voices;
    if (!voices.ok()) {
        state.SkipWithError("the voices could not be loaded");
        return;
    }
    const int slice = static_cast<int>(state.range(0));
    std::vector<int16_t> out(static_cast<size_t>(slice) * 2);
    for (auto _ : state) {
        for (int done = 0; done < kRate; done += slice) {
            media::PullAudio(out.data(), std::min(slice, kRate - done));
            benchmark::DoNotOptimize(out.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * kRate);
    state.counters["voices"] = kVoices;
    // Time spent mixing per second of sound: over one second, the share of one core.
    state.counters["mix_time_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(MixOneSecond)->Arg(1024)->Arg(816)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
