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

// Dumps 'dataDir' and returns the JSON text.
std::string Dump(const TempDir& tmp, const std::string& dataDir, const std::string& name) {
    RunResult r = RunTool({"dump", dataDir, tmp / name});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return ReadText(tmp / name);
}

// A project with a non-default value in every field and the values a hostile or odd editor
// may leave behind: unknown codes, flags other than 0 and 1, texts that are not valid cp932.
void WriteOddProject(ProjectWriter& w) {
    w.Global({3, Cp932("試験 Test"), 7});
    SpriteFile strip;
    strip.name = Cp932("自機");
    strip.animate = 2;
    strip.frameWidth = 16;
    strip.frameHeight = 24;
    strip.frameCount = 3;
    strip.framesPerStep = -5;
    w.Sprite(3, strip);
    w.File(ProjectWriter::SpriteImagePath(3), PngHeader(48, 24));
    w.File(ProjectWriter::SpriteImagePath(7), PngHeader(10, 10));  // an image without a record
    SoundFile sound;
    sound.name = "\x81";  // a lead byte with no trail byte: not valid cp932
    sound.streamFromFile = 1;
    sound.fileName = Cp932("曲.ogg");
    sound.volume = 128;
    sound.loop = 255;
    w.Sound(4, sound);
    w.File("Sound/" + std::string("\xE6\x9B\xB2.ogg"), "OggS fake data");
    PlayerFile player;
    player.moveSpeed = 37.25;
    player.initialLife = 0;
    player.invincible = 1;
    player.padding = {1, 2, 3};
    w.Player(player);
    w.Bullet(0, {"b", 20, 4, 1, -1});
    w.Item(255, {"i", 31, 9, -100});
    EnemyFile e;
    e.name = Cp932("要塞");
    e.contactHurts = 0;
    e.shotResponse = 5;
    e.successor = 12;
    e.hitWidth = 56;
    e.hitHeight = 36;
    TActionEntry fan = Action(15, 30, 4);  // paramB is not read by move-on but kept
    fan.extra = 2;
    fan.target = 1;
    fan.which = 5;
    fan.shotSpeed = 25;
    fan.count = 3;
    fan.spacing = 20;
    fan.angleMode = 9;
    fan.angleValue = -45;
    TActionEntry unknown = Action(77, 1, 2);
    unknown.extra = 12;
    unknown.angleJitter = 3;
    e.actions = {Action(0, 25), fan, Action(25, 1), Action(26, 1, 3), unknown};
    e.dropCount = 2;
    e.dropKinds = {0, 3, 255};
    e.groundDistance = -10;
    w.Enemy(12, e);
    w.Scene(SceneOf({{0, 59, 0, 0, 0, 0, 0},
                     {3, 5, 2, 100, 30, 90, 1},
                     {3, 5, 7, 0, 0, 0, 0},
                     {4, 9, 1, 0, 0, 0, 0},
                     {13, 1, 2, 3, 4, 5, 6},
                     {8, 0, 0, 0, 0, 0, 0}}));
    MapFile map;
    map.name = "map";
    map.value = 42;
    map.cells = {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}};
    w.Map(200, map);
    OrderFile order;
    order.values = {5, -1, 7};
    w.Order(order);
    w.File("Frame.png", PngHeader(30, 39));
}

}  // namespace

