// orvan-tool's reports: check finds every problem the game would meet silently, one line each
// with file, record and field, exit code 1 when it found an error (the demo is checked by its
// build); build names the path of a bad value in its JSON. Then the pictures: the sprite
// sheet, the scene timeline and an enemy's trace, on a small project and on the demo.
#include <gtest/gtest.h>

#include "media/image.h"
#include "support/png_writer.h"
#include "tool_runner.h"

namespace {

bool HasLine(const RunResult& r, const std::string& text) {
    return r.out.find(text) != std::string::npos;
}

// A complete little project that the check accepts: the fixed sprites and sounds, the
// player's bullet, the menu frame, a one-command scene and a strip in a JPEG.
class ToolCheck : public testing::Test {
protected:
    void SetUp() override {
        w.Global().Bullet(0, {"shot", 3, 4, 0, -1}).Scene({{{8, 0, 0, 0, 0, 0, 0}}});
        for (int n = 0; n < 9; ++n)
            w.File("Sprite/Sprite" + std::to_string(n) + ".png", PngHeader(32, 32));
        for (int n = 0; n < 11; ++n) {
            SoundFile s;
            s.fileName = "s" + std::to_string(n) + ".wav";
            w.Sound(n, s).File("Sound/" + s.fileName, "RIFF");
        }
        w.File("Frame.png", PngHeader(30, 39));
        // A strip in a JPEG whose APP0 segment comes before its baseline start-of-frame: the
        // check reads its size, 640 x 480, from the header alone.
        const char jpeg[] = "\xFF\xD8\xFF\xE0\x00\x04\x00\x00\xFF\xC0\x00\x11\x08\x01\xE0\x02\x80";
        w.Sprite(14, {"jpeg", 1, 320, 480, 2})
            .File("Sprite/Sprite14.png", std::string(jpeg, 17) + std::string(12, '\0'));
    }

    RunResult Check() { return RunTool({"check", tmp / "d"}); }
    void Remove(const std::string& relative) { std::remove((tmp / ("d/" + relative)).c_str()); }

    TempDir tmp;
    ProjectWriter w{tmp / "d"};
};

struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    std::string Size() const { return std::to_string(width) + "x" + std::to_string(height); }
    uint32_t At(int x, int y) const { return pixels[size_t(y) * width + x] & 0xFFFFFF; }
    int Count(uint32_t rgb) const {
        int n = 0;
        for (uint32_t p : pixels) n += (p & 0xFFFFFF) == rgb ? 1 : 0;
        return n;
    }
};

Picture Draw(const std::vector<std::string>& args, const std::string& out) {
    RunResult r = RunTool(args);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::string bytes = ReadText(out);
    media::Image image;
    std::string error;
    EXPECT_TRUE(media::DecodePng(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                                 &image, &error))
        << error;
    return Picture{image.width, image.height, image.pixels};
}

// Sprite 0: a strip of three 10 x 10 frames, red, green, blue. Enemy 1 shows it. The script:
// wait 59, enemy 1 at the top, wait 100, end of stage.
struct SmallProject {
    TempDir dir;
    SmallProject() {
        ProjectWriter w(dir / "Data");
        w.KindFolders().Global();
        w.Sprite(0, {Cp932("自機"), 1, 10, 10, 3});
        std::vector<uint32_t> argb(30 * 10);
        for (int i = 0; i < 300; ++i)
            argb[i] = (i % 30) < 10 ? 0xFFFF0000u : ((i % 30) < 20 ? 0xFF00FF00u : 0xFF0000FFu);
        w.File("Sprite/Sprite0.png", EncodeArgbPng(30, 10, argb));
        w.Enemy(1).Scene({{{0, 59}, {3, 1, 2, 100, 0, 90, 0}, {0, 100}, {8}}});
    }
};

