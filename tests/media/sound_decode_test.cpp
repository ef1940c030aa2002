// Decoding sound files into the mix format, and refusing damaged ones.
#include "media/sound_decode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sound_fixture.h"
#include "support/ogg_writer.h"
#include "support/wav_writer.h"

namespace {

constexpr int kRate = 48000;

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

}  // namespace