TEST(ToolRoundTrip, OddProjectComesBackByteForByte) {
    TempDir tmp;
    tmp.MakeDir("a");
    ProjectWriter w(tmp / "a");
    WriteOddProject(w);
    std::string first = Dump(tmp, tmp / "a", "a.json");

    // Assets are found beside the records they came from.
    RunResult r = RunTool({"build", tmp / "a.json", tmp / "b", "--assets", tmp / "a"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadTree(tmp / "a"), ReadTree(tmp / "b"));
    EXPECT_EQ(Dump(tmp, tmp / "b", "b.json"), first);
}

TEST(ToolRoundTrip, OddValuesAreKeptAsNumbersAndHexText) {
    TempDir tmp;
    tmp.MakeDir("a");
    ProjectWriter w(tmp / "a");
    WriteOddProject(w);
    Json j = Json::parse(Dump(tmp, tmp / "a", "a.json"));

    EXPECT_EQ(j["windowTitle"], "試験 Test");
    EXPECT_EQ(j["globalFlag"], 7);
    EXPECT_EQ(j["sounds"][0]["name"], Json({{"cp932", "81"}}));
    EXPECT_EQ(j["sounds"][0]["loop"], 255);
    EXPECT_EQ(j["sounds"][0]["source"], "Sound/曲.ogg");
    EXPECT_EQ(j["player"]["padding"], Json({1, 2, 3}));
    const Json& actions = j["enemies"][0]["actions"];
    EXPECT_EQ(actions[0], Json({{"command", "setSpeed"}, {"paramA", 25}}));
    EXPECT_EQ(actions[1]["command"], "moveOn");
    EXPECT_EQ(actions[1]["paramB"], 4);
    EXPECT_EQ(actions[1]["extra"], "fan");
    EXPECT_EQ(actions[1]["target"], "enemy");
    EXPECT_EQ(actions[1]["angleMode"], 9);
    EXPECT_EQ(actions[4]["command"], 77);
    EXPECT_EQ(actions[4]["extra"], 12);
    EXPECT_EQ(j["enemies"][0]["shotResponse"], 5);
    EXPECT_EQ(j["scene"][1], Json({{"command", "enemyAppearance"},
                                   {"enemy", 5},
                                   {"place", "top"},
                                   {"position", 100},
                                   {"speed", 30},
                                   {"angle", 90},
                                   {"waitUntilDeath", 1}}));
    EXPECT_EQ(j["scene"][2]["place"], 7);
    EXPECT_EQ(j["scene"][3], Json({{"command", "music"}, {"sound", 9}, {"p2", 1}}));
    EXPECT_EQ(
        j["scene"][4],
        Json({{"command", 13}, {"p1", 1}, {"p2", 2}, {"p3", 3}, {"p4", 4}, {"p5", 5}, {"p6", 6}}));
    EXPECT_EQ(j["items"][0]["attribute"], 9);
}

TEST(ToolRoundTrip, ARecordIsInTheJsonExactlyWhenItsFileExists) {
    TempDir tmp;
    tmp.MakeDir("a");
    ProjectWriter w(tmp / "a");
    WriteOddProject(w);
    Json j = Json::parse(Dump(tmp, tmp / "a", "a.json"));

    ASSERT_EQ(j["bullets"].size(), 1u);
    EXPECT_EQ(j["bullets"][0]["number"], 0);
    ASSERT_EQ(j["items"].size(), 1u);
    EXPECT_EQ(j["items"][0]["number"], 255);
    ASSERT_EQ(j["sprites"].size(), 2u);
    EXPECT_EQ(j["sprites"][1],
              Json({{"number", 7}, {"definition", false}, {"image", "Sprite/Sprite7.png"}}));
    EXPECT_EQ(j["maps"][0]["number"], 200);

    // An empty folder has no record and none of the single files.
    tmp.MakeDir("empty");
    Json none = Json::parse(Dump(tmp, tmp / "empty", "empty.json"));
    for (const char* key :
         {"sceneStart", "windowTitle", "player", "scene", "mapOrder", "frameImage"})
        EXPECT_FALSE(none.contains(key)) << key;
    EXPECT_TRUE(none["enemies"].empty());
}

TEST(ToolRoundTrip, TruncatedFilesAreWrittenBackWhole) {
    TempDir tmp;
    tmp.MakeDir("a");
    ProjectWriter w(tmp / "a");
    w.Global({});
    EnemyFile e;
    e.actions = {Action(0, 25), Action(14, 60)};
    // Cut 10 bytes into the second action entry (before it: 54 more bytes of the entry and
    // the three words after the list): the fields after the cut keep their defaults.
    Bytes full = e.Encode();
    w.File(ProjectWriter::EnemyPath(2), full.Prefix(full.size() - 12 - 54));
    Json j = Json::parse(Dump(tmp, tmp / "a", "a.json"));
    ASSERT_EQ(j["enemies"].size(), 1u);
    EXPECT_EQ(j["enemies"][0]["actions"].size(), 1u);

    ASSERT_EQ(RunTool({"build", tmp / "a.json", tmp / "b"}).exitCode, 0);
    EnemyFile whole;
    whole.actions = {Action(0, 25)};
    EXPECT_EQ(tmp.ReadFile("b/" + ProjectWriter::EnemyPath(2)), whole.Encode().str());
}

TEST(ToolRoundTrip, BuildLeavesExactlyTheProjectsFilesInTheFolder) {
    TempDir tmp;
    tmp.MakeDir("a");
    ProjectWriter(tmp / "a").Global({}).Item(1, {});
    ASSERT_EQ(RunTool({"dump", tmp / "a", tmp / "a.json"}).exitCode, 0);

    ProjectWriter old(tmp / "b");
    tmp.MakeDir("b");
    old.Enemy(9, {}).Sprite(4, {}).File(ProjectWriter::SpriteImagePath(4), PngHeader(8, 8));
    old.Scene({}).File("Setting.bin", std::string("\x01\x01", 2)).File("Sprite/notes.txt", "keep");
    ASSERT_EQ(RunTool({"build", tmp / "a.json", tmp / "b"}).exitCode, 0);

    EXPECT_TRUE(tmp.Exists("b/" + ProjectWriter::ItemPath(1)));
    EXPECT_FALSE(tmp.Exists("b/" + ProjectWriter::EnemyPath(9)));
    EXPECT_FALSE(tmp.Exists("b/" + ProjectWriter::SpritePath(4)));
    EXPECT_FALSE(tmp.Exists("b/" + ProjectWriter::SpriteImagePath(4)));
    EXPECT_FALSE(tmp.Exists("b/" + ProjectWriter::ScenePath()));
    // Files that are not project files stay.
    EXPECT_TRUE(tmp.Exists("b/Setting.bin"));
    EXPECT_TRUE(tmp.Exists("b/Sprite/notes.txt"));
}

TEST(ToolRoundTrip, DemoBuildDumpBuildIsByteIdentical) {
    TempDir tmp;
    RunResult r = BuildDemo(tmp / "a");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string first = Dump(tmp, tmp / "a", "a.json");
    r = RunTool({"build", tmp / "a.json", tmp / "b", "--assets", tmp / "a"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadTree(tmp / "a"), ReadTree(tmp / "b"));
    EXPECT_EQ(Dump(tmp, tmp / "b", "b.json"), first);
}

TEST(ToolRoundTrip, DumpNamesEveryCommandOfTheDemo) {
    TempDir tmp;
    ASSERT_EQ(BuildDemo(tmp / "a").exitCode, 0);
    Json j = Json::parse(Dump(tmp, tmp / "a", "a.json"));
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
