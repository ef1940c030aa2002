// Errors in the JSON given to build name the path of the bad value; usage errors exit 2.
#include <gtest/gtest.h>

#include "tool_runner.h"

namespace {

// Builds 'json' from "in.json" into a fresh folder and expects it to fail with 'message'.
void ExpectError(const std::string& json, const std::string& message) {
    TempDir tmp;
    tmp.WriteFile("in.json", json);
    RunResult r = RunTool({"build", tmp / "in.json", tmp / "out"});
    EXPECT_EQ(r.exitCode, 1) << json;
    EXPECT_NE(r.err.find(message), std::string::npos) << "stderr: " << r.err;
    EXPECT_FALSE(tmp.Exists("out/Global")) << "nothing is written after an error";
}

}  // namespace

TEST(ToolJsonErrors, BadValuesAreNamedByTheirPath) {
    ExpectError(R"({"enemies": [{"number": 3, "actions": [{"command": "wait", "paramA": 1},
                  {"command": "moveOn", "paramA": "x"}]}]})",
                "enemies[0].actions[1].paramA: expected an integer");
    ExpectError(R"({"enemies": [{"number": 3, "actions": [{"command": "fly"}]}]})",
                "enemies[0].actions[0].command: \"fly\" is not an action command");
    ExpectError(R"({"sprites": [{"number": 1, "nmae": "x"}]})", "sprites[0].nmae: unknown field");
    ExpectError(R"({"bullets": [{"number": 256}]})",
                "bullets[0].number: expected an integer from 0 to 255");
    ExpectError(R"({"items": [{"number": 1}, {"number": 1}]})",
                "items[1].number: number 1 is given twice");
    ExpectError(R"({"sceneStart": 4294967296})", "sceneStart: expected a 32-bit integer");
    ExpectError(R"({"scene": [{"command": "enemyAppearance", "place": "middle"}]})",
                "scene[0].place: \"middle\" is not a place");
    ExpectError(R"({"scene": [{"command": "wait", "frames": 3, "p1": 4}]})",
                "scene[0].p1: the same word as \"frames\"");
    ExpectError(R"({"player": {"invincible": 300}})",
                "player.invincible: expected an integer from 0 to 255");
    ExpectError(R"({"windowTitle": "\u00e9\u00e8"})", "windowTitle: cannot be written in cp932");
    ExpectError(R"({"maps": [{"number": 0, "cells": [[1, 2]]}]})",
                "maps[0].cells[0]: expected 13 integers");
    ExpectError(R"({"sprites": [{"number": 2, "definition": false, "animate": true}]})",
                "sprites[0].animate: a sprite without a definition file has no fields");
    ExpectError(R"({"sprites": [{"number": 0, "image": "nowhere.png"}]})",
                "sprites[0].image: file not found");
    ExpectError("{\"sprites\": [}", "in.json");  // JSON that does not parse names the file
}

TEST(ToolJsonErrors, UsageErrorsExitWithCode2) {
    TempDir tmp;
    EXPECT_EQ(RunTool({}).exitCode, 2);
    EXPECT_EQ(RunTool({"pack", tmp.path()}).exitCode, 2);
    EXPECT_EQ(RunTool({"dump", tmp.path()}).exitCode, 2);
    EXPECT_EQ(RunTool({"build", "a.json", "b", "--colour"}).exitCode, 2);
    EXPECT_EQ(RunTool({"--help"}).exitCode, 0);
    // A folder that is not there is a failure of the command, not of its use.
    EXPECT_EQ(RunTool({"check", tmp / "missing"}).exitCode, 1);
}
