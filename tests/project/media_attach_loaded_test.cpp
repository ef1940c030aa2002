// Attaching real pictures and sounds: strips cut into frames, whole images, load modes and
// volumes as the media layer sees them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "media/inspect.h"
#include "media/host.h"
#include "media/media.h"
#include "project/media_attach.h"
#include "project_fixture.h"
#include "support/png_writer.h"
#include "support/wav_writer.h"

namespace {

using AttachLoaded = ProjectTest;

// A strip of 'frames' cells of w x h, cell k filled with colour (k + 1) * 40 in red.
std::vector<unsigned char> Strip(int frames, int w, int h) {
    std::vector<uint32_t> px(static_cast<size_t>(frames * w * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < frames * w; ++x)
            px[y * frames * w + x] = 0xFF000000u | (static_cast<uint32_t>((x / w + 1) * 40) << 16);
    return EncodeArgbPng(frames * w, h, px);
}

uint32_t ScreenPixel(int x, int y) { return media::BackBuffer()[y * 640 + x] & 0xFFFFFF; }

int PeakOf(const std::vector<int16_t>& samples) {
    int peak = 0;
    for (int16_t s : samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
    return peak;
}

}  // namespace

TEST_F(AttachLoaded, AnAnimatedStripIsCutLeftToRight) {
    writer.Sprite(3, [] {
        SpriteFile s;
        s.animate = 1;
        s.frameCount = 4;
        s.frameWidth = 32;
        s.frameHeight = 32;
        return s;
    }());
    writer.File(ProjectWriter::SpriteImagePath(3), Strip(4, 32, 32));
    writer.Global();
    LoadProject(*project);
    LoadSpriteImages(*project);
    TSpriteDef& s = project->sprites[3];
    ASSERT_EQ(s.frames.size(), 4u);
    EXPECT_EQ(s.imageWidth, 32);
    EXPECT_EQ(s.imageHeight, 32);
    for (const TFramePicture& f : s.frames) EXPECT_EQ(f.hold, 10);
    ClearScreen();
    s.drawX = 10;
    s.drawY = 20;
    s.Draw(2);
    EXPECT_EQ(ScreenPixel(10, 20), 120u << 16);
    EXPECT_EQ(ScreenPixel(41, 51), 120u << 16);
    EXPECT_EQ(ScreenPixel(42, 20), 0u);  // one frame wide, not the whole strip
}

TEST_F(AttachLoaded, AStillSpriteIsOnePictureOfTheWholeImage) {
    writer.Sprite(4).File(ProjectWriter::SpriteImagePath(4), Strip(1, 100, 60));
    // Animated with one frame: also the whole image.
    SpriteFile one;
    one.animate = 1;
    one.frameCount = 1;
    writer.Sprite(5, one).File(ProjectWriter::SpriteImagePath(5), Strip(1, 100, 60));
    writer.Global();
    LoadProject(*project);
    LoadSpriteImages(*project);
    for (int n : {4, 5}) {
        ASSERT_EQ(project->sprites[n].frames.size(), 1u) << n;
        EXPECT_EQ(project->sprites[n].frames[0].hold, 0);
        EXPECT_EQ(project->sprites[n].imageWidth, 100);
        EXPECT_EQ(project->sprites[n].imageHeight, 60);
    }
}

TEST_F(AttachLoaded, ASoundGetsItsVolumeOnceAfterLoading) {
    std::vector<int16_t> level(4800, 10000);
    SoundFile loud, quiet, streamed;
    loud.fileName = "loud.wav";
    quiet.fileName = "quiet.wav";
    quiet.volume = 128;
    streamed.fileName = "quiet.wav";
    streamed.streamFromFile = 1;
    streamed.volume = 128;
    writer.Sound(0, loud).Sound(1, quiet).Sound(2, streamed);
    std::vector<uint8_t> wav = wav::Pcm16(level, 1, 48000);
    writer.File("Sound/loud.wav", std::string(wav.begin(), wav.end()));
    writer.File("Sound/quiet.wav", std::string(wav.begin(), wav.end()));
    writer.Global();
    LoadProject(*project);
    media::SetHost(media::CreateHeadlessHost());
    ASSERT_EQ(MediaInit(), 0);
    for (int n = 0; n < 3; ++n) ASSERT_TRUE(LoadSound(project->sounds[n])) << n;

    auto peak = [&](int n) {
        StartSound(project->sounds[n].handle, 1, 1);
        std::vector<int16_t> out(2 * 1024);
        media::PullAudio(out.data(), 1024);
        StopSound(project->sounds[n].handle);
        return PeakOf(out);
    };
    int full = peak(0);
    EXPECT_NEAR(full, 10000, 2);
    // 128 of 255: -2.99 dB.
    EXPECT_NEAR(peak(1), full * std::pow(10.0, -299.0 / 2000.0), 3);
    EXPECT_NEAR(peak(2), full * std::pow(10.0, -299.0 / 2000.0), 3);
    MediaEnd();  // releases every sound
}
