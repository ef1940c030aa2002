// orvan-tool check: every problem the game would meet silently, one line each with file,
// record and field; exit code 1 when it found an error.
#include <gtest/gtest.h>

#include "support/project_writer.h"
#include "tool_runner.h"

namespace {

// A complete little project that the check accepts: the fixed sprites and sounds, the
// player's bullet, the menu frame and a one-command scene.
void WriteSoundProject(ProjectWriter& w) {
    w.Global({});
    for (int n = 0; n < 9; ++n) w.File(ProjectWriter::SpriteImagePath(n), PngHeader(32, 32));
    for (int n = 0; n < 11; ++n) {
        SoundFile s;
        s.fileName = "s" + std::to_string(n) + ".wav";
        w.Sound(n, s).File("Sound/" + s.fileName, "RIFF");
    }
    w.Bullet(0, {"shot", 3, 4, 0, -1});
    w.Scene(SceneOf({{8, 0, 0, 0, 0, 0, 0}}));
    w.File("Frame.png", PngHeader(30, 39));
}

RunResult Check(const TempDir& tmp) {
    return RunTool({"check", tmp / "d"});
}

bool HasLine(const RunResult& r, const std::string& text) {
    return r.out.find(text) != std::string::npos;
}

}  // namespace

TEST(ToolCheck, ACompleteProjectHasNoError) {
    TempDir tmp;
    tmp.MakeDir("d");
    ProjectWriter w(tmp / "d");
    WriteSoundProject(w);
    RunResult r = Check(tmp);
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(r.out.find("0 errors, 0 warnings"), std::string::npos) << r.out;
}

TEST(ToolCheck, TheDemoHasNoError) {
    TempDir tmp;
    ASSERT_EQ(BuildDemo(tmp / "d").exitCode, 0);
    RunResult r = Check(tmp);
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(r.out.find("0 errors"), std::string::npos) << r.out;
}

