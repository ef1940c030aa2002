// dump and build are each other's inverse: dump -> build -> dump gives the same JSON, and
// build -> dump -> build gives the same bytes. ProjectWriter encodes every file on its own,
// so a fixture that survives dump and build unchanged also checks the tool's encoders.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>

#include "support/project_writer.h"
#include "tool_runner.h"

namespace {

using Json = nlohmann::ordered_json;

// Dumps the data folder 'folder' of 'tmp' into '<folder>.json' and returns the text.
std::string Dump(const TempDir& tmp, const std::string& folder) {
    RunResult r = RunTool({"dump", tmp / folder, tmp / (folder + ".json")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return ReadText(tmp / (folder + ".json"));
}

// Builds '<from>.json' into 'to' with the assets of 'from' and checks that the bytes and the
// dump of the result are those of 'from'.
void ExpectRoundTrip(const TempDir& tmp, const std::string& from, const std::string& to) {
    std::string first = Dump(tmp, from);
    RunResult r = RunTool({"build", tmp / (from + ".json"), tmp / to, "--assets", tmp / from});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadTree(tmp / from), ReadTree(tmp / to));
    EXPECT_EQ(Dump(tmp, to), first);
}

// A project with a non-default value in every field and the values a hostile or odd editor
// may leave behind: unknown codes, flags other than 0 and 1, texts that are not valid cp932.
class OddProject : public testing::Test {
protected:
    void SetUp() override {
        ProjectWriter w(tmp / "a");
        w.Global({3, Cp932("試験 Test"), 7}).Sprite(3, {Cp932("自機"), 2, 16, 24, 3, -5});
        w.File("Sprite/Sprite3.png", PngHeader(48, 24));
        w.File("Sprite/Sprite7.png", PngHeader(10, 10));  // an image without a record
        // The name is a lead byte with no trail byte: not valid cp932.
        w.Sound(4, {"\x81", 1, Cp932("曲.ogg"), 128, 255}).File("Sound/曲.ogg", "OggS fake data");
        w.Player({32, 32, 37.25, 0, 3, 1, 1, {1, 2, 3}});
        w.Bullet(0, {"b", 20, 4, 1, -1}).Item(255, {"i", 31, 9, -100});
        EnemyFile e{Cp932("要塞"), 0, 0, 5, 100, 1, 1, 0, 1, 12, 56, 36};
        // Move on with a fan of three enemies 5 (paramB is not read by move-on but kept), and
        // an unknown command with an unknown extra action.
        TActionEntry fan = {15, 30, 4, 2, 1, 5, 25, 0, 0, 3, 0, 20, 0, 0, 9, -45};
        TActionEntry unknown = {77, 1, 2, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3};
        e.actions = {{0, 25}, fan, {25, 1}, {26, 1, 3}, unknown};
        e.dropCount = 2;
        e.dropKinds = {0, 3, 255};
        e.groundDistance = -10;
        w.Enemy(12, e);
        w.Scene({{{0, 59, 0, 0, 0, 0, 0},
                  {3, 5, 2, 100, 30, 90, 1},
                  {3, 5, 7, 0, 0, 0, 0},
                  {4, 9, 1, 0, 0, 0, 0},
                  {13, 1, 2, 3, 4, 5, 6},
                  {8, 0, 0, 0, 0, 0, 0}}});
        w.Map(200, {"map", 42, {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}}});
        w.Order({{5, -1, 7}}).File("Frame.png", PngHeader(30, 39));
    }

    TempDir tmp;
};

TEST_F(OddProject, ComesBackByteForByte) {
    ExpectRoundTrip(tmp, "a", "b");
}

TEST_F(OddProject, OddValuesAreKeptAsNumbersAndHexText) {
    Json j = Json::parse(Dump(tmp, "a"));
    EXPECT_EQ(j["windowTitle"], "試験 Test");
    EXPECT_EQ(j["globalFlag"], 7);
    EXPECT_EQ(j["sounds"][0]["name"], Json({{"cp932", "81"}}));
    EXPECT_EQ(j["sounds"][0]["loop"], 255);
    EXPECT_EQ(j["sounds"][0]["source"], "Sound/曲.ogg");
    EXPECT_EQ(j["player"]["padding"], Json({1, 2, 3}));
    const Json& actions = j["enemies"][0]["actions"];
    EXPECT_EQ(actions[0], Json({{"command", "setSpeed"}, {"paramA", 25}}));
    EXPECT_EQ(std::vector<Json>({actions[1]["command"], actions[1]["paramB"], actions[1]["extra"],
                                 actions[1]["target"], actions[1]["angleMode"]}),
              std::vector<Json>({"moveOn", 4, "fan", "enemy", 9}));
    EXPECT_EQ(actions[4]["command"], 77);
    EXPECT_EQ(actions[4]["extra"], 12);
    EXPECT_EQ(j["enemies"][0]["shotResponse"], 5);
    EXPECT_EQ(j["scene"][1].dump(), R"({"command":"enemyAppearance","enemy":5,"place":"top",)"
                                    R"("position":100,"speed":30,"angle":90,"waitUntilDeath":1})");
    EXPECT_EQ(j["scene"][2]["place"], 7);
    EXPECT_EQ(j["scene"][3].dump(), R"({"command":"music","sound":9,"p2":1})");
    EXPECT_EQ(j["scene"][4].dump(), R"({"command":13,"p1":1,"p2":2,"p3":3,"p4":4,"p5":5,"p6":6})");
    EXPECT_EQ(j["items"][0]["attribute"], 9);
}

// Records come and go with their files (the byte-for-byte round trip shows it); an image
// without a record is kept as such, and an empty folder has none of the single files either.
TEST_F(OddProject, ARecordIsInTheJsonExactlyWhenItsFileExists) {
    Json j = Json::parse(Dump(tmp, "a"));
    EXPECT_EQ(j["sprites"][1],
              Json({{"number", 7}, {"definition", false}, {"image", "Sprite/Sprite7.png"}}));
    tmp.MakeDir("empty");
    Json none = Json::parse(Dump(tmp, "empty"));
    for (const char* key :
         {"sceneStart", "windowTitle", "player", "scene", "mapOrder", "frameImage"})
        EXPECT_FALSE(none.contains(key)) << key;
    EXPECT_TRUE(none["enemies"].empty());
}

TEST(ToolRoundTrip, TruncatedFilesAreWrittenBackWhole) {
    TempDir tmp;
    EnemyFile e;
    e.actions = {{0, 25}, {14, 60}};
    // Cut 10 bytes into the second action entry (after it: 54 more bytes of the entry and
    // the three words after the list): the fields after the cut keep their defaults.
    Bytes full = e.Encode();
    ProjectWriter(tmp / "a").Global().File("Enemy/Enemy2.bin", full.Prefix(full.size() - 12 - 54));
    Json j = Json::parse(Dump(tmp, "a"));
    ASSERT_EQ(j["enemies"].size(), 1u);
    EXPECT_EQ(j["enemies"][0]["actions"].size(), 1u);

    ASSERT_EQ(RunTool({"build", tmp / "a.json", tmp / "b"}).exitCode, 0);
    e.actions.pop_back();
    EXPECT_EQ(tmp.ReadFile("b/Enemy/Enemy2.bin"), e.Encode().str());
}

TEST(ToolRoundTrip, BuildLeavesExactlyTheProjectsFilesInTheFolder) {
    TempDir tmp;
    ProjectWriter(tmp / "a").Global().Item(1);
    ASSERT_EQ(RunTool({"dump", tmp / "a", tmp / "a.json"}).exitCode, 0);

    ProjectWriter old(tmp / "b");
    old.Enemy(9).Sprite(4).File("Sprite/Sprite4.png", PngHeader(8, 8)).Scene();
    old.File("Setting.bin", std::string("\x01\x01", 2)).File("Sprite/notes.txt", "keep");
    ASSERT_EQ(RunTool({"build", tmp / "a.json", tmp / "b"}).exitCode, 0);

    EXPECT_TRUE(tmp.Exists("b/Item/Item1.bin"));
    for (const char* gone :
         {"Enemy/Enemy9.bin", "Sprite/Sprite4.bin", "Sprite/Sprite4.png", "Global/Scene.bin"})
        EXPECT_FALSE(tmp.Exists(std::string("b/") + gone)) << gone;
    // Files that are not project files stay.
    EXPECT_TRUE(tmp.Exists("b/Setting.bin"));
    EXPECT_TRUE(tmp.Exists("b/Sprite/notes.txt"));
}

TEST(ToolRoundTrip, TheDemoComesBackByteForByteAndNamesEveryCommand) {
    TempDir tmp;
    RunResult r = BuildDemo(tmp / "a");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ExpectRoundTrip(tmp, "a", "b");

    Json j = Json::parse(ReadText(tmp / "a.json"));
    std::set<std::string> commands, extras, scene;
    for (const Json& e : j["enemies"])
        for (const Json& a : e["actions"]) {
            ASSERT_TRUE(a["command"].is_string()) << a.dump();
            commands.insert(a["command"].get<std::string>());
            if (a.contains("extra")) extras.insert(a["extra"].get<std::string>());
        }
    for (const Json& c : j["scene"]) scene.insert(c["command"].get<std::string>());
    // The demo uses every movement command, every extra action and every scene command.
    EXPECT_EQ(commands.size(), 29u);
    EXPECT_EQ(extras.size(), 7u);
    EXPECT_EQ(scene.size(), 9u);
}

}  // namespace
