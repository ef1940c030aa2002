// Decoding sound files into the mix format, and refusing damaged ones.
#include "media/sound_decode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "media/core.h"
#include "media/host.h"
#include "media/media.h"
#include "support/ogg_writer.h"
#include "support/temp_dir.h"
#include "support/wav_writer.h"

namespace {

constexpr int kRate = 48000;

std::vector<int16_t> Decode(const std::vector<uint8_t>& file, std::string* error = nullptr) {
    std::vector<int16_t> frames;
    std::string why;
    bool ok = media::DecodeSound(file, kRate, &frames, &why);
    if (error) *error = why;
    EXPECT_TRUE(ok) << why;
    return frames;
}

std::vector<float> Sine(int frames, int channels, int rate, double hz, double amplitude) {
    std::vector<float> out;
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            out.push_back(static_cast<float>(amplitude * std::sin(2 * M_PI * hz * i / rate + c)));
    return out;
}

TEST(SoundDecode, Pcm16MonoAtTheMixRatePassesUnchanged) {
    std::vector<int16_t> samples = {0, 1, -1, 1000, -1000, 32767, -32768, 12345};
    std::vector<int16_t> frames = Decode(wav::Pcm16(samples, 1, kRate));
    ASSERT_EQ(frames.size(), samples.size() * 2);
    for (size_t i = 0; i < samples.size(); ++i) {
        EXPECT_EQ(frames[2 * i], samples[i]) << i;
        EXPECT_EQ(frames[2 * i + 1], samples[i]) << i;
    }
}

TEST(SoundDecode, Pcm16StereoKeepsItsChannels) {
    std::vector<int16_t> samples = {100, -200, 300, -400, 500, -600};
    EXPECT_EQ(Decode(wav::Pcm16(samples, 2, kRate)), samples);
}

TEST(SoundDecode, Pcm8IsCentredOn128) {
    std::vector<int16_t> frames = Decode(wav::Pcm8({128, 255, 0, 129}, 1, kRate));
    ASSERT_EQ(frames.size(), 8u);
    EXPECT_EQ(frames[0], 0);
    EXPECT_EQ(frames[2], 127 * 256);
    EXPECT_EQ(frames[4], -32768);
    EXPECT_EQ(frames[6], 256);
}

TEST(SoundDecode, FloatIsRoundedAndSaturated) {
    std::vector<int16_t> frames =
        Decode(wav::Float32({0.5f, -1.0f, 1.5f, -2.0f, 0.25f, 0.0f}, 2, kRate));
    EXPECT_EQ(frames, (std::vector<int16_t>{16384, -32768, 32767, -32768, 8192, 0}));
}

TEST(SoundDecode, MuLawFollowsG711) {
    std::vector<int16_t> frames = Decode(wav::MuLaw({0xFF, 0x80, 0x00, 0x7F}, 1, kRate));
    ASSERT_EQ(frames.size(), 8u);
    EXPECT_EQ(frames[0], 0);
    EXPECT_EQ(frames[2], 32124);
    EXPECT_EQ(frames[4], -32124);
    EXPECT_EQ(frames[6], 0);
}

TEST(SoundDecode, Pcm24KeepsTheHighBits) {
    std::vector<uint8_t> data = {0x56, 0x34, 0x12, 0x00, 0x00, 0x80};
    std::vector<int16_t> frames = Decode(wav::Build({wav::kPcm, 1, kRate, 24}, data));
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_NEAR(frames[0], 0x1234, 1);
    EXPECT_EQ(frames[2], -32768);
}

TEST(SoundDecode, OtherRatesAreResampledToTheMixRate) {
    // A steady level at 22050 Hz keeps its level and comes out 48000/22050 times as long.
    std::vector<int16_t> samples(2205, 8000);
    std::vector<int16_t> frames = Decode(wav::Pcm16(samples, 1, 22050));
    EXPECT_EQ(frames.size() / 2, 4800u);
    EXPECT_NEAR(frames[2 * 2400], 8000, 80);
    EXPECT_NEAR(frames[2 * 2400 + 1], 8000, 80);
}

TEST(SoundDecode, OggVorbisDecodesToItsOwnLength) {
    std::vector<float> source = Sine(12000, 2, kRate, 440, 0.5);
    std::vector<int16_t> frames = Decode(EncodeOggVorbis(source, 2, kRate));
    ASSERT_EQ(frames.size(), source.size());
    double worst = 0;
    for (size_t i = 2000; i < 10000; ++i)
        worst = std::max(worst, std::fabs(frames[i] / 32768.0 - source[i]));
    EXPECT_LT(worst, 0.05);  // lossy, but the same wave
}

TEST(SoundDecode, MonoOggAt44100IsResampled) {
    std::vector<int16_t> frames =
        Decode(EncodeOggVorbis(Sine(44100, 1, 44100, 300, 0.3), 1, 44100));
    EXPECT_EQ(frames.size() / 2, 48000u);
}

TEST(SoundDecode, WavChunksMustFitInTheFile) {
    std::string error;
    std::vector<uint8_t> good = wav::Pcm16({1, 2, 3, 4}, 1, kRate);
    EXPECT_TRUE(media::CheckWavChunks(good.data(), good.size(), &error)) << error;

    std::vector<uint8_t> longData = wav::Build({}, {1, 0, 2, 0}, 4000);
    EXPECT_FALSE(media::CheckWavChunks(longData.data(), longData.size(), &error));
    EXPECT_NE(error.find("data"), std::string::npos) << error;

    std::vector<uint8_t> longFormat = good;
    longFormat[16] = 0xFF;  // the "fmt " chunk's size
    EXPECT_FALSE(media::CheckWavChunks(longFormat.data(), longFormat.size(), &error));

    std::vector<uint8_t> noData(good.begin(), good.begin() + 36);
    EXPECT_FALSE(media::CheckWavChunks(noData.data(), noData.size(), &error));
}

// Bad files: LoadSoundFile answers -1 and says which file in "AppLog.txt".
class SoundLoadFailure : public ::testing::Test {
protected:
    void SetUp() override {
        media::SetHost(media::CreateHeadlessHost());
        media::ReleaseAllSounds();
        SetAppLogEnabled(1);
    }
    void TearDown() override {
        SetAppLogEnabled(0);
        media::ReleaseAllSounds();
        SetSoundLoadMode(0);
    }
    void ExpectRefused(const std::string& name, const std::vector<uint8_t>& bytes, int mode) {
        SCOPED_TRACE(name + " in mode " + std::to_string(mode));
        dir_.WriteFile(name, bytes);
        ASSERT_EQ(SetSoundLoadMode(mode), 0);
        EXPECT_EQ(LoadSoundFile(name.c_str(), 3), -1);
        EXPECT_NE(dir_.ReadFile("AppLog.txt").find(name), std::string::npos)
            << dir_.ReadFile("AppLog.txt");
    }
    TempDir dir_;
    ScopedCwd cwd_{dir_.path()};
};

TEST_F(SoundLoadFailure, MissingFile) {
    EXPECT_EQ(LoadSoundFile("Sound\\Missing.wav", 3), -1);
    EXPECT_NE(dir_.ReadFile("AppLog.txt").find("Sound\\Missing.wav"), std::string::npos);
}

TEST_F(SoundLoadFailure, WavChunkPastTheEnd) {
    for (int mode : {0, 2}) ExpectRefused("Long.wav", wav::Build({}, {1, 0, 2, 0}, 1 << 20), mode);
}

TEST_F(SoundLoadFailure, UnsupportedWavEncoding) {
    // 0x0055 is MPEG layer 3 inside a WAV file.
    ExpectRefused("Mp3.wav", wav::Build({0x0055, 1, kRate, 16}, std::vector<uint8_t>(64, 1)), 0);
}

TEST_F(SoundLoadFailure, DamagedOgg) {
    std::vector<uint8_t> ogg = EncodeOggVorbis(Sine(4800, 1, kRate, 500, 0.4), 1, kRate);
    std::vector<uint8_t> damaged = ogg;
    for (size_t i = 28; i < 60; ++i) damaged[i] ^= 0x5A;  // inside the first header packet
    for (int mode : {0, 2}) ExpectRefused("Damaged.ogg", damaged, mode);
}

TEST_F(SoundLoadFailure, CutOffOgg) {
    std::vector<uint8_t> ogg = EncodeOggVorbis(Sine(48000, 2, kRate, 500, 0.4), 2, kRate);
    std::vector<uint8_t> half(ogg.begin(), ogg.begin() + ogg.size() / 2);
    std::vector<uint8_t> headerOnly(ogg.begin(), ogg.begin() + 40);
    for (int mode : {0, 2}) {
        ExpectRefused("Half.ogg", half, mode);
        ExpectRefused("Header.ogg", headerOnly, mode);
    }
}

TEST_F(SoundLoadFailure, ZeroLength) {
    ExpectRefused("Empty.wav", wav::Pcm16({}, 1, kRate), 0);
    ExpectRefused("Silent.ogg", EncodeOggVorbis({}, 1, kRate), 0);
    ExpectRefused("Silent.ogg", EncodeOggVorbis({}, 1, kRate), 2);
    ExpectRefused("Nothing.wav", {}, 0);
}

TEST_F(SoundLoadFailure, NeitherWavNorOgg) {
    std::string text = "this is not a sound";
    ExpectRefused("Text.wav", std::vector<uint8_t>(text.begin(), text.end()), 0);
}

}  // namespace