TEST(ToolCheck, ReportsEveryKindOfProblemWithFileRecordAndField) {
    TempDir tmp;
    tmp.MakeDir("d");
    ProjectWriter w(tmp / "d");
    WriteSoundProject(w);

    // Images: a bullet whose sprite has no image; strips that do not fit or are too long.
    w.Bullet(1, {"b", 40, 2, 0, 300});
    SpriteFile wide;
    wide.animate = 1;
    wide.frameWidth = 32;
    wide.frameHeight = 32;
    wide.frameCount = 4;
    w.Sprite(12, wide).File(ProjectWriter::SpriteImagePath(12), PngHeader(100, 32));
    SpriteFile longStrip = wide;
    longStrip.frameCount = 600;
    w.Sprite(13, longStrip).File(ProjectWriter::SpriteImagePath(13), PngHeader(32 * 600, 32));
    // A sound record whose file is missing.
    SoundFile lost;
    lost.fileName = "gone.ogg";
    w.Sound(20, lost);
    // Numbers out of range.
    w.Item(0, {"i", 5000, 6, 0});
    EnemyFile e;
    e.sprite = 3;
    e.successor = 300;
    e.dropCount = 1;
    e.dropKinds = {999};
    TActionEntry ring = Action(14, 10);
    ring.extra = 4;
    ring.which = 2;  // no such bullet
    ring.spacing = 0;
    TActionEntry doubleRing = Action(14, 10);
    doubleRing.extra = 6;
    doubleRing.which = 300;
    doubleRing.spacing = -1;
    TActionEntry spawn = Action(14, 10);
    spawn.extra = 2;
    spawn.target = 1;
    spawn.which = 400;
    spawn.count = 1;
    e.actions = {ring, doubleRing, spawn, Action(26, 7, 2), Action(40)};
    w.Enemy(4, e);
    w.Scene(SceneOf({{0, 10, 0, 0, 0, 0, 0},
                     {4, 999, 0, 0, 0, 0, 0},
                     {3, 300, 2, 100, 30, 90, 0},
                     {1, 2000, 0, 0, 0, 0, 0},
                     {9, 0, 0, 0, 0, 0, 0},
                     {8, 0, 0, 0, 0, 0, 0}}));
    // A file shorter than its fields.
    w.File(ProjectWriter::ItemPath(1), ItemFile{}.Encode().Prefix(15));
    // No menu frame.
    std::remove((tmp / "d/Frame.png").c_str());

    RunResult r = Check(tmp);
    EXPECT_EQ(r.exitCode, 1);
    const char* expected[] = {
        "error: Bullet/Bullet1.bin: bullets[1].sprite: sprite 40 has no image",
        "error: Bullet/Bullet1.bin: bullets[1].sound: sound 300 is outside 0..255",
        "error: Sprite/Sprite12.bin: sprites[12]: a strip of 4 frames of 32x32 needs 128x32",
        "error: Sprite/Sprite13.bin: sprites[13].frameCount: a strip holds at most 512 frames",
        "error: Sound/Sound20.bin: sounds[20].fileName: Sound/gone.ogg is missing",
        "error: Item/Item0.bin: items[0].sprite: sprite 5000 is outside 0..1023",
        "error: Item/Item0.bin: items[0].attribute: attribute 6 is outside 0..3",
        "error: Enemy/Enemy4.bin: enemies[4].successor: enemy 300 is outside 0..255",
        "error: Enemy/Enemy4.bin: enemies[4].dropKinds[0]: item 999 is outside 0..255",
        "error: Enemy/Enemy4.bin: enemies[4].actions[0].which: bullet 2 has no definition",
        "error: Enemy/Enemy4.bin: enemies[4].actions[0].spacing: a ring needs a spacing of 1",
        "error: Enemy/Enemy4.bin: enemies[4].actions[1].which: bullet 300 is outside 0..255",
        "error: Enemy/Enemy4.bin: enemies[4].actions[1].spacing: a ring needs a spacing of 1",
        "error: Enemy/Enemy4.bin: enemies[4].actions[2].which: enemy 400 is outside 0..255",
        "error: Enemy/Enemy4.bin: enemies[4].actions[3].paramA: no label entry carries label 7",
        "error: Enemy/Enemy4.bin: enemies[4].actions[4].command: unknown command 40",
        "error: Global/Scene.bin: scene[1].sound: sound 999 is outside 0..255",
        "error: Global/Scene.bin: scene[2].enemy: enemy 300 is outside 0..255",
        "error: Global/Scene.bin: scene[3].sprite: sprite 2000 is outside 0..1023",
        "error: Global/Scene.bin: scene[4].command: unknown command 9",
        "error: Item/Item1.bin: the file ends before its last field",
        "error: Frame.png: missing",
    };
    for (const char* line : expected) EXPECT_TRUE(HasLine(r, line)) << line << "\n" << r.out;
}

TEST(ToolCheck, AMissingGlobalFileAndMissingFixedImagesAreErrors) {
    TempDir tmp;
    tmp.MakeDir("d");
    ProjectWriter w(tmp / "d");
    WriteSoundProject(w);
    std::remove((tmp / ("d/" + ProjectWriter::GlobalPath())).c_str());
    std::remove((tmp / ("d/" + ProjectWriter::SpriteImagePath(5))).c_str());
    w.File(ProjectWriter::SpriteImagePath(8), "not an image");
    RunResult r = Check(tmp);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(HasLine(r, "error: Global/Global.bin: missing")) << r.out;
    EXPECT_TRUE(HasLine(r, "error: Sprite/Sprite5.png: sprites[5]: missing: the explosion"))
        << r.out;
    EXPECT_TRUE(HasLine(r, "error: Sprite/Sprite8.png: sprites[8]: not a PNG or JPEG image"))
        << r.out;
}

TEST(ToolCheck, WarningsAloneDoNotFail) {
    TempDir tmp;
    tmp.MakeDir("d");
    ProjectWriter w(tmp / "d");
    WriteSoundProject(w);
    std::remove((tmp / ("d/" + ProjectWriter::SoundPath(8))).c_str());
    w.File(ProjectWriter::ItemPath(2), ItemFile{}.Encode().str() + "xx");
    RunResult r = Check(tmp);
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_TRUE(HasLine(r, "warning: Sound/Sound8.bin: sounds[8]: missing")) << r.out;
    EXPECT_TRUE(HasLine(r, "warning: Item/Item2.bin: 2 bytes after the last field")) << r.out;
}
