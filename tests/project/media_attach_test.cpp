// Attaching images and sounds: strips cut into frames, whole images, load modes and volumes
// as the media layer sees them, and the cases that attach nothing.
#include "project/media_attach.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "media/host.h"
#include "media/inspect.h"
#include "media/media.h"
#include "project/definition_files.h"
#include "project_fixture.h"
#include "support/ogg_writer.h"
#include "support/png_writer.h"
#include "support/wav_writer.h"

namespace {

using MediaAttach = ProjectTest;

// A strip of 'frames' cells of w x h, cell k filled with colour (k + 1) * 40 in red.
std::vector<unsigned char> Strip(int frames, int w, int h) {
    std::vector<uint32_t> px(static_cast<size_t>(frames * w * h));
    for (size_t i = 0; i < px.size(); ++i)
        px[i] = 0xFF000000u | static_cast<uint32_t>((i % (frames * w) / w + 1) * 40) << 16;
    return EncodeArgbPng(frames * w, h, px);
}

uint32_t ScreenPixel(int x, int y) {
    return media::BackBuffer()[y * 640 + x] & 0xFFFFFF;
}

// An animated sprite is cut into frames of its size; a still one, or an animated one of one
// frame, is one picture of the whole image.
TEST_F(MediaAttach, StripsAreCutLeftToRightAndStillImagesStayWhole) {
    SpriteFile strip, one;
    strip.animate = one.animate = 1;
    one.frameCount = 1;
    writer.Global().Sprite(3, strip).File("Sprite/Sprite3.png", Strip(4, 32, 32));
    writer.Sprite(4).Sprite(5, one).File("Sprite/Sprite4.png", Strip(1, 100, 60));
    writer.File("Sprite/Sprite5.png", Strip(1, 100, 60));
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
    for (int n : {4, 5}) {
        ASSERT_EQ(project->sprites[n].frames.size(), 1u) << n;
        EXPECT_EQ(project->sprites[n].frames[0].hold, 0);
        EXPECT_EQ(project->sprites[n].imageWidth, 100);
        EXPECT_EQ(project->sprites[n].imageHeight, 60);
    }
    EXPECT_TRUE(project->sprites[6].frames.empty());  // no image file: no pictures
}

TEST_F(MediaAttach, StripsThatCannotBeCutAttachNothing) {
    dir.WriteFile("Sprite/Sprite0.png", "not really a png");
    dir.WriteFile("Sprite/Sprite1.png", Strip(600, 1, 1));  // 513 frames would fit the image
    TSpriteImage image;
    const struct {
        const char* file;
        int count, width, height;
    } refused[] = {{"Sprite0", 4, -1, 32},
                   {"Sprite0", 4, 32, -1},
                   {"Sprite0", 1, -1, -1},
                   {"Missing", 4, 32, 32},
                   {"Sprite1", kMaxStripFrames + 1, 1, 1},
                   {"Sprite1", 2000000000, 1, 1}};
    for (const auto& r : refused) {
        EXPECT_FALSE(LoadImageStrip(image, (std::string("Sprite\\") + r.file + ".png").c_str(),
                                    r.count, r.width, r.height))
            << r.file << " " << r.count;
    }
    EXPECT_TRUE(image.frames.empty());
    EXPECT_EQ(image.imageWidth, 0);
    // A count of zero or less leaves even the frames already there.
    image.frames.push_back({-1, 0});  // an invalid handle: releasing it does nothing
    image.imageWidth = 7;
    EXPECT_FALSE(LoadImageStrip(image, "Sprite\\Sprite0.png", 0, 32, 32));
    EXPECT_FALSE(LoadImageStrip(image, "Sprite\\Sprite0.png", -3, 32, 32));
    EXPECT_EQ(image.frames.size(), 1u);
    EXPECT_EQ(image.imageWidth, 7);
}

// A sound gets its volume once after loading, streamed or not; a sound file that is missing
// or does not load leaves no handle.
TEST_F(MediaAttach, SoundsLoadWithTheirVolumeOrLeaveNoHandle) {
    std::vector<uint8_t> wav = wav::Pcm16(std::vector<int16_t>(4800, 10000), 1, 48000);
    writer.File("Sound/a.wav", std::string(wav.begin(), wav.end())).File("Sound/b.wav", "bad");
    writer.Global().Sound(0, {"", 0, "a.wav"}).Sound(1, {"", 0, "a.wav", 128});
    writer.Sound(2, {"", 1, "a.wav", 128}).Sound(3, {"", 0, "gone.wav"}).Sound(4, {"", 0, "b.wav"});
    LoadProject(*project);
    media::SetHost(media::CreateHeadlessHost());
    ASSERT_EQ(MediaInit(), 0);
    for (int n : {3, 4}) {
        EXPECT_FALSE(LoadSound(project->sounds[n])) << n;
        EXPECT_EQ(project->sounds[n].handle, -1) << n;
    }
    auto peak = [&](int n) {
        EXPECT_TRUE(LoadSound(project->sounds[n])) << n;
        StartSound(project->sounds[n].handle, 1, 1);
        std::vector<int16_t> out(2 * 1024);
        media::PullAudio(out.data(), 1024);
        StopSound(project->sounds[n].handle);
        int peak = 0;
        for (int16_t s : out) peak = std::max(peak, std::abs(static_cast<int>(s)));
        return peak;
    };
    int full = peak(0);
    EXPECT_NEAR(full, 10000, 2);
    // 128 of 255: -2.99 dB.
    EXPECT_NEAR(peak(1), full * std::pow(10.0, -299.0 / 2000.0), 3);
    EXPECT_NEAR(peak(2), full * std::pow(10.0, -299.0 / 2000.0), 3);
    // A sound not marked streamed is loaded whole even right after a streamed one: with their
    // files gone, it still starts and the streamed one cannot.
    const std::vector<unsigned char> ogg =
        EncodeOggVorbis(std::vector<float>(4800, 0.25f), 1, 48000);
    for (int n : {5, 6}) {
        project->sounds[n].fileName = n == 5 ? "c.ogg" : "d.ogg";
        project->sounds[n].streamFromFile = n == 6;
        dir.WriteFile(std::string("Sound/") + project->sounds[n].fileName.c_str(), ogg);
    }
    ASSERT_TRUE(LoadSound(project->sounds[6]) && LoadSound(project->sounds[5]));
    std::remove((dir / "Sound/c.ogg").c_str());
    std::remove((dir / "Sound/d.ogg").c_str());
    EXPECT_EQ(StartSound(project->sounds[5].handle, 1, 1), 0);
    EXPECT_EQ(StartSound(project->sounds[6].handle, 1, 1), -1);
    MediaEnd();  // releases every sound
}

}  // namespace