// The sheet cuts strips into frames with their number and name; the timeline shows the script
// as the game runs it; the trace takes a number of frames.
TEST(ToolPictures, SheetTimelineAndTraceOfASmallProject) {
    SmallProject p;
    Picture sheet = Draw({"sheet", p.dir / "Data", p.dir / "s.png"}, p.dir / "s.png");
    EXPECT_EQ(sheet.Size(), "1280x480");
    // Three cells of 14 pixels from (8, 50), each with its frame in the middle.
    EXPECT_EQ(sheet.At(14, 56), 0xFF0000u);
    EXPECT_EQ(sheet.At(28, 56), 0x00FF00u);
    EXPECT_EQ(sheet.At(42, 56), 0x0000FFu);
    EXPECT_EQ(sheet.At(8, 50), 0x505860u);  // the cell around a frame
    int label = 0;
    for (int y = 32; y < 48; ++y)
        for (int x = 8; x < 120; ++x) label += sheet.At(x, y) != 0x202428u ? 1 : 0;
    EXPECT_GT(label, 40) << "no label";

    Picture t = Draw({"timeline", p.dir / "Data", p.dir / "t.png"}, p.dir / "t.png");
    EXPECT_EQ(t.Size(), "1272x320");  // one row of 1200 frames
    // One pixel a frame from x 56: the wait covers frames 1-61, the enemy appears in frame 62
    // and the stage ends in frame 167.
    EXPECT_EQ(t.At(56 + 30, 124), 0x8090A0u);
    EXPECT_NE(t.At(56 + 63, 124), 0x8090A0u);
    EXPECT_EQ(t.At(56 + 61, 149), 0xE0E0E0u);
    EXPECT_EQ(t.At(56 + 94, 152), 0x3A4450u);
    EXPECT_EQ(t.At(56 + 167, 200), 0xFF3030u);
    EXPECT_GT(t.Count(0xFF0000u), 10) << "no enemy picture";
    // The trace takes a number of frames and refuses an enemy outside the table.
    EXPECT_EQ(RunTool({"trace", p.dir / "Data", "1", p.dir / "x.png", "--frames", "5"}).exitCode,
              0);
    EXPECT_NE(RunTool({"trace", p.dir / "Data", "256", p.dir / "y.png"}).exitCode, 0);
}

// The demo's three pictures: every sprite and every entry is there, the boss and the end of
// the stage are drawn, the dart's trace has its path and fire points.
TEST(ToolPictures, DemoPictures) {
    TempDir out;
    Picture sheet = Draw({"sheet", ORVAN_DEMO_DATA, out / "s.png"}, out / "s.png");
    EXPECT_EQ(sheet.Size(), "1280x606");        // 29 sprites in four shelves
    EXPECT_NE(sheet.At(90, 110), 0x505860u);    // the title picture in its cell
    EXPECT_EQ(sheet.At(1270, 300), 0x202428u);  // nothing past the last block of a shelf

    Picture timeline = Draw({"timeline", ORVAN_DEMO_DATA, out / "t.png"}, out / "t.png");
    EXPECT_EQ(timeline.Size(), "1272x1600");  // 2:01 of stage in six rows of 256
    EXPECT_GT(timeline.Count(0xD03030u), 1000) << "no boss bar";
    EXPECT_GT(timeline.Count(0xFF3030u), 200) << "no end of stage";
    EXPECT_GT(timeline.Count(0x3A4450u), 60 * 400) << "appearance marks missing";

    Picture trace = Draw({"trace", ORVAN_DEMO_DATA, "1", out / "r.png"}, out / "r.png");
    EXPECT_EQ(trace.Size(), "640x480");
    EXPECT_GT(trace.Count(0xFFFF40u), 300) << "no path";
    EXPECT_GT(trace.Count(0xFF40FFu), 20) << "no fire points";
    EXPECT_EQ(trace.At(630, 470), 0x202428u);
}

}  // namespace

TEST_F(ToolCheck, ReportsEveryKindOfProblemWithFileRecordAndField) {
    // Images: a bullet whose sprite has no image; strips that do not fit or are too long.
    w.Bullet(1, {"b", 40, 2, 0, 300});
    w.Sprite(12, {"wide", 1, 32, 32, 4}).File("Sprite/Sprite12.png", PngHeader(100, 32));
    w.Sprite(13, {"long", 1, 32, 32, 600}).File("Sprite/Sprite13.png", PngHeader(32 * 600, 32));
    // A sound record whose file is missing.
    w.Sound(20, {"lost", 0, "gone.ogg"});
    // Numbers out of range.
    w.Item(0, {"i", 5000, 6, 0});
    // Successor 300 and a drop of item 999; waits with a ring of bullet 2 (no such bullet) at
    // spacing 0, a double ring of bullet 300 at spacing -1, a fan of one enemy 400, a jump to
    // a label no entry carries and command 40.
    const TActionEntry ring = {14, 10, 0, 4, 0, 2}, spawn = {14, 10, 0, 2, 1, 400, 0, 0, 0, 1};
    const TActionEntry doubleRing = {14, 10, 0, 6, 0, 300, 0, 0, 0, 0, 0, -1};
    EnemyFile e{"e", 3};
    e.successor = 300, e.dropCount = 1, e.dropKinds = {999};
    e.actions = {ring, doubleRing, spawn, {26, 7, 2}, {40}};
    w.Enemy(4, e);
    w.Scene({{{0, 10}, {4, 999}, {3, 300, 2, 100, 30, 90}, {1, 2000}, {9}, {8}}});
    // A file shorter than its fields; missing and broken files the game needs.
    w.File("Item/Item1.bin", ItemFile{}.Encode().Prefix(15)).File("Sprite/Sprite8.png", "not PNG");
    for (const char* file : {"Frame.png", "Global/Global.bin", "Sprite/Sprite5.png"}) Remove(file);

    RunResult r = Check();
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
        "error: Global/Global.bin: missing",
        "error: Sprite/Sprite5.png: sprites[5]: missing: the explosion",
        "error: Sprite/Sprite8.png: sprites[8]: not a PNG or JPEG image",
    };
    for (const char* line : expected) EXPECT_TRUE(HasLine(r, line)) << line << "\n" << r.out;
}

