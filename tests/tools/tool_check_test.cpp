// orvan-tool's reports: check finds every problem the game would meet silently, one line each
// with file, record and field, exit code 1 when it found an error (the demo is checked by its
// build); build names the path of a bad value in its JSON.
#include <gtest/gtest.h>

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
