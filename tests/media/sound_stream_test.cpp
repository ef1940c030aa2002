// Sounds streamed from their files while they play, and the mixer pulled by the headless
// host's clock.
#include <gtest/gtest.h>

#include <cstdio>

#include "sound_fixture.h"
#include "sys/sys.h"

namespace {

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

TEST_F(SoundStream, StreamedLoopsWrapWithoutAGapOrClick) {
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
        StopSound(h);
    }
}

TEST_F(SoundStream, StoppedStreamStartsAgainFromItsBeginning) {
    // As the game plays every sound: stop, then start from the beginning.
    const int h = Load("Tone.ogg", SineOgg(9600, 1, kRate, 10), 3, 2);
    StartSound(h, 1, 1);
    const std::vector<int16_t> first = Pull(500);
    StopSound(h);
    StartSound(h, 1, 1);
    EXPECT_EQ(Pull(500), first);
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