TEST_F(ToolCheck, ACompleteProjectPassesAndWarningsAloneDoNotFail) {
    RunResult r = Check();
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_TRUE(HasLine(r, "0 errors, 0 warnings")) << r.out;
    Remove("Sound/Sound8.bin");
    w.File("Item/Item2.bin", ItemFile{}.Encode().str() + "xx");
    r = Check();
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_TRUE(HasLine(r, "warning: Sound/Sound8.bin: sounds[8]: missing")) << r.out;
    EXPECT_TRUE(HasLine(r, "warning: Item/Item2.bin: 2 bytes after the last field")) << r.out;
}

// Errors in the JSON given to build name the path of the bad value; usage errors exit 2.
TEST(ToolJsonErrors, BadValuesAreNamedByTheirPath) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"enemies": [{"number": 3, "actions": [{"command": "wait", "paramA": 1},
            {"command": "moveOn", "paramA": "x"}]}]})",
         "enemies[0].actions[1].paramA: expected an integer"},
        {R"({"enemies": [{"number": 3, "actions": [{"command": "fly"}]}]})",
         "enemies[0].actions[0].command: \"fly\" is not an action command"},
        {R"({"sprites": [{"number": 1, "nmae": "x"}]})", "sprites[0].nmae: unknown field"},
        {R"({"bullets": [{"number": 256}]})",
         "bullets[0].number: expected an integer from 0 to 255"},
        {R"({"items": [{"number": 1}, {"number": 1}]})",
         "items[1].number: number 1 is given twice"},
        {R"({"sceneStart": 4294967296})", "sceneStart: expected a 32-bit integer"},
        {R"({"scene": [{"command": "enemyAppearance", "place": "middle"}]})",
         "scene[0].place: \"middle\" is not a place"},
        {R"({"scene": [{"command": "wait", "frames": 3, "p1": 4}]})",
         "scene[0].p1: the same word as \"frames\""},
        {R"({"player": {"invincible": 300}})",
         "player.invincible: expected an integer from 0 to 255"},
        {R"({"windowTitle": "\u00e9\u00e8"})", "windowTitle: cannot be written in cp932"},
        {R"({"maps": [{"number": 0, "cells": [[1, 2]]}]})",
         "maps[0].cells[0]: expected 13 integers"},
        {R"({"sprites": [{"number": 2, "definition": false, "animate": true}]})",
         "sprites[0].animate: a sprite without a definition file has no fields"},
        {R"({"sprites": [{"number": 0, "image": "nowhere.png"}]})",
         "sprites[0].image: file not found"},
        {"{\"sprites\": [}", "in.json"}};  // JSON that does not parse names the file
    for (const auto& [json, message] : cases) {
        TempDir tmp;
        tmp.WriteFile("in.json", json);
        RunResult r = RunTool({"build", tmp / "in.json", tmp / "out"});
        EXPECT_EQ(r.exitCode, 1) << json;
        EXPECT_NE(r.err.find(message), std::string::npos) << "stderr: " << r.err;
        EXPECT_FALSE(tmp.Exists("out/Global")) << "nothing is written after an error";
    }
}

TEST(ToolJsonErrors, UsageErrorsExitWithCode2) {
    TempDir tmp;
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {"pack", tmp.path()}, {"dump", tmp.path()}, {"build", "a.json", "b", "--colour"}})
        EXPECT_EQ(RunTool(args).exitCode, 2) << args.size();
    EXPECT_EQ(RunTool({"--help"}).exitCode, 0);
    // A folder that is not there is a failure of the command, not of its use.
    EXPECT_EQ(RunTool({"check", tmp / "missing"}).exitCode, 1);
}
