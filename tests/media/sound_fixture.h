// A fixture for sound tests: a fresh sound table, files in a temporary folder with the log
// on, and the mixer pulled directly, as a host would, without MediaInit or an audio device.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>
#include <vector>

#include "media/core.h"
#include "media/host.h"
#include "media/inspect.h"
#include "media/media.h"
#include "support/ogg_writer.h"
#include "support/temp_dir.h"
#include "support/wav_writer.h"

// Up to 'frames' frames of the mix, pulled in slices of 'slice' frames as a host does; with
// a sound handle, only until that sound has stopped.
inline std::vector<int16_t> Pull(int frames, int slice = 1 << 30, int untilStopped = 0) {
    std::vector<int16_t> out;
    for (int at = 0; at < frames && (!untilStopped || IsSoundPlaying(untilStopped) == 1);
         at += slice) {
        const int n = std::min(slice, frames - at);
        out.resize(out.size() + 2 * n, 0x5555);
        media::PullAudio(&out[out.size() - 2 * n], n);
    }
    return out;
}

class SoundFixture : public ::testing::Test {
protected:
    static constexpr int kRate = 48000;

    void SetUp() override {
        media::SetHost(media::CreateHeadlessHost());
        media::ReleaseAllSounds();
        SetSoundLoadMode(0);
        media::TakeSoundStarts();
        SetAppLogEnabled(1);
    }
    void TearDown() override {
        SetAppLogEnabled(0);
        media::ReleaseAllSounds();
    }

    // Writes the file and loads it in the given mode (0 in memory, 2 streamed).
    int Load(const std::string& name, const std::vector<uint8_t>& bytes, int bufferCount = 3,
             int mode = 0) {
        dir_.WriteFile(name, bytes);
        EXPECT_EQ(SetSoundLoadMode(mode), 0);
        return LoadSoundFile(name.c_str(), bufferCount);
    }
    bool Logged(const std::string& name) const {
        return dir_.ReadFile("AppLog.txt").find(name) != std::string::npos;
    }

    TempDir dir_;
    ScopedCwd cwd_{dir_.path()};
};

// Mono 16-bit WAV files at the mix rate: a steady level, and a ramp whose sample k is k.
inline std::vector<uint8_t> LevelWav(int frames, int16_t level) {
    return wav::Pcm16(std::vector<int16_t>(frames, level), 1, 48000);
}
inline std::vector<uint8_t> RampWav(int frames) {
    std::vector<int16_t> ramp(frames);
    std::iota(ramp.begin(), ramp.end(), int16_t(0));
    return wav::Pcm16(ramp, 1, 48000);
}
// Interleaved floats for the Ogg encoder: 'periods' whole periods over 'frames', so the
// sound joins up with itself when looped.
inline std::vector<float> LoopableSine(int frames, int channels, double periods, double amplitude) {
    std::vector<float> out;
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            out.push_back(
                static_cast<float>(amplitude * std::cos(2 * M_PI * periods * i / frames + c)));
    return out;
}
// That sound as an Ogg Vorbis file at 'rate'.
inline std::vector<uint8_t> SineOgg(int frames, int channels, int rate, double periods,
                                    double amplitude = 0.5) {
    return EncodeOggVorbis(LoopableSine(frames, channels, periods, amplitude), channels, rate);
}
