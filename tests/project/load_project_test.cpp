// Loading a project (the global file, every table's ends, the older layout's upgrade), and
// attaching its images and sounds as the media layer sees them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "media/host.h"
#include "media/inspect.h"
#include "media/media.h"
#include "project/definition_files.h"
#include "project/media_attach.h"
#include "project_fixture.h"
#include "support/ogg_writer.h"
#include "support/png_writer.h"
#include "support/wav_writer.h"

namespace {

using LoadProjectTest = ProjectTest;

TEST_F(LoadProjectTest, GlobalFileGivesSceneStartTitleAndFlagAndTheKindsAreLoaded) {
    std::string title = Cp932("弾幕遊戯");  // kept as its cp932 bytes
    // The first and the last record of every table.
    writer.Global({3, title, 1}).Sprite(0, SpriteFile{"Zero"}).Sprite(1023, SpriteFile{"Last"});
    writer.Sound(0, {"", 0, "a", 64}).Sound(255, {"", 0, "a", 128}).Player(PlayerFile{0, 0, 20.0});
    writer.Bullet(0, {"b", 0, 1, 0, 4}).Bullet(255, {"b", 0, 1, 0, 3}).Item(0, {"i", 0, 3});
    writer.Item(255, {"i", 0, 2}).Enemy(0, {"e", 5}).Enemy(255, {"e", 7}).Map(0, {"m", 8});
    writer.Map(255, {"m", 9}).Scene({{{8, 0, 0, 0, 0, 0, 0}}}).Order({{2, 1, 0}});

    LoadProject(*project);

    const TProject& p = *project;
    EXPECT_TRUE(p.sceneStart == 3 && p.windowTitle == title.c_str() && p.globalFlag == 1);
    EXPECT_TRUE(p.sprites[0].name == "Zero" && p.sprites[1023].name == "Last");
    EXPECT_EQ((std::vector<int>{p.sounds[0].volume, p.sounds[255].volume, p.bullets[0].sound,
                                p.bullets[255].sound, p.items[0].attribute, p.items[255].attribute,
                                p.enemies[0].sprite, p.enemies[255].sprite, p.maps[0].value,
                                p.maps[255].value}),
              (std::vector<int>{64, 128, 4, 3, 3, 2, 5, 7, 8, 9}));
    EXPECT_TRUE(p.player.moveSpeed == 20.0 && p.scene.size() == 1u);
    EXPECT_EQ(p.mapOrder, (std::vector<int32_t>{2, 1, 0}));
}

// A "Global.bin" cut short still loads the kinds; one that cannot be read loads nothing and
// upgrades nothing.
TEST_F(LoadProjectTest, ACutGlobalFileStillLoadsTheKindsAndAnUnreadableOneNothing) {
    writer.File("Global/Global.bin", GlobalFile{7, "Long title", 1}.Encode().Prefix(6));
    writer.Item(0, {"i", 0, 0, 500}).Sprite(0, SpriteFile{"Title"});
    dir.WriteFile("Sprite3.png", "png");
    LoadProject(*project);
    EXPECT_EQ(project->sceneStart, 7);
    EXPECT_EQ(project->windowTitle, "Orvan");
    EXPECT_EQ(project->items[0].score, 500);
    std::filesystem::remove(dir / "Global/Global.bin");
    dir.MakeDir("Global/Global.bin");  // there, but not readable as a file
    auto unread = std::make_unique<TProject>();
    LoadProject(*unread);
    EXPECT_EQ(unread->sprites[0].name, kUnregisteredCp932);
    EXPECT_TRUE(dir.Exists("Sprite3.png"));
}

using LayoutUpgradeTest = ProjectTest;

// Without "Global.bin" the kind folders are made and the files the editor's older layout kept
// in the data folder are moved into them; nothing already there is overwritten.
TEST_F(LayoutUpgradeTest, MakesTheKindFoldersAndMovesImagesAndTheDefaultSoundFile) {
    const std::string sound = "<未登録>.wav";  // as the host names it
    for (const char* name : {"Sprite0.png", "Sprite12.png", "Sprite1023.png", "Sprite1024.png",
                             "Sprite012.png", "Sprite5.png"})
        dir.WriteFile(name, name);
    dir.WriteFile("Sprite/Sprite5.png", "old");
    dir.WriteFile(sound, "RIFF");
    LoadProject(*project);

    for (const char* kind : {"Bullet", "Enemy", "Global", "Item", "Map", "Sound", "Sprite"})
        EXPECT_TRUE(std::filesystem::is_directory(dir / kind)) << kind;
    for (const std::string name : {"Sprite0.png", "Sprite12.png", "Sprite1023.png"}) {
        EXPECT_EQ(dir.ReadFile("Sprite/" + name), name);
        EXPECT_FALSE(dir.Exists(name)) << name;
    }
    // Only the numbers of the table, without padding, are moved.
    EXPECT_TRUE(dir.Exists("Sprite1024.png"));
    EXPECT_TRUE(dir.Exists("Sprite012.png"));
    EXPECT_EQ(dir.ReadFile("Sprite/Sprite5.png"), "old");
    EXPECT_EQ(dir.ReadFile("Sprite5.png"), "Sprite5.png");
    EXPECT_EQ(dir.ReadFile("Sound/" + sound), "RIFF");
    EXPECT_FALSE(dir.Exists(sound));
    EXPECT_FALSE(dir.Exists("Global/Global.bin"));  // nothing is written
    EXPECT_EQ(project->windowTitle, "Orvan");

    // A second run finds the moved sound file already in place and leaves both alone.
    dir.WriteFile(sound, "new");
    LoadProject(*std::make_unique<TProject>());
    EXPECT_EQ(dir.ReadFile("Sound/" + sound), "RIFF");
    EXPECT_EQ(dir.ReadFile(sound), "new");
}

TEST_F(LayoutUpgradeTest, KindFilesAreNotReadUntilTheNextRun) {
    writer.Sprite(2, SpriteFile{"Ship"}).Player(PlayerFile{0, 0, 80.0}).Order({{1}});
    writer.Scene({{{0, 60, 0, 0, 0, 0, 0}}});
    LoadProject(*project);
    EXPECT_EQ(project->sprites[2].name, kUnregisteredCp932);
    EXPECT_EQ(project->player.moveSpeed, 40.0);
    EXPECT_TRUE(project->scene.empty() && project->mapOrder.empty());
    writer.Global();
    auto next = std::make_unique<TProject>();
    LoadProject(*next);
    EXPECT_EQ(next->sprites[2].name, "Ship");
}

using MediaAttach = ProjectTest;

// A strip of 'frames' cells of w x h, cell k filled with colour (k + 1) * 40 in red.
std::vector<unsigned char> Strip(int frames, int w, int h) {
    std::vector<uint32_t> px(static_cast<size_t>(frames * w * h));
    for (size_t i = 0; i < px.size(); ++i)
        px[i] = 0xFF000000u | static_cast<uint32_t>((i % (frames * w) / w + 1) * 40) << 16;
    return EncodeArgbPng(frames * w, h, px);
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
    EXPECT_TRUE(s.imageWidth == 32 && s.imageHeight == 32);
    for (const TFramePicture& f : s.frames) EXPECT_EQ(f.hold, 10);
    ClearScreen();
    s.drawX = 10, s.drawY = 20;
    s.Draw(2);
    const uint32_t* screen = media::BackBuffer();  // frame 2 only, red 120
    EXPECT_EQ(screen[20 * 640 + 10] & 0xFFFFFF, 120u << 16);
    EXPECT_EQ(screen[51 * 640 + 41] & 0xFFFFFF, 120u << 16);
    EXPECT_EQ(screen[20 * 640 + 42] & 0xFFFFFF, 0u);
    for (int n : {4, 5}) {
        const TSpriteDef& whole = project->sprites[n];
        ASSERT_EQ(whole.frames.size(), 1u) << n;
        EXPECT_TRUE(whole.frames[0].hold == 0 && whole.imageWidth == 100 &&
                    whole.imageHeight == 60);
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
    EXPECT_TRUE(image.frames.empty() && image.imageWidth == 0);
    // A count of zero or less leaves even the frames already there.
    image.frames.push_back({-1, 0});  // an invalid handle: releasing it does nothing
    image.imageWidth = 7;
    EXPECT_FALSE(LoadImageStrip(image, "Sprite\\Sprite0.png", 0, 32, 32));
    EXPECT_FALSE(LoadImageStrip(image, "Sprite\\Sprite0.png", -3, 32, 32));
    EXPECT_TRUE(image.frames.size() == 1u && image.imageWidth == 7);
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
