// Sounds streamed from their files while they play, and the mixer pulled by the headless
// host's clock.
#include <gtest/gtest.h>

#include <cstdio>

#include "sound_fixture.h"
#include "support/ogg_writer.h"
#include "support/wav_writer.h"
#include "sys/sys.h"

namespace {

using SoundStream = SoundFixture;

// The sound played once from start to end, pulled in slices.
std::vector<int16_t> PlayOnce(int sound, int slice) {
    EXPECT_EQ(StartSound(sound, 1, 1), 0);
    return PullUntilStopped(sound, slice, 10 * 48000);
}

// Cuts the trailing pull padding: a once-played sound is followed by silence in its last
// pull, and the frames before the end are compared.
void ExpectSamePlayback(const std::vector<int16_t>& a, const std::vector<int16_t>& b,
                        size_t length) {
    ASSERT_GE(a.size(), length * 2);
    ASSERT_GE(b.size(), length * 2);
    for (size_t i = 0; i < length * 2; ++i) ASSERT_EQ(a[i], b[i]) << "frame " << i / 2;
    for (size_t i = length * 2; i < a.size(); ++i) ASSERT_EQ(a[i], 0);
    for (size_t i = length * 2; i < b.size(); ++i) ASSERT_EQ(b[i], 0);
}

TEST_F(SoundStream, StreamedOggGivesTheSamplesOfTheDecodedOne) {
    struct Case {
        int channels, rate;
    } cases[] = {{2, 48000}, {1, 22050}, {2, 44100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rate);
        std::vector<uint8_t> ogg =
            EncodeOggVorbis(LoopableSine(c.rate * 3 / 2, c.channels, 300, 0.5), c.channels, c.rate);
        int memory = Load("Memory.ogg", ogg, 1, 0);
        int streamed = Load("Streamed.ogg", ogg, 1, 2);
        ASSERT_NE(memory, -1);
        ASSERT_NE(streamed, -1);
        std::vector<int16_t> fromMemory = PlayOnce(memory, 1000);
        std::vector<int16_t> fromFile = PlayOnce(streamed, 816);
        // 1.5 seconds at the mix rate; each stops in the pull of its last frame.
        ExpectSamePlayback(fromMemory, fromFile, 72000);
        EXPECT_EQ(fromMemory.size(), 72000u * 2);
        EXPECT_EQ(fromFile.size(), 89u * 816 * 2);
    }
}

TEST_F(SoundStream, StreamedLoopWrapsWithoutAGap) {
    // Whole periods over the file, so the sound joins up with itself.
    std::vector<uint8_t> ogg = EncodeOggVorbis(LoopableSine(24000, 2, 50, 0.6), 2, kRate);
    int memory = Load("Memory.ogg", ogg, 1, 0);
    int streamed = Load("Streamed.ogg", ogg, 1, 2);
    std::vector<int16_t> once = PlayOnce(memory, 24000);
    ASSERT_EQ(once.size(), 24000u * 2);
    ASSERT_EQ(StartSound(streamed, 3, 1), 0);
    std::vector<int16_t> looped;
    for (int k = 0; k < 100; ++k) {
        std::vector<int16_t> part = Pull(816);
        looped.insert(looped.end(), part.begin(), part.end());
    }
    EXPECT_EQ(IsSoundPlaying(streamed), 1);
    // At the mix rate the stream repeats the decoded sound exactly, wrap after wrap.
    for (size_t i = 0; i < looped.size(); ++i)
        ASSERT_EQ(looped[i], once[i % once.size()]) << "frame " << i / 2;
}

TEST_F(SoundStream, ResampledStreamedLoopKeepsItsPeriodAcrossTheWrap) {
    // Half a second at 22050 Hz is 24000 mix frames. The file starts and ends at the peak of
    // a cosine, where a gap would drop the level to zero.
    std::vector<uint8_t> ogg = EncodeOggVorbis(LoopableSine(11025, 1, 25, 0.6), 1, 22050);
    int streamed = Load("Streamed.ogg", ogg, 1, 2);
    ASSERT_EQ(StartSound(streamed, 3, 1), 0);
    std::vector<int16_t> looped;
    for (int k = 0; k < 120; ++k) {
        std::vector<int16_t> part = Pull(816);
        looped.insert(looped.end(), part.begin(), part.end());
    }
    // The cosine moves at most about 130 a frame; past the resampler's start from silence,
    // no step comes near a gap's 19000 (the encoder's own seam at the wrap is a few hundred).
    int worst = 0;
    for (size_t i = 2 * 64; i < looped.size(); i += 2)
        worst = std::max(worst, std::abs(looped[i] - looped[i - 2]));
    EXPECT_LT(worst, 1000);
    // Every wrap comes after exactly 24000 frames: no frame lost or repeated.
    for (size_t i = 2 * 24000; i < 2 * 72000; ++i)
        ASSERT_NEAR(looped[i], looped[i + 2 * 24000], 8) << "frame " << i / 2;
}

TEST_F(SoundStream, StreamedSoundsHaveOneCopy) {
    std::vector<int16_t> ramp = Ramp(4800);
    int ogg = Load("Tone.ogg", EncodeOggVorbis(LoopableSine(9600, 1, 10, 0.5), 1, kRate), 3, 2);
    int wave = Load("Ramp.wav", wav::Pcm16(ramp, 1, kRate), 3, 2);
    ASSERT_NE(ogg, -1);
    ASSERT_NE(wave, -1);
    // A second start restarts the one copy: the mix goes back to the first frames.
    StartSound(wave, 1, 1);
    Pull(1000);
    StartSound(wave, 1, 1);
    EXPECT_EQ(Pull(1)[0], 0);
    EXPECT_EQ(Pull(1)[0], 1);
    StopSound(wave);

    StartSound(ogg, 1, 1);
    std::vector<int16_t> first = Pull(500);
    StartSound(ogg, 1, 1);
    EXPECT_EQ(Pull(500), first);
}

TEST_F(SoundStream, StreamedFileGoneBeforeItPlays) {
    SetAppLogEnabled(1);
    int h = Load("Gone.ogg", EncodeOggVorbis(LoopableSine(4800, 1, 5, 0.5), 1, kRate), 1, 2);
    ASSERT_NE(h, -1);
    std::remove((dir_ / "Gone.ogg").c_str());
    EXPECT_EQ(StartSound(h, 1, 1), -1);
    EXPECT_EQ(IsSoundPlaying(h), 0);
    EXPECT_NE(dir_.ReadFile("AppLog.txt").find("Gone.ogg"), std::string::npos);
    Pull(100);
}

TEST_F(SoundStream, DamageInTheMiddleIsRefusedInMemoryAndEndsAStream) {
    SetAppLogEnabled(1);
    std::vector<uint8_t> ogg = EncodeOggVorbis(LoopableSine(96000, 2, 400, 0.5), 2, kRate);
    // Past the headers, before the last page.
    for (size_t i = ogg.size() * 3 / 5; i < ogg.size() * 4 / 5; i += 7) ogg[i] ^= 0xA5;
    EXPECT_EQ(Load("Damaged.ogg", ogg, 1, 0), -1);
    EXPECT_NE(dir_.ReadFile("AppLog.txt").find("Damaged.ogg"), std::string::npos);
    // Streamed, the damage is found only while it plays: the stream skips it or ends early,
    // and neither loops forever nor crashes.
    int h = Load("Damaged.ogg", ogg, 1, 2);
    ASSERT_NE(h, -1) << dir_.ReadFile("AppLog.txt");
    StartSound(h, 1, 1);
    PullUntilStopped(h, 816, 4 * 96000);
    EXPECT_EQ(IsSoundPlaying(h), 0);
    StartSound(h, 3, 1);
    for (int k = 0; k < 300; ++k) Pull(816);
}

TEST_F(SoundStream, HeadlessFramesEndASoundWhenItsTimeIsUp) {
    // 100 ms of sound against 17 ms frames: 4800 frames end in the sixth pull of 816.
    int h = Load("Short.wav", wav::Pcm16(Level(4800, 100), 1, kRate), 1);
    ASSERT_NE(h, -1);
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
