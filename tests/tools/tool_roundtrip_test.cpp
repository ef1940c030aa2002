// dump and build are each other's inverse: dump -> build -> dump gives the same JSON, and
// build -> dump -> build gives the same bytes. ProjectWriter encodes every file on its own,
// so a fixture that survives dump and build unchanged also checks the tool's encoders.
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <set>

#include "media/sound_decode.h"
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

// The odd project comes back byte for byte; its odd values are kept as numbers and hex text
// (the demo's JSON shows every usual name), and an image without a record as such. Records
// come and go with their files, and an empty folder has none of the single files either.
TEST_F(OddProject, ComesBackByteForByteWithOddValuesAsNumbersAndHexText) {
    ExpectRoundTrip(tmp, "a", "b");
    Json j = Json::parse(ReadText(tmp / "a.json"));
    EXPECT_EQ(j["sounds"][0]["name"], Json({{"cp932", "81"}}));
    EXPECT_EQ(j["player"]["padding"], Json({1, 2, 3}));
    const Json& actions = j["enemies"][0]["actions"];
    EXPECT_EQ(
        std::vector<Json>({actions[1]["paramB"], actions[1]["angleMode"], actions[4]["command"],
                           actions[4]["extra"], j["enemies"][0]["shotResponse"],
                           j["scene"][2]["place"], j["items"][0]["attribute"]}),
        std::vector<Json>({4, 9, 77, 12, 5, 7, 9}));
    EXPECT_EQ(j["scene"][3].dump(), R"({"command":"music","sound":9,"p2":1})");
    EXPECT_EQ(j["scene"][4].dump(), R"({"command":13,"p1":1,"p2":2,"p3":3,"p4":4,"p5":5,"p6":6})");
    EXPECT_EQ(j["sprites"][1],
              Json({{"number", 7}, {"definition", false}, {"image", "Sprite/Sprite7.png"}}));
    tmp.MakeDir("empty");
    Json none = Json::parse(Dump(tmp, "empty"));
    for (const char* key :
         {"sceneStart", "windowTitle", "player", "scene", "mapOrder", "frameImage"})
        EXPECT_FALSE(none.contains(key)) << key;
    EXPECT_TRUE(none["enemies"].empty());
}

// A truncated file is written back whole, and build leaves exactly the project's files in a
// folder that held another project: the old records go, files that are not the project's stay.
TEST(ToolRoundTrip, BuildWritesTruncatedFilesBackWholeOverAnotherProject) {
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

    ProjectWriter old(tmp / "b");
    old.Enemy(9).Sprite(4).File("Sprite/Sprite4.png", PngHeader(8, 8)).Scene();
    old.File("Setting.bin", std::string("\x01\x01", 2)).File("Sprite/notes.txt", "keep");
    ASSERT_EQ(RunTool({"build", tmp / "a.json", tmp / "b"}).exitCode, 0);
    e.actions.pop_back();
    EXPECT_EQ(tmp.ReadFile("b/Enemy/Enemy2.bin"), e.Encode().str());
    for (const char* gone :
         {"Enemy/Enemy9.bin", "Sprite/Sprite4.bin", "Sprite/Sprite4.png", "Global/Scene.bin"})
        EXPECT_FALSE(tmp.Exists(std::string("b/") + gone)) << gone;
    EXPECT_TRUE(tmp.Exists("b/Setting.bin") && tmp.Exists("b/Sprite/notes.txt"));
}

TEST(ToolRoundTrip, TheDemoComesBackByteForByteAndNamesEveryCommand) {
    TempDir tmp;
    RunResult r = RunTool({"build", ORVAN_DEMO_JSON, tmp / "a", "--assets", ORVAN_DEMO_ASSETS});
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

// The demo's generated sounds decode and are neither silent nor clipped (the sizes of its
// pictures are orvan-tool check's, run by the demo's build).
TEST(DemoAssets, SoundsDecodeAndAreAudible) {
    const Json game = Json::parse(ReadText(ORVAN_DEMO_JSON));
    for (const Json& s : game["sounds"]) {
        const std::string file = s["source"], bytes = ReadText(ORVAN_DEMO_ASSETS "/" + file);
        std::vector<int16_t> pcm;  // stereo at the rate they are made at: the samples as made
        std::string error;
        ASSERT_TRUE(media::DecodeSound({bytes.begin(), bytes.end()}, 22050, &pcm, &error))
            << file << ": " << error;
        // Music loops last several seconds.
        EXPECT_TRUE(file.substr(file.size() - 4) != ".ogg" || pcm.size() > 2 * 22050u * 5) << file;
        double peak = 0, sum = 0;
        for (int16_t v : pcm) {
            peak = std::max(peak, std::fabs(v / 32768.0));
            sum += (v / 32768.0) * (v / 32768.0);
        }
        EXPECT_GT(std::sqrt(sum / pcm.size()), 0.02) << file;
        EXPECT_LT(peak, 0.999) << file;
    }
}

}  // namespace
