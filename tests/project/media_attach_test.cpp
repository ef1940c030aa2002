// Attaching images and sounds. Only the paths that decide before or without the media layer
// are checked here; the pictures themselves are the media layer's to test.
#include "project/media_attach.h"

#include <gtest/gtest.h>

#include "project/definition_files.h"
#include "project_fixture.h"

namespace {

using ImageStripTest = ProjectTest;

TEST_F(ImageStripTest, CountZeroOrNegativeAttachesNothingAndKeepsTheFrames) {
    TSpriteImage image;
    image.frames.push_back({-1, 0});  // an invalid handle: releasing it does nothing
    image.imageWidth = 7;
    EXPECT_FALSE(LoadImageStrip(image, "Sprite\\Sprite0.png", 0, 32, 32));
    EXPECT_FALSE(LoadImageStrip(image, "Sprite\\Sprite0.png", -3, 32, 32));
    EXPECT_EQ(image.frames.size(), 1u);
    EXPECT_EQ(image.imageWidth, 7);
}

TEST_F(ImageStripTest, AStripNeedsAFrameSize) {
    dir.WriteFile("Sprite/Sprite0.png", "not really a png");
    TSpriteImage image;
    EXPECT_FALSE(LoadImageStrip(image, "Sprite\\Sprite0.png", 4, -1, 32));
    EXPECT_FALSE(LoadImageStrip(image, "Sprite\\Sprite0.png", 4, 32, -1));
    EXPECT_TRUE(image.frames.empty());
    EXPECT_EQ(image.imageWidth, 0);
    EXPECT_EQ(image.imageHeight, 0);
}

TEST_F(ImageStripTest, AStripLongerThanTheHandleBufferIsRefused) {
    TSpriteImage image;
    EXPECT_FALSE(LoadImageStrip(image, "Sprite\\Sprite0.png", kMaxStripFrames + 1, 1, 1));
    EXPECT_FALSE(LoadImageStrip(image, "Sprite\\Sprite0.png", 2000000000, 1, 1));
    EXPECT_TRUE(image.frames.empty());
}

TEST_F(ImageStripTest, AnImageThatDoesNotLoadAttachesNothing) {
    TSpriteImage image;
    EXPECT_FALSE(LoadImageStrip(image, "Sprite\\Missing.png", 1, -1, -1));
    EXPECT_FALSE(LoadImageStrip(image, "Sprite\\Missing.png", 4, 32, 32));
    EXPECT_TRUE(image.frames.empty());
}

TEST_F(ImageStripTest, SpritesWithoutImageFilesStayEmpty) {
    LoadSpriteImages(*project);
    for (const TSpriteDef& s : project->sprites) ASSERT_TRUE(s.frames.empty());
}

using SoundAttachTest = ProjectTest;

TEST_F(SoundAttachTest, AMissingSoundFileLeavesNoHandle) {
    TSoundDef& s = project->sounds[0];
    s.fileName = "gone.wav";
    EXPECT_FALSE(LoadSound(s));
    EXPECT_EQ(s.handle, -1);
}

TEST_F(SoundAttachTest, AFileThatDoesNotLoadLeavesNoHandle) {
    dir.WriteFile("Sound/bad.wav", "not a sound");
    TSoundDef& s = project->sounds[1];
    s.fileName = "bad.wav";
    EXPECT_FALSE(LoadSound(s));
    EXPECT_EQ(s.handle, -1);
}

TEST_F(SoundAttachTest, AllDefaultRecordsLookForTheSameDefaultFile) {
    LoadSounds(*project);
    for (const TSoundDef& s : project->sounds) ASSERT_EQ(s.handle, -1);
    EXPECT_EQ(JoinPath(kSoundFolder, project->sounds[200].fileName),
              (std::string("Sound\\") + kUnregisteredCp932 + ".wav").c_str());
}

}  // namespace