namespace {

// Damaged copies of good files: flipped bytes, cut-off ends, huge chunk sizes. Each either
// loads and plays to its end or is refused; none may crash or hang.
class SoundFileDamage : public SoundLoadFailure {};

std::vector<uint8_t> Damage(std::vector<uint8_t> bytes, uint32_t seed) {
    uint32_t state = seed * 2654435761u + 1;
    auto next = [&] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    int flips = 1 + next() % 8;
    for (int i = 0; i < flips && !bytes.empty(); ++i)
        bytes[next() % bytes.size()] ^= 1 + next() % 255;
    if (next() % 3 == 0 && !bytes.empty()) bytes.resize(next() % bytes.size());
    return bytes;
}

TEST_F(SoundFileDamage, NeverCrashesOrHangs) {
    std::vector<std::vector<uint8_t>> originals = {
        wav::Pcm16(std::vector<int16_t>(3000, 500), 2, 44100),
        wav::Pcm8(std::vector<uint8_t>(3000, 140), 1, 11025),
        wav::MuLaw(std::vector<uint8_t>(2000, 0x20), 1, 8000),
        EncodeOggVorbis(Sine(9000, 2, 32000, 700, 0.5), 2, 32000),
    };
    for (size_t f = 0; f < originals.size(); ++f) {
        for (uint32_t seed = 0; seed < 60; ++seed) {
            std::vector<uint8_t> bytes = Damage(originals[f], seed * 7 + static_cast<uint32_t>(f));
            dir_.WriteFile("Damaged.bin", bytes);
            for (int mode : {0, 2}) {
                SetSoundLoadMode(mode);
                int h = LoadSoundFile("Damaged.bin", 2);
                if (h == -1) continue;
                ASSERT_EQ(StartSound(h, 1, 1), 0);
                std::vector<int16_t> out(2 * 4096);
                for (int k = 0; k < 200 && IsSoundPlaying(h) == 1; ++k)
                    media::PullAudio(out.data(), 4096);
                EXPECT_EQ(IsSoundPlaying(h), 0) << "file " << f << " seed " << seed;
            }
            media::ReleaseAllSounds();
        }
    }
}

}  // namespace
