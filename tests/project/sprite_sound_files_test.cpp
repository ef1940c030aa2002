#include <gtest/gtest.h>

#include "project/definition_files.h"
#include "project_fixture.h"

namespace {

using SpriteFileTest = ProjectTest;

TEST_F(SpriteFileTest, ReadsEveryFieldInStoredOrder) {
    writer.Sprite(12, SpriteFile{"Boss", 1, 48, 40, 6, 3});
    TSpriteDef& s = project->sprites[12];
    EXPECT_EQ(LoadSpriteDef(s, 12), FileStatus::Loaded);
    EXPECT_EQ(s.name, "Boss");
    EXPECT_EQ(s.animate, 1);
    EXPECT_EQ(s.frameWidth, 48);
    EXPECT_EQ(s.frameHeight, 40);
    EXPECT_EQ(s.frameCount, 6);
    EXPECT_EQ(s.framesPerStep, 3);
    // The image part is left alone until images are attached.
    EXPECT_TRUE(s.frames.empty());
}

TEST_F(SpriteFileTest, NumberTwelveComesFromSprite12NeverFromAPaddedName) {
    writer.File("Sprite/Sprite012.bin", SpriteFile{"Padded"}.Encode());
    writer.File("Sprite/Sprite0012.bin", SpriteFile{"Padded"}.Encode());
    writer.Sprite(12, SpriteFile{"Twelve"});
    EXPECT_EQ(NumberedPath(kSpriteFolder, "Sprite%d.bin", 12), "Sprite\\Sprite12.bin");
    EXPECT_EQ(LoadSpriteDef(project->sprites[12], 12), FileStatus::Loaded);
    EXPECT_EQ(project->sprites[12].name, "Twelve");
}

TEST_F(SpriteFileTest, OnlyThePaddedNameGivesTheDefaults) {
    writer.File("Sprite/Sprite012.bin", SpriteFile{"Padded"}.Encode());
    EXPECT_EQ(LoadSpriteDef(project->sprites[12], 12), FileStatus::Missing);
    EXPECT_EQ(project->sprites[12].name, kUnregisteredCp932);
    EXPECT_EQ(project->sprites[12].frameCount, 4);
}

TEST_F(SpriteFileTest, MissingFileKeepsTheDefaults) {
    TSpriteDef& s = project->sprites[3];
    EXPECT_EQ(LoadSpriteDef(s, 3), FileStatus::Missing);
    EXPECT_EQ(s.name, kUnregisteredCp932);
    EXPECT_EQ(s.animate, 0);
    EXPECT_EQ(s.frameWidth, 32);
    EXPECT_EQ(s.frameHeight, 32);
    EXPECT_EQ(s.frameCount, 4);
    EXPECT_EQ(s.framesPerStep, 10);
}

TEST_F(SpriteFileTest, UnreadableFileKeepsTheDefaults) {
    dir.MakeDir("Sprite/Sprite4.bin");
    EXPECT_EQ(LoadSpriteDef(project->sprites[4], 4), FileStatus::Missing);
    EXPECT_EQ(project->sprites[4].name, kUnregisteredCp932);
}

TEST_F(SpriteFileTest, FileNameCaseDoesNotMatter) {
    // Projects come from a file system that ignores case.
    writer.File("sprite/SPRITE7.BIN", SpriteFile{"Seven"}.Encode());
    EXPECT_EQ(LoadSpriteDef(project->sprites[7], 7), FileStatus::Loaded);
    EXPECT_EQ(project->sprites[7].name, "Seven");
}

TEST_F(SpriteFileTest, NameWithLengthFourBillionKeepsEveryDefault) {
    writer.File(ProjectWriter::SpritePath(1),
                Bytes().StrRaw(4000000000u, "Ship").U8(1).I32(64).I32(64).I32(2).I32(5));
    EXPECT_EQ(LoadSpriteDef(project->sprites[1], 1), FileStatus::Truncated);
    const TSpriteDef& s = project->sprites[1];
    EXPECT_EQ(s.name, kUnregisteredCp932);
    EXPECT_EQ(s.animate, 0);
    EXPECT_EQ(s.frameWidth, 32);
    EXPECT_EQ(s.framesPerStep, 10);
}

TEST_F(SpriteFileTest, NameWithLengthZeroIsEmptyAndTheFieldsFollowIt) {
    writer.File(ProjectWriter::SpritePath(1), Bytes().U32(0).U8(1).I32(64).I32(48).I32(2).I32(5));
    EXPECT_EQ(LoadSpriteDef(project->sprites[1], 1), FileStatus::Loaded);
    const TSpriteDef& s = project->sprites[1];
    EXPECT_EQ(s.name, "");
    EXPECT_EQ(s.animate, 1);
    EXPECT_EQ(s.frameWidth, 64);
    EXPECT_EQ(s.frameHeight, 48);
    EXPECT_EQ(s.framesPerStep, 5);
}

TEST_F(SpriteFileTest, NameWithoutZeroByteTakesAllItsBytes) {
    writer.File(ProjectWriter::SpritePath(1), Bytes().StrRaw(3, "Orb").U8(1).I32(16));
    EXPECT_EQ(LoadSpriteDef(project->sprites[1], 1), FileStatus::Truncated);
    EXPECT_EQ(project->sprites[1].name, "Orb");
    EXPECT_EQ(project->sprites[1].animate, 1);
    EXPECT_EQ(project->sprites[1].frameWidth, 16);
    EXPECT_EQ(project->sprites[1].frameHeight, 32);
}

using SoundFileTest = ProjectTest;

TEST_F(SoundFileTest, ReadsEveryFieldInStoredOrder) {
    std::string name = Cp932("爆発");
    writer.Sound(2, SoundFile{name, 1, "boom.ogg", 128, 1});
    TSoundDef& s = project->sounds[2];
    EXPECT_EQ(LoadSoundDef(s, 2), FileStatus::Loaded);
    EXPECT_EQ(s.name, name.c_str());
    EXPECT_EQ(s.streamFromFile, 1);
    EXPECT_EQ(s.fileName, "boom.ogg");
    EXPECT_EQ(s.volume, 128);
    EXPECT_EQ(s.loop, 1);
    EXPECT_EQ(s.handle, -1);
}

TEST_F(SoundFileTest, MissingFileKeepsTheDefaults) {
    TSoundDef& s = project->sounds[9];
    EXPECT_EQ(LoadSoundDef(s, 9), FileStatus::Missing);
    EXPECT_EQ(s.name, kUnregisteredCp932);
    EXPECT_EQ(s.fileName, (std::string(kUnregisteredCp932) + ".wav").c_str());
    EXPECT_EQ(s.volume, 255);
    EXPECT_EQ(s.streamFromFile, 0);
    EXPECT_EQ(s.loop, 0);
}

TEST_F(SoundFileTest, FileNameLengthBeyondTheDataKeepsItAndTheRestAtDefaults) {
    writer.File(ProjectWriter::SoundPath(0),
                Bytes().Str("Cursor").U8(1).StrRaw(4000000000u, "a.wav").I32(10).U8(1));
    EXPECT_EQ(LoadSoundDef(project->sounds[0], 0), FileStatus::Truncated);
    const TSoundDef& s = project->sounds[0];
    EXPECT_EQ(s.name, "Cursor");
    EXPECT_EQ(s.streamFromFile, 1);
    EXPECT_EQ(s.fileName, (std::string(kUnregisteredCp932) + ".wav").c_str());
    EXPECT_EQ(s.volume, 255);
    EXPECT_EQ(s.loop, 0);
}

}  // namespace
