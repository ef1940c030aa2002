// Playing sounds through the mixer: volume, copies, loops, ends, saturation and handles.
#include <gtest/gtest.h>

#include <utility>

#include "sound_fixture.h"
#include "support/wav_writer.h"
#include "sys/sys.h"

namespace {

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

}  // namespace
