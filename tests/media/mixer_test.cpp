// Playing sounds through the mixer: copies, volume, loops, ends, saturation and handles.
#include "media/mixer.h"

#include <gtest/gtest.h>

#include <cmath>

#include "sound_fixture.h"
#include "support/wav_writer.h"

namespace {

using SoundPlay = SoundFixture;

TEST(SoundVolume, AttenuationFollowsTheFormula) {
    EXPECT_EQ(media::AttenuationForVolume(255), 0);
    EXPECT_EQ(media::AttenuationForVolume(256), 0);
    EXPECT_EQ(media::AttenuationForVolume(100000), 0);
    EXPECT_EQ(media::AttenuationForVolume(128), -299);  // 1000 x log10(128/255) = -299.35
    EXPECT_EQ(media::AttenuationForVolume(64), -600);
    EXPECT_EQ(media::AttenuationForVolume(1), -2406);
    EXPECT_EQ(media::AttenuationForVolume(0), -10000);
    EXPECT_EQ(media::AttenuationForVolume(-7), -10000);
    EXPECT_FLOAT_EQ(media::GainForAttenuation(-299), static_cast<float>(std::pow(10.0, -0.1495)));
    EXPECT_EQ(media::GainForAttenuation(-10000), 0.0f);
    EXPECT_EQ(media::GainForAttenuation(0), 1.0f);
}

TEST_F(SoundPlay, Volume128AttenuatesBy299Hundredths) {
    int h = Load("Level.wav", wav::Pcm16(Level(4800, 10000), 1, kRate), 1);
    ASSERT_NE(h, -1);
    ASSERT_EQ(SetSoundVolume(128, h), 0);
    ASSERT_EQ(StartSound(h, 1, 1), 0);
    const int expected = static_cast<int>(std::lround(10000 * std::pow(10.0, -299 / 2000.0)));
    EXPECT_EQ(expected, 7088);  // -298 would give 7096, -300 7079
    for (int16_t s : Pull(500)) ASSERT_NEAR(s, expected, 1);
}

TEST_F(SoundPlay, VolumeZeroOrLessIsSilentAndAbove255IsFull) {
    int h = Load("Level.wav", wav::Pcm16(Level(4800, 10000), 1, kRate), 1);
    ASSERT_NE(h, -1);
    for (int volume : {0, -5}) {
        SetSoundVolume(volume, h);
        StartSound(h, 1, 1);
        for (int16_t s : Pull(100)) ASSERT_EQ(s, 0) << volume;
        EXPECT_EQ(IsSoundPlaying(h), 1);  // silent, but playing
    }
    SetSoundVolume(300, h);
    StartSound(h, 1, 1);
    for (int16_t s : Pull(100)) ASSERT_EQ(s, 10000);
}

// Starts the ramp sound 'starts' times, 100 frames apart; returns the first frame after.
int16_t FirstFrameAfterStarts(int sound, int starts, int lastFromStart) {
    for (int k = 0; k < starts; ++k) {
        EXPECT_EQ(StartSound(sound, 1, k == starts - 1 ? lastFromStart : 1), 0);
        if (k < starts - 1) Pull(100);
    }
    return Pull(1)[0];
}

TEST_F(SoundPlay, EleventhStartRestartsTheOldestCopyFromItsStart) {
    // Buffer count 20 gives ten copies. Sample k of the ramp is k, so the mix is the sum of
    // the copies' positions.
    int h = Load("Ramp.wav", wav::Pcm16(Ramp(4800), 1, kRate), 20);
    ASSERT_NE(h, -1);
    FirstFrameAfterStarts(h, 10, 1);
    // Ten copies at 900, 800, ... 0 (+1 after that pull); the eleventh start takes copy 0.
    Pull(99);
    EXPECT_EQ(StartSound(h, 1, 1), 0);
    // Copies 1..9 at 900..100, copy 0 back at 0.
    EXPECT_EQ(Pull(1)[0], 4500);
}

TEST_F(SoundPlay, BufferCountSetsTheNumberOfCopies) {
    struct Case {
        int bufferCount, copies;
    } cases[] = {{3, 3}, {1, 1}, {0, 1}, {-4, 1}, {10, 10}, {11, 10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bufferCount);
        media::ReleaseAllSounds();
        int h = Load("Ramp.wav", wav::Pcm16(Ramp(4800), 1, kRate), c.bufferCount);
        ASSERT_NE(h, -1);
        // copies + 1 starts 100 frames apart: the last one restarts copy 0.
        int16_t mixed = FirstFrameAfterStarts(h, c.copies + 1, 1);
        int expected = 0;
        for (int k = 1; k < c.copies; ++k) expected += 100 * k;
        EXPECT_EQ(mixed, expected);
    }
}

TEST_F(SoundPlay, StartWithoutFromStartLeavesAPlayingCopyAlone) {
    int h = Load("Ramp.wav", wav::Pcm16(Ramp(4800), 1, kRate), 3);
    ASSERT_NE(h, -1);
    // Copies at 300, 200, 100 when the fourth start comes; copy 0 carries on.
    EXPECT_EQ(FirstFrameAfterStarts(h, 4, 0), 300 + 200 + 100);
}

TEST_F(SoundPlay, LoopWrapsInsideAPullWithoutAGap) {
    // A stereo pattern whose last and first frames are far from zero: a gap or a repeated
    // frame at the wrap would show.
    const int length = 1000;
    std::vector<int16_t> pattern;
    for (int i = 0; i < length; ++i) {
        pattern.push_back(static_cast<int16_t>(12000 * std::cos(2 * M_PI * 3 * i / length)));
        pattern.push_back(static_cast<int16_t>(-9000 + i));
    }
    int h = Load("Loop.wav", wav::Pcm16(pattern, 2, kRate), 1);
    ASSERT_NE(h, -1);
    ASSERT_EQ(StartSound(h, 3, 1), 0);
    std::vector<int16_t> all;
    for (int slice : {333, 1000, 777, 2500, 1, 999, 816}) {
        std::vector<int16_t> part = Pull(slice);
        all.insert(all.end(), part.begin(), part.end());
    }
    for (size_t i = 0; i < all.size(); ++i)
        ASSERT_EQ(all[i], pattern[i % pattern.size()]) << "frame " << i / 2;
    EXPECT_EQ(IsSoundPlaying(h), 1);
}

TEST_F(SoundPlay, SoundEndsInThePullThatMixesItsLastFrame) {
    int h = Load("Ramp.wav", wav::Pcm16(Ramp(1000), 1, kRate), 1);
    ASSERT_NE(h, -1);
    StartSound(h, 1, 1);
    Pull(999);
    EXPECT_EQ(IsSoundPlaying(h), 1);
    std::vector<int16_t> last = Pull(1);
    EXPECT_EQ(last[0], 999);
    EXPECT_EQ(IsSoundPlaying(h), 0);
    for (int16_t s : Pull(10)) EXPECT_EQ(s, 0);
}

TEST_F(SoundPlay, EndsFollowTheHeadlessFramePulls) {
    // 17 ms at 48 kHz is 816 frames a game frame.
    int exact = Load("Exact.wav", wav::Pcm16(Level(816 * 3, 1), 1, kRate), 1);
    int longer = Load("Longer.wav", wav::Pcm16(Level(816 * 3 + 1, 1), 1, kRate), 1);
    StartSound(exact, 1, 1);
    StartSound(longer, 1, 1);
    for (int frame = 1; frame <= 3; ++frame) {
        Pull(816);
        EXPECT_EQ(IsSoundPlaying(exact), frame < 3 ? 1 : 0) << frame;
        EXPECT_EQ(IsSoundPlaying(longer), 1) << frame;
    }
    Pull(816);
    EXPECT_EQ(IsSoundPlaying(longer), 0);
}

TEST_F(SoundPlay, MixSaturates) {
    int up = Load("Up.wav", wav::Pcm16(Level(1000, 20000), 1, kRate), 2);
    int down = Load("Down.wav", wav::Pcm16(Level(1000, -20000), 1, kRate), 2);
    StartSound(up, 1, 1);
    StartSound(up, 1, 1);
    for (int16_t s : Pull(10)) ASSERT_EQ(s, 32767);
    StopSound(up);
    StartSound(down, 1, 1);
    StartSound(down, 1, 1);
    for (int16_t s : Pull(10)) ASSERT_EQ(s, -32768);
}

TEST_F(SoundPlay, StopSoundStopsEveryCopy) {
    int h = Load("Level.wav", wav::Pcm16(Level(4800, 1000), 1, kRate), 3);
    EXPECT_EQ(StopSound(h), 0);  // not playing: nothing happens
    for (int k = 0; k < 3; ++k) StartSound(h, 3, 1);
    EXPECT_EQ(Pull(1)[0], 3000);
    EXPECT_EQ(StopSound(h), 0);
    EXPECT_EQ(IsSoundPlaying(h), 0);
    for (int16_t s : Pull(10)) EXPECT_EQ(s, 0);
}

TEST_F(SoundPlay, BadHandlesAndArgumentsAreRefused) {
    EXPECT_EQ(IsSoundPlaying(-1), -1);
    EXPECT_EQ(StartSound(-1, 1, 1), -1);
    EXPECT_EQ(StopSound(-1), -1);
    EXPECT_EQ(SetSoundVolume(255, -1), -1);
    EXPECT_EQ(IsSoundPlaying(12345), -1);
    EXPECT_EQ(IsSoundPlaying(media::MakeHandle(media::kImageHandle, 0, 0)), -1);

    int h = Load("Level.wav", wav::Pcm16(Level(100, 1), 1, kRate), 1);
    ASSERT_NE(h, -1);
    EXPECT_EQ(StartSound(h, 2, 1), -1);
    EXPECT_EQ(StartSound(h, 7, 1), -1);
    EXPECT_TRUE(media::TakeSoundStarts().empty());
    EXPECT_EQ(StartSound(h, 0, 1), 0);  // "wait until done" never blocks: plays once
    EXPECT_EQ(StartSound(h, 1, 1), 0);
    EXPECT_EQ(media::TakeSoundStarts(), (std::vector<int>{h, h}));

    media::ReleaseAllSounds();
    EXPECT_EQ(IsSoundPlaying(h), -1);  // released handles are stale
    EXPECT_EQ(StartSound(h, 1, 1), -1);
}

TEST_F(SoundPlay, LoadModes) {
    EXPECT_EQ(SetSoundLoadMode(0), 0);
    EXPECT_EQ(SetSoundLoadMode(2), 0);
    EXPECT_EQ(SetSoundLoadMode(1), -1);
    EXPECT_EQ(SetSoundLoadMode(3), -1);
    EXPECT_EQ(SetSoundLoadMode(-1), -1);
}

TEST_F(SoundPlay, HandleTableHolds4096Sounds) {
    SetAppLogEnabled(1);
    dir_.WriteFile("Tiny.wav", wav::Pcm16(Level(4, 1), 1, kRate));
    std::vector<int> handles;
    for (int i = 0; i < 4096; ++i) handles.push_back(LoadSoundFile("Tiny.wav", 1));
    std::sort(handles.begin(), handles.end());
    EXPECT_EQ(std::unique(handles.begin(), handles.end()), handles.end());
    EXPECT_NE(handles.front(), -1);
    EXPECT_EQ(LoadSoundFile("Tiny.wav", 1), -1);
    EXPECT_NE(dir_.ReadFile("AppLog.txt").find("Tiny.wav"), std::string::npos);
}

// A host whose audio device opened at 44100 Hz.
class Device44100 final : public media::Host {
public:
    bool Open(const media::WindowConfig&) override { return true; }
    void Close() override {}
    void Present(const uint32_t*, int, int) override {}
    bool ProcessEvents() override { return true; }
    void ReadInput(uint8_t keys[256], int* pad) override {}
    int AudioRate() const override { return 44100; }
};

TEST_F(SoundPlay, SoundsLoadedBeforeTheDeviceOpenedKeepTheirLength) {
    int h = Load("Second.wav", wav::Pcm16(Level(48000, 3000), 1, kRate), 1);
    ASSERT_NE(h, -1);
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
