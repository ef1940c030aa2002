// Sounds decoded or refused, mixed (volume, copies, loops, ends, saturation, handles) and
// streamed; the mixer is pulled directly, as a host would, or by the headless host's clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

#include "media/core.h"
#include "media/host.h"
#include "media/inspect.h"
#include "media/media.h"
#include "media/sound_decode.h"
#include "support/ogg_writer.h"
#include "support/temp_dir.h"
#include "support/wav_writer.h"
#include "sys/sys.h"

namespace {

constexpr int kRate = 48000;

// Up to 'frames' frames of the mix, pulled in slices of 'slice' frames as a host does; with
// a sound handle, only until that sound has stopped.
std::vector<int16_t> Pull(int frames, int slice = 1 << 30, int untilStopped = 0) {
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
std::vector<uint8_t> LevelWav(int frames, int16_t level) {
    return wav::Pcm16(std::vector<int16_t>(frames, level), 1, 48000);
}
std::vector<uint8_t> RampWav(int frames) {
    std::vector<int16_t> ramp(frames);
    std::iota(ramp.begin(), ramp.end(), int16_t(0));
    return wav::Pcm16(ramp, 1, 48000);
}
// Interleaved floats for the Ogg encoder: 'periods' whole periods over 'frames', so the
// sound joins up with itself when looped.
std::vector<float> LoopableSine(int frames, int channels, double periods, double amplitude) {
    std::vector<float> out;
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            out.push_back(
                static_cast<float>(amplitude * std::cos(2 * M_PI * periods * i / frames + c)));
    return out;
}
// That sound as an Ogg Vorbis file at 'rate'.
std::vector<uint8_t> SineOgg(int frames, int channels, int rate, double periods,
                             double amplitude = 0.5) {
    return EncodeOggVorbis(LoopableSine(frames, channels, periods, amplitude), channels, rate);
}

std::vector<int16_t> Decode(const std::vector<uint8_t>& file) {
    std::vector<int16_t> frames;
    std::string why;
    EXPECT_TRUE(media::DecodeSound(file, kRate, &frames, &why)) << why;
    return frames;
}

TEST(SoundDecode, WavSamplesBecomeStereo16BitRoundedAndSaturated) {
    // Mono is doubled, 16-bit passes unchanged, 8-bit is centred on 128, floats are rounded.
    EXPECT_EQ(Decode(wav::Pcm16({0, 1, -1, 32767, -32768}, 1, kRate)),
              (std::vector<int16_t>{0, 0, 1, 1, -1, -1, 32767, 32767, -32768, -32768}));
    EXPECT_EQ(Decode(wav::Pcm16({100, -200, 300, -400}, 2, kRate)),
              (std::vector<int16_t>{100, -200, 300, -400}));
    EXPECT_EQ(Decode(wav::Build({wav::kPcm, 1, kRate, 8}, {128, 255, 0, 129})),
              (std::vector<int16_t>{0, 0, 127 * 256, 127 * 256, -32768, -32768, 256, 256}));
    EXPECT_EQ(Decode(wav::Float32({0.5f, -1.0f, 1.5f, -2.0f, 0.25f, 0.0f}, 2, kRate)),
              (std::vector<int16_t>{16384, -32768, 32767, -32768, 8192, 0}));
}

TEST(SoundDecode, OggAndOtherRatesComeOutAtTheMixRateWithTheirWave) {
    const std::vector<float> source = LoopableSine(12000, 2, 110, 0.5);
    std::vector<int16_t> frames = Decode(EncodeOggVorbis(source, 2, kRate));
    ASSERT_EQ(frames.size(), source.size());
    double worst = 0;
    for (size_t i = 2000; i < 10000; ++i)
        worst = std::max(worst, std::fabs(frames[i] / 32768.0 - source[i]));
    EXPECT_LT(worst, 0.05);  // lossy, but the same wave
    // Other rates come out 48000 / rate times as long, a steady level at its level.
    EXPECT_EQ(Decode(SineOgg(44100, 1, 44100, 300, 0.3)).size() / 2, 48000u);
    frames = Decode(wav::Pcm16(std::vector<int16_t>(2205, 8000), 1, 22050));
    EXPECT_EQ(frames.size() / 2, 4800u);
    EXPECT_NEAR(frames[2 * 2400], 8000, 80);
    EXPECT_NEAR(frames[2 * 2400 + 1], 8000, 80);
}

// Bad files: LoadSoundFile answers -1 and names the file in "AppLog.txt".
class SoundLoadFailure : public SoundFixture {
protected:
    void ExpectRefused(const std::string& name, const std::vector<uint8_t>& bytes) {
        for (int mode : {0, 2}) {
            SCOPED_TRACE(name + " in mode " + std::to_string(mode));
            EXPECT_EQ(Load(name, bytes, 3, mode), -1);
            EXPECT_TRUE(Logged(name)) << dir_.ReadFile("AppLog.txt");
        }
    }
};

TEST_F(SoundLoadFailure, BadFilesFailWithALogLineNamingThem) {
    EXPECT_EQ(LoadSoundFile("Sound\\Missing.wav", 3), -1);
    EXPECT_TRUE(Logged("Sound\\Missing.wav"));
    // Every chunk must fit in the file.
    ExpectRefused("Long.wav", wav::Build({}, {1, 0, 2, 0}, 1 << 20));
    std::vector<uint8_t> wave = wav::Pcm16({1, 2, 3, 4}, 1, kRate);
    ExpectRefused("NoData.wav", std::vector<uint8_t>(wave.begin(), wave.begin() + 36));
    wave[16] = 0xFF;  // the "fmt " chunk's size
    ExpectRefused("LongFormat.wav", wave);
    // 0x0055 is MPEG layer 3 inside a WAV file.
    ExpectRefused("Mp3.wav", wav::Build({0x0055, 1, kRate, 16}, std::vector<uint8_t>(64, 1)));
    ExpectRefused("Empty.wav", wav::Pcm16({}, 1, kRate));
    ExpectRefused("Silent.ogg", EncodeOggVorbis({}, 1, kRate));
    ExpectRefused("Nothing.wav", {});
    ExpectRefused("Text.wav", {'n', 'o', 't', ' ', 'a', ' ', 's', 'o', 'u', 'n', 'd'});
    const std::vector<uint8_t> ogg = SineOgg(48000, 2, kRate, 500, 0.4);
    std::vector<uint8_t> damaged = ogg;
    for (size_t i = 28; i < 60; ++i) damaged[i] ^= 0x5A;  // inside the first header packet
    ExpectRefused("Damaged.ogg", damaged);
    ExpectRefused("Half.ogg", std::vector<uint8_t>(ogg.begin(), ogg.begin() + ogg.size() / 2));
    ExpectRefused("Header.ogg", std::vector<uint8_t>(ogg.begin(), ogg.begin() + 40));
}

using SoundPlay = SoundFixture;

TEST_F(SoundPlay, VolumeAttenuatesByTheFormula) {
    // 1000 x log10(volume / 255) hundredths of a decibel: a level of 10000 at volume 128
    // plays as 10000 x 10^(-299 / 2000) = 7088 (-298 would give 7096, -300 7079). Volume is
    // clamped to 0..255, and silent sounds still play.
    int h = Load("Level.wav", LevelWav(4800, 10000), 1);
    for (auto [volume, level] : {std::pair{128, 7088}, {0, 0}, {-5, 0}, {300, 10000}}) {
        ASSERT_EQ(SetSoundVolume(volume, h), 0);
        ASSERT_EQ(StartSound(h, 1, 1), 0);
        for (int16_t s : Pull(100)) ASSERT_NEAR(s, level, 1) << volume;
        EXPECT_EQ(IsSoundPlaying(h), 1);
    }
}

TEST_F(SoundPlay, EleventhStartRestartsTheOldestCopyFromItsStart) {
    // The ramp's sample k is k, so the mix is the sum of the copies' positions. 'starts'
    // starts 100 frames apart; with all copies busy the last takes the oldest, copy 0, which
    // goes back to 0 unless the start leaves a playing copy alone.
    struct Case {
        int bufferCount, starts, fromStart, mix;
    } cases[] = {{20, 11, 1, 4500}, {11, 11, 1, 4500}, {10, 11, 1, 4500}, {3, 4, 1, 300},
                 {1, 2, 1, 0},      {0, 2, 1, 0},      {-4, 2, 1, 0},     {3, 4, 0, 600}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bufferCount);
        media::ReleaseAllSounds();
        int h = Load("Ramp.wav", RampWav(4800), c.bufferCount);
        for (int k = 0; k < c.starts; ++k) {
            if (k > 0) Pull(100);
            ASSERT_EQ(StartSound(h, 1, k == c.starts - 1 ? c.fromStart : 1), 0);
        }
        EXPECT_EQ(Pull(1)[0], c.mix);
    }
}

TEST_F(SoundPlay, LoopWrapsInsideAPullWithoutAGap) {
    // A stereo pattern whose last and first frames are far from zero: a gap or a repeated
    // frame at the wrap would show.
    std::vector<int16_t> pattern;
    for (int i = 0; i < 1000; ++i) {
        pattern.push_back(static_cast<int16_t>(12000 * std::cos(2 * M_PI * 3 * i / 1000)));
        pattern.push_back(static_cast<int16_t>(-9000 + i));
    }
    int h = Load("Loop.wav", wav::Pcm16(pattern, 2, kRate), 1);
    ASSERT_EQ(StartSound(h, 3, 1), 0);
    std::vector<int16_t> all;
    for (int slice : {333, 1000, 777, 2500, 1, 999, 816})
        for (int16_t s : Pull(slice)) all.push_back(s);
    for (size_t i = 0; i < all.size(); ++i)
        ASSERT_EQ(all[i], pattern[i % pattern.size()]) << "frame " << i / 2;
    EXPECT_EQ(IsSoundPlaying(h), 1);
}

TEST_F(SoundPlay, SoundEndsInThePullThatMixesItsLastFrame) {
    int h = Load("Ramp.wav", RampWav(1000), 1);
    StartSound(h, 1, 1);
    Pull(999);
    EXPECT_EQ(IsSoundPlaying(h), 1);
    EXPECT_EQ(Pull(1)[0], 999);
    EXPECT_EQ(IsSoundPlaying(h), 0);
    for (int16_t s : Pull(10)) EXPECT_EQ(s, 0);
}

TEST_F(SoundPlay, PlayTypeZeroReturnsOnceTheSoundHasFinished) {
    // Without an audio device the clock pulls the mixer while the call waits: 100 ms of
    // sound take 100 ms of the (virtual) clock, give or take the last millisecond.
    sys::UseVirtualClock(true, 0);
    int h = Load("Level.wav", LevelWav(4800, 100), 1);
    EXPECT_EQ(StartSound(h, 0, 1), 0);
    EXPECT_EQ(IsSoundPlaying(h), 0);
    EXPECT_NEAR(sys::TimeGetTime(), 100, 1);
    EXPECT_EQ(media::TakeSoundStarts(), (std::vector<int>{h}));
    sys::UseVirtualClock(false);
}

TEST_F(SoundPlay, CopiesAddUpSaturateAndStopTogether) {
    int up = Load("Up.wav", LevelWav(4800, 20000), 3);
    int down = Load("Down.wav", LevelWav(4800, -20000), 3);
    EXPECT_EQ(StopSound(up), 0);  // not playing: nothing happens
    for (int k = 0; k < 3; ++k) StartSound(up, 3, 1);
    for (int16_t s : Pull(10)) ASSERT_EQ(s, 32767);
    EXPECT_EQ(StopSound(up), 0);
    EXPECT_EQ(IsSoundPlaying(up), 0);
    for (int k = 0; k < 2; ++k) StartSound(down, 1, 1);
    for (int16_t s : Pull(10)) ASSERT_EQ(s, -32768);
    StopSound(down);
    for (int16_t s : Pull(10)) ASSERT_EQ(s, 0);
}

TEST_F(SoundPlay, BadHandlesAndArgumentsAreRefused) {
    for (int bad : {-1, 12345, media::MakeHandle(media::kImageHandle, 0, 0)}) {
        EXPECT_EQ(IsSoundPlaying(bad), -1);
        EXPECT_EQ(StartSound(bad, 1, 1), -1);
        EXPECT_EQ(StopSound(bad), -1);
        EXPECT_EQ(SetSoundVolume(255, bad), -1);
    }
    int h = Load("Level.wav", LevelWav(100, 1), 1);
    EXPECT_EQ(StartSound(h, 7, 1), -1);
    EXPECT_EQ(StartSound(h, 1, 1), 0);
    EXPECT_EQ(media::TakeSoundStarts(), (std::vector<int>{h}));
    media::ReleaseAllSounds();
    EXPECT_EQ(IsSoundPlaying(h), -1);  // released handles are stale
    EXPECT_EQ(StartSound(h, 1, 1), -1);
}

// A host whose audio device opened at 44100 Hz.
class Device44100 final : public media::Host {
public:
    bool Open(const media::WindowConfig&) override { return true; }
    void Close() override {}
    void Present(const uint32_t*, int, int) override {}
    bool ProcessEvents() override { return true; }
    void ReadInput(uint8_t[256], int*) override {}
    int AudioRate() const override { return 44100; }
};

TEST_F(SoundPlay, SoundsLoadedBeforeTheDeviceOpenedKeepTheirLength) {
    int h = Load("Second.wav", LevelWav(48000, 3000), 1);
    media::SetHost(std::make_unique<Device44100>());
    EXPECT_EQ(media::MixRate(), 44100);
    StartSound(h, 1, 1);
    // One second of sound is 44100 frames now. The rate conversion of the whole mix holds a
    // little back, so the end comes up to a few tens of milliseconds early.
    std::vector<int16_t> mixed = Pull(42000);
    EXPECT_EQ(IsSoundPlaying(h), 1);
    EXPECT_NEAR(mixed[2 * 20000], 3000, 30);
    Pull(2600);
    EXPECT_EQ(IsSoundPlaying(h), 0);
}

using SoundStream = SoundFixture;

// The sound played once from start to end, pulled in slices.
std::vector<int16_t> PlayOnce(int sound, int slice) {
    EXPECT_EQ(StartSound(sound, 1, 1), 0);
    return Pull(10 * 48000, slice, sound);
}

TEST_F(SoundStream, StreamedOggGivesTheSamplesOfTheDecodedOne) {
    for (auto [channels, rate] : {std::pair{2, 48000}, {1, 22050}, {2, 44100}}) {
        SCOPED_TRACE(rate);
        const std::vector<uint8_t> ogg = SineOgg(rate * 3 / 2, channels, rate, 300);
        const std::vector<int16_t> memory = PlayOnce(Load("Memory.ogg", ogg, 1, 0), 1000);
        const std::vector<int16_t> streamed = PlayOnce(Load("Streamed.ogg", ogg, 1, 2), 816);
        // 1.5 seconds at the mix rate; each stops in the pull of its last frame, and the
        // rest of that pull is silent.
        ASSERT_EQ(memory.size(), 72000u * 2);
        ASSERT_EQ(streamed.size(), 89u * 816 * 2);
        for (size_t i = 0; i < streamed.size(); ++i)
            ASSERT_EQ(streamed[i], i < memory.size() ? memory[i] : 0) << "frame " << i / 2;
    }
}

TEST_F(SoundStream, StreamedLoopsWrapWithoutAGapOrClickAndRestartFromTheirBeginning) {
    // Half a second of a cosine in whole periods, at the mix rate and at 22050 Hz: 24000 mix
    // frames either way. The file starts and ends at a peak, where a gap would drop to zero.
    for (auto [channels, rate] : {std::pair{2, kRate}, {1, 22050}}) {
        SCOPED_TRACE(rate);
        const int h = Load("Loop.ogg", SineOgg(rate / 2, channels, rate, 25, 0.6), 1, 2);
        ASSERT_EQ(StartSound(h, 3, 1), 0);
        const std::vector<int16_t> looped = Pull(120 * 816, 816);
        EXPECT_EQ(IsSoundPlaying(h), 1);
        // The cosine moves at most about 130 a frame; past the resampler's start from silence,
        // no step comes near a gap's 19000 (the encoder's own seam is a few hundred).
        int worst = 0;
        for (size_t i = 2 * 64; i < looped.size(); i += 2)
            worst = std::max(worst, std::abs(looped[i] - looped[i - 2]));
        EXPECT_LT(worst, 1000);
        // Every wrap comes after exactly 24000 frames: none lost or repeated, and at the mix
        // rate every pass is the same to the sample.
        const bool exact = rate == kRate;
        for (size_t i = exact ? 0 : 2 * 24000; i < 2 * 72000; ++i)
            ASSERT_NEAR(looped[i], looped[i + 2 * 24000], exact ? 0 : 8) << "frame " << i / 2;
        // As the game plays every sound: stopped, it starts again from the beginning.
        StopSound(h);
        ASSERT_EQ(StartSound(h, 1, 1), 0);
        EXPECT_EQ(Pull(500), std::vector<int16_t>(looped.begin(), looped.begin() + 1000));
        StopSound(h);
    }
}

TEST_F(SoundStream, DamagedOrVanishedStreamsEndWithoutHangingAndAreLogged) {
    std::vector<uint8_t> ogg = SineOgg(96000, 2, kRate, 400);
    // Past the headers, before the last page.
    for (size_t i = ogg.size() * 3 / 5; i < ogg.size() * 4 / 5; i += 7) ogg[i] ^= 0xA5;
    EXPECT_EQ(Load("Damaged.ogg", ogg, 1, 0), -1);
    EXPECT_TRUE(Logged("Damaged.ogg"));
    // Streamed, the damage is found only while it plays: the stream skips it or ends early,
    // and neither loops forever nor crashes.
    const int h = Load("Damaged.ogg", ogg, 1, 2);
    ASSERT_NE(h, -1);
    StartSound(h, 1, 1);
    Pull(4 * 96000, 816, h);
    EXPECT_EQ(IsSoundPlaying(h), 0);
    StartSound(h, 3, 1);
    Pull(300 * 816, 816);
    // A streamed file gone before it plays cannot start.
    const int gone = Load("Gone.ogg", SineOgg(4800, 1, kRate, 5), 1, 2);
    std::remove((dir_ / "Gone.ogg").c_str());
    EXPECT_EQ(StartSound(gone, 1, 1), -1);
    EXPECT_EQ(IsSoundPlaying(gone), 0);
    EXPECT_TRUE(Logged("Gone.ogg"));
    Pull(100);
}

TEST_F(SoundStream, HeadlessFramesEndASoundWhenItsTimeIsUp) {
    // 100 ms of sound against 17 ms frames: 4800 frames end in the sixth pull of 816.
    const int h = Load("Short.wav", LevelWav(4800, 100), 1);
    sys::UseVirtualClock(true, 1000);
    ASSERT_EQ(MediaInit(), 0);
    StartSound(h, 1, 1);
    std::vector<int> playing;
    for (int frame = 0; frame < 7; ++frame) {
        sys::Sleep(17);
        FlipScreen();
        playing.push_back(IsSoundPlaying(h));
    }
    EXPECT_EQ(playing, (std::vector<int>{1, 1, 1, 1, 1, 0, 0}));
    MediaEnd();
    sys::UseVirtualClock(false);
    EXPECT_EQ(IsSoundPlaying(h), -1);  // MediaEnd released every sound
}

}  // namespace
