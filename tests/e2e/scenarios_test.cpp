// Golden runs: the demo played to its end and generated games played headless with scripted
// input, each a table row of a few lines. Every frame's state dump and every fifth back buffer
// are hashed and compared with tests/e2e/goldens/<name>, and probes check named values of
// the dump on the way ("FRAME /json/pointer VALUE"). A failure prints the new hashes; a change
// meant to alter play or pictures records them with ORVAN_UPDATE_GOLDENS=1 (ctest -R Scenario).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <sstream>

#include "media/inspect.h"
#include "shell/replay.h"
#include "support/game_runner.h"
#include "support/png_writer.h"
#include "support/project_writer.h"
#include "support/temp_dir.h"
#include "support/wav_writer.h"

namespace {

uint64_t Mix(uint64_t h, uint64_t v) {
    return (h ^ v) * 1099511628211ull;
}

void ExpectGolden(const std::string& name, GameRunner& run, const std::string& input,
                  uint32_t frames, const std::string& probes = "") {
    SCOPED_TRACE(name);
    run.SetInput(input);
    ASSERT_TRUE(run.Start());
    std::istringstream probe(probes);
    uint32_t probeFrame = 0;
    std::string pointer, value;
    probe >> probeFrame >> pointer >> value;
    uint64_t state = 1469598103934665603ull, picture = state;
    while (run.game().frame < frames && run.Frame()) {
        const std::string dump = run.Dump();
        state = Mix(state, Checksum(dump));
        for (; probe && probeFrame == run.game().frame; probe >> probeFrame >> pointer >> value)
            EXPECT_EQ(nlohmann::json::parse(dump).at(nlohmann::json::json_pointer(pointer)),
                      nlohmann::json::parse(value))
                << "frame " << probeFrame << " " << pointer;
        if (run.game().frame % 5 != 0) continue;
        const uint32_t* back = media::BackBuffer();
        for (int i = 0; i < 640 * 480; i += 2)
            picture = Mix(picture, back[i] | uint64_t(back[i + 1]) << 32);
    }
    EXPECT_EQ(run.game().frame, frames);
    EXPECT_FALSE(probe) << "probe of frame " << probeFrame << " not reached";
    std::ostringstream got;
    got << std::hex << state << " " << picture << "\n";
    const std::string path = ORVAN_SOURCE_DIR "/tests/e2e/goldens/" + name;
    if (std::getenv("ORVAN_UPDATE_GOLDENS")) std::ofstream(path) << got.str();
    std::stringstream expected;
    expected << std::ifstream(path).rdbuf();
    EXPECT_EQ(got.str(), expected.str()) << "the run's hashes differ from " << path;
}

// Style 0: a keyed disc on black; 1: opaque noise; 2: a disc fading out toward its rim.
std::vector<unsigned char> Picture(int w, int h, int style, uint32_t seed) {
    std::vector<uint32_t> px(size_t(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double dx = (x + 0.5) / w - 0.5, dy = (y + 0.5) / h - 0.5;
            const double r = 4 * (dx * dx + dy * dy);
            seed = seed * 214013u + 2531011u;
            const uint32_t rgb = (seed >> 8 & 0xFFFFFF) | 0x404040;
            const uint32_t a = style == 1 ? 255 : r > 1 ? 0 : style == 0 ? 255 : 255 * (1 - r);
            px[size_t(y) * w + x] = (style == 0 && r > 1) ? 0xFF000000u : a << 24 | rgb;
        }
    }
    return EncodeArgbPng(w, h, px, style == 2);
}

// Every picture and sound a game shows: the title (sprite 0), panel (1), ship (2-4), effect
// (5), bomb (6), game over (7), background (8), enemies (9, 10), bullets (11, 12), items (13),
// animated where the game steps frames; the player's shot 0, enemy bullets 1 and 2, items 0-3
// of each attribute, sounds 0-10 and a music loop 11. Styles as Picture's (1, 2: odd sizes).
void Kit(ProjectWriter& w, int style, const PlayerFile& player) {
    const int odd = style > 0;
    w.KindFolders().Global().Player(player);
    w.File("Frame.png", Picture(30, 39, 1, 7));
    const struct {
        int n, w, h, frames, style;
    } sprites[] = {
        {0, 640, 480, 1, 1},         {1, 224, 480, 1, 1},      {2, 32, 32, 2, style},
        {3, 32, 32, 2, style},       {4, 32, 32, 2, style},    {5, 32, 32, 8, 2},
        {6, 400, 400, 2, 2},         {7, 640, 480, 1, 1},      {8, 416, 960, 1, 1},
        {9, 32 + odd, 30, 4, style}, {10, 96 + odd, 81, 1, 2}, {11, 8 + odd, 8, 2, style},
        {12, 6, 17 - odd, 1, style}, {13, 16, 16, 1, style}};
    for (const auto& s : sprites) {
        w.Sprite(s.n, {"s", uint8_t(s.frames > 1), s.w, s.h, s.frames, 2});
        w.File("Sprite/Sprite" + std::to_string(s.n) + ".png",
               Picture(s.w * s.frames, s.h, s.style, uint32_t(s.n + 100 * style)));
    }
    w.Bullet(0, {"shot", 12, 3, 1, -1}).Bullet(1, {"b", 11, 2, 1, -1}).Bullet(2, {"a", 11, 3, 2});
    for (int k = 0; k < 4; ++k) w.Item(k, {"i", 13, k, 50});
}

void Sounds(ProjectWriter& w) {
    std::vector<int16_t> tone(4800);
    for (size_t i = 0; i < tone.size(); ++i) tone[i] = int16_t(i % 100 * 50);
    w.File("Sound/t.wav", wav::Pcm16(tone, 1, 48000));
    for (int n = 0; n <= 11; ++n) w.Sound(n, {"", 0, "t.wav", 200, uint8_t(n >= 9)});
}

// A shooter that crowds the screen with every kind of draw and hit: popcorn that turns and
// fires (dropping no lives, so that a mortal ship runs out), a boss and its second phase
// that spins out see-through children whose successors appear when it falls, an armoured
// enemy, and a chain of two that homes on the ship; they come in waves from the top and the
// left, then the boss, then every enemy is destroyed and the stage ends.
void Shooter(ProjectWriter& w) {
    const TActionEntry fan{15, 50, 0, 2, 0, 1, 25, 5, 12, 3, 0, 15, 0, 3, 1};
    const TActionEntry spread{15, 400, 0, 3, 0, 2, 25, 5, 20, 2, 0, 0, 0, 3, 1};
    const TActionEntry ring{14, 100000, 0, 4, 0, 1, 25, 5, 9, 0, 0, 15, 0, 3, 1};
    const TActionEntry spiral{14, 100000, 0, 5, 1, 3, 25, 5, 6, 0, 0, 23, 0, 3, 1};
    // clang-format off
    const EnemyFile enemies[] = {
        {"p", 9, 1, 0, 100, 2, 1, 1, 1, -1, -1, -1, {{0, 20}, fan, {23, 180, 60}, spread}, {}, 2,
         {0, 1, 3}},
        {"b", 10, 1, 0, 5000, 60, 3, 2, 1, 2, 40, 30, {{0, 15}, {17, 208, 120}, ring}},
        {"b", 10, 1, 0, 5000, 60, 3, 2, 1, -1, 40, 30, {spiral}, {}, 0, {}, {}, 2},
        {"c", 9, 1, 1, 0, 1, 1, 1, 0, 5, 6, 6, {{15, 300}}},
        {"a", 9, 1, 2, 0, 1, 1, 0, 0, -1, -1, -1, {{0, 8}, {15, 1000}}},
        {"h", 9, 0, 0, 10, 0, 1, 2, 1, 6, 20, 4, {{0, 12}, {16, 1000}}},
        {"h", 9, 0, 0, 10, 0, 1, 2, 1, -1, 4, 20, {{0, 12}, {16, 1000}}, {}, 0, {}, {}, 1}};
    // clang-format on
    for (int k = 0; k < 7; ++k) w.Enemy(k, enemies[k]);
    SceneFile scene;
    for (int i = 0; i < 80; ++i) {
        const int kind = i % 7 == 6 ? 4 : i % 5 == 4 ? 5 : 0, edge = i % 3 == 1 ? 0 : 2;
        scene.commands.push_back(
            {3, kind, edge, i * 97 % 400 + 8, 20 + i % 4 * 5, 90 - i % 3 * 20});
        scene.commands.push_back({0, 1 + i % 4});
    }
    scene.commands.insert(scene.commands.end(),
                          {{2, 30}, {3, 1, 2, 208, 20, 90, 1}, {7}, {0, 60}, {8}});
    w.Scene(scene);
}

// clang-format off
// Firing all the way, with bombs, a pause and sweeps under the waves.
const char kSweeps[] =
    "100 X\n150-1390 X\n200-260 LEFT\n300-420 RIGHT\n430-600 LEFT UP\n610-800 RIGHT\n"
    "820-900 DOWN LEFT\n1000-1028 RIGHT\n700 Z\n1100 Z\n1400 ESC\n1405 X\n1410-1500 X\n";

// Every movement command on the ship's trail: loops, turns, curves, acceleration, waits,
// fixed, random and remembered headings, homing, points, jumps and following, and the odd
// lists: a wait or a random point or a return at entry 0, an empty list, unknown codes, a
// watched enemy leaving the screen and one vanishing.
void Moves(ProjectWriter& w) {
    const std::vector<TActionEntry> tour = {
        {0, 15}, {5}, {15, 60}, {25, 2}, {25, 1}, {3}, {15, 20}, {21, 30}, {15, 10}, {20, 20},
        {23, 30, 200}, {22, 30, 200}, {26, 1, 2}, {12, 5}, {15, 10}, {13}, {14, 5}, {15, 3},
        {0, 15}, {2}, {15, 5}, {4}, {15, 5}, {6}, {15, 5}, {7}, {15, 5}, {8}, {15, 5}, {9},
        {15, 5}, {3}, {15, 5}, {5}, {15, 5}, {10}, {15, 5}, {0, 15, 0, 1}, {11}, {15, 10},
        {16, 20}, {17, 208, 150}, {18}, {19, 208, 100}, {27, 20}, {28, 20}, {99}, {-3},
        {26, 2, 1}, {1, 350}, {23, 20, 200}, {0, 0}, {15, 30}, {24}};
    const std::vector<TActionEntry> lists[] = {tour, {{14, 3}, {15, 30}}, {{18}, {0, 30}, {18}},
        {{26, 1, 2}, {15, 5}, {25, 1}, {0, 10}, {5}, {15, 3}}, {}, {{0, 50}, {2}, {15, 1000}},
        {{14, 20}, {24}}};
    for (int k = 0; k < 7; ++k) {
        EnemyFile e{"m", 9, 0};
        e.actions = lists[k];
        e.successor = k == 6 ? 3 : -1;
        w.Enemy(k + 1, e);
    }
    w.Scene({{{3, 1, 2, 100, 20, 90}, {0, 20}, {3, 1, 0, 200, 30, 0}, {3, 2, 1, 150, 25, 180},
             {3, 3, 3, 300, 10, 270}, {3, 4, 2, 300, 10, 90}, {3, 5, 2, 50, 30, 90}, {0, 100},
             {3, 6, 2, 208, 10, 90, 1}, {3, 7, 2, 100, 0, 0, 1}, {3, 1, 0, 100, 20, 0}, {0,
             600}, {8}}});
}

// Every attack: fans, random spreads, rings, spirals and double rings of bullets and of child
// enemies, aimed and not, with jitters, every base heading, intervals of 0 and more, odd
// spacings and the sound extra; the bomb then kills a parent, whose children and their
// children die with it.
void Attacks(ProjectWriter& w) {
    const std::vector<TActionEntry> lists[] = {
        {{0, 10}, {5}, {15, 20}, {15, 300, 0, 2, 0, 1, 25, 5, 12, 3, 1, 15, 5, 10, 1}},
        {{15, 300, 0, 2, 1, 8, 20, 0, 40, 2, 0, 30, 0, 0, 1}},
        {{15, 300, 0, 3, 0, 1, 20, 5, 20, 4, 1, 30, 0, 8, 1}},
        {{15, 100, 0, 3, 1, 9, 20, 5, 30, 2, 0, 0, 0, 20, 1}, {15, 100, 0, 3, 1, 9, 20, 5, 30, 2, 0, 0, 0, 20, 0}},
        {{14, 100, 0, 4, 0, 2, 20, 3, 30, 0, 0, 45, 0, 10}, {14, 60, 0, 4, 0, 1, 20, 0, 10, 0, 0, 400},
         {14, 60, 0, 4, 0, 1, 20, 0, 10, 0, 0, 0}},
        {{14, 100, 0, 5, 0, 1, 30, 0, 3, 0, 0, 23}, {14, 100, 0, 5, 0, 1, 30, 0, 3, 0, 0, -40},
         {14, 100, 0, 6, 0, 2, 30, 0, 5, 0, 0, 150, 0, 10}},
        {{0, 20, 0, 1}, {3}, {15, 10, 0, 2, 0, 1, 20, 0, 2, 1, 0, 0, 0, 0, 0, 33},
         {15, 10, 0, 2, 0, 1, 20, 0, 2, 1, 0, 0, 0, 0, 2, 33}, {15, 10, 0, 2, 0, 1, 20, 0, 2, 1, 0, 0, 0, 0, 3, 33},
         {15, 10, 0, 2, 0, 1, 20, 0, 2, 1, 0, 0, 0, 0, 4, 33}, {15, 10, 0, 2, 0, 1, 20, 0, 2, 1, 0, 0, 0, 0, 5, 33},
         {15, 10, 0, 2, 0, 1, 20, 0, 2, 1, 0, 0, 0, 0, 6, 33}, {15, 10, 0, 2, 0, 1, 20, 0, 2, 1, 0, 0, 0, 0, -1, 33},
         {2}, {15, 100, 0, 2, 0, 1, 20, 0, 7, 1, 0, 0, 0, 0, 2}},
        {{0, 15}, {5}, {15, 60, 0, 4, 1, 9, 20, 0, 20, 0, 0, 90}},
        {{0, 10}, {15, 100}},
        {{15, 30, 0, 7, 3}, {15, 20, 0, 2, 0, 2, 30, 0, 0, 1}, {15, 20, 0, 2, 0, 300, 30, 0, 0, 1}}};
    for (int k = 0; k < 10; ++k) {
        EnemyFile e{"a", 9, 0, 0, 10, k == 1 ? 0 : 1000000};
        e.actions = lists[k];
        w.Enemy(k + 1, e);
    }
    w.Scene({{{3, 1, 2, 100, 10, 90}, {3, 2, 2, 300, 10, 90}, {3, 3, 0, 100, 5, 0}, {3, 4, 1,
             200, 5, 180}, {3, 5, 2, 208, 10, 90}, {0, 200}, {3, 6, 2, 150, 10, 90}, {3, 7, 0,
             150, 10, 0}, {3, 10, 2, 350, 5, 90}, {0, 400}, {8}}});
}

// Hits on every kind of enemy: dying at the first hit with five drops of every item, a
// two-phase boss with its own hit box holding the script, shots passing through one that
// vanishes under the bomb, an immune one, an unknown response and a harmless body; three
// bombs back to back; a homing enemy that rams the ship until the game is over.
void Combat(ProjectWriter& w) {
    const EnemyFile enemies[] = {
        {"p", 9, 1, 0, 100, 0, 1, 0, 1, -1, -1, -1, {{0, 20}, {5}, {15, 300}}, {}, 5, {0, 1, 3}},
        {"b", 10, 1, 0, 500, 40, 1, 0, 1, 3, 20, 10, {{0, 10}, {5}, {15, 20}}, {}, 0, {}, {}, 2},
        {"c", 10, 1, 0, 900, 30, 1, 0, 1, -1, -1, -1, {{0, 10}, {3}, {15, 30}, {2}, {15, 60}}, {},
         3, {1, 2, 3}},
        {"v", 9, 1, 1, 10, 5, 1, 0, 1, -1, -1, -1, {{0, 10}, {5}, {15, 15}}},
        {"i", 9, 1, 2, 10, 5, 1, 0, 1, -1, -1, -1, {{0, 10}, {5}, {15, 15}}},
        {"u", 9, 0, 3, 10, 5, 1, 0, 1, -1, -1, -1, {{0, 10}, {5}, {15, 300}}},
        {"h", 9, 1, 2, 10, 5, 1, 0, 1, -1, -1, -1, {{0, 15}, {16, 5000}}}};
    for (int k = 0; k < 7; ++k) w.Enemy(k + 1, enemies[k]);
    SceneFile scene;
    for (int i = 0; i < 12; ++i)
        scene.commands.push_back({3, 1, 2, 40 + i * 30, 10, 90}), scene.commands.push_back({0, 8});
    scene.commands.insert(scene.commands.end(), {{3, 2, 2, 208, 10, 90, 1}, {3, 4, 2, 150, 10,
             90}, {3, 5, 2, 250, 10, 90}, {3, 6, 2, 208, 10, 90}, {0, 300}, {3, 7, 2, 208, 10,
             90}, {0, 2000}});
    w.Scene(scene);
}

// Rammers that home on the ship until its lives are gone.
void Rammers(ProjectWriter& w) {
    w.Enemy(1, {"h", 9, 1, 0, 10, 5, 1, 0, 1, -1, -1, -1, {{0, 30}, {16, 5000}}});
    w.Scene({{{0, 30}, {3, 1, 2, 208, 20, 90}, {0, 300}, {3, 1, 2, 100, 20, 90}, {0, 5000}}});
}

// A stage that sets background 12, scroll 1.5 and music 11, then background 13.
void Stage(ProjectWriter& w) {
    w.Enemy(1, {"e", 9}).Enemy(2, {"e", 10});
    w.Scene({{{1, 12}, {2, 15}, {4, 11}, {3, 1, 2, 100, 0, 90}, {0, 30}, {1, 13}, {3, 2, 2, 200,
             0, 90}, {0, 1000}, {5}, {8}}});
}

const char kDodges[] = "1-40 LEFT\n100-160 RIGHT\n250 Z\n400-460 LEFT UP\n";
const char kAuthorKeys[] =
    "1-40 LEFT\n100-160 RIGHT\n250 Z\n400-460 LEFT UP\n20 F1\n60 F2\n70 F2\n80 F3\n100 F3\n"
    "120 F4\n130 F6\n150 F5\n170 F3\n175 F3\n180 F3\n200 F4\n300 F1\n";

struct Row {
    const char* name;
    int style;
    PlayerFile player;
    std::function<void(ProjectWriter&)> game;
    const char* input;
    uint32_t frames;
    const char* probes = "";
    TTestPlay play = {};
    const char* golden = nullptr;  // the golden of another row that must play the same
};
void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

const PlayerFile kLast{32, 32, 40.0, 0, 1, 5, 0};
const PlayerFile kInvincible{32, 32, 40.0, 3, 2, 3, 1}, kMortal{32, 32, 40.0, 1, 5, 5, 0};

const TTestPlay kPlay{true};

const Row kRows[] = {
    {"keyed", 0, kInvincible, Shooter, kSweeps, 1500},
    {"opaque_mortal", 1, kMortal, Shooter, kSweeps, 1500},
    {"translucent", 2, kInvincible, Shooter, kSweeps, 1500},
    {"moves", 0, kInvincible, Moves,
     "1-60 LEFT\n61-100 UP RIGHT\n250-300 LEFT UP\n400-450 DOWN\n600-650 UP RIGHT\n", 900, "",
     kPlay},
    {"attacks", 2, kInvincible, Attacks, kDodges, 600, "", kPlay},
    // Without author mode the function keys do nothing at all.
    {"attacks_function_keys", 2, kInvincible, Attacks, kAuthorKeys, 600, "", kPlay, "attacks"},
    // Paused from 60, a step at 70, slow motion at half and quarter speed from 80 and 100,
    // fast forward from 120.
    {"author", 2, kInvincible, Attacks, kAuthorKeys, 600,
     "59 /author/gameFrames 59\n69 /author/gameFrames 59\n79 /author/gameFrames 60\n"
     "99 /author/gameFrames 70\n119 /author/gameFrames 75\n129 /author/gameFrames 85\n"
     "160 /author/reloads 1",
     {true, -1, true, -1, -1, true}},
    // Test play from entry 6: the entries before it set the background, speed and music.
    {"play_from_entry", 1, kMortal, Stage, "", 100,
     "1 /scene/entryIndex 6\n1 /background/sprite 13\n1 /background/speed 1.5\n"
     "1 /playing [11]\n1 /player/lives 7\n1 /player/power 2",
     {true, 6, false, 7, 2}},
    {"combat", 1, {32, 32, 40.0, 2, 3, 5, 0}, Combat,
     "1-1200 X\n30-90 LEFT\n100-170 UP\n150-200 RIGHT\n250-280 LEFT\n300-330 DOWN\n"
     "400-900 Z\n",
     1800, "", kPlay},
    {"menus", 0, kMortal, Rammers,
     "80-84 DOWN\n85 X\n112-127 X\n130-134 DOWN\n135-150 X\n151-160 DOWN\n161 X\n190 X\n"
     "300 ESC\n310 X\n330 ESC\n340-344 DOWN\n345 X\n480 X\n1270 X\n",
     1400,
     // the cursor moves after 5 frames, a toggle after 16 of the decision held; the ship
     // comes back 40 frames after a hit and blinks for 220.
     "83 /menu/cursor 0\n84 /menu/cursor 1\n126 /settings/windowed 0\n127 /settings/windowed 1\n"
     "811 /player/alive false\n812 /player/alive true\n1031 /player/blinking true\n"
     "1032 /player/blinking false"},
    {"exit_title", 0, kLast, Rammers, "80-89 DOWN\n90 X\n", 143, "143 /quit 1"},
    {"exit_pause", 0, kLast, Rammers, "100 ESC\n110-119 DOWN\n120 X\n", 174, "174 /quit 1", kPlay},
    {"exit_game_over", 0, kLast, Rammers, "600-609 DOWN\n610 X\n", 664,
     "240 /player/lives -1\n340 /player/gameOver false\n341 /player/gameOver true\n664 /quit 1",
     kPlay},
};

// clang-format on

class Scenario : public testing::TestWithParam<Row> {};

TEST_P(Scenario, PlaysAsRecorded) {
    const Row& row = GetParam();
    TempDir dir;
    ProjectWriter w(dir.path());
    Kit(w, row.style, row.player);
    Sounds(w);
    row.game(w);
    GameRunner run(dir.path());
    run.testPlay = row.play;
    ExpectGolden(row.golden ? row.golden : row.name, run, row.input, row.frames, row.probes);
}

INSTANTIATE_TEST_SUITE_P(Rows, Scenario, testing::ValuesIn(kRows),
                         [](const testing::TestParamInfo<Row>& row) { return row.param.name; });

// The demo to its boss, through both phases to the end of the stage, back to the title and
// into a new game, which starts from the best score on disk: the stage's was never saved.
TEST(Scenario, DemoPlayedToItsEnd) {
    std::stringstream script;
    script << std::ifstream(ORVAN_SOURCE_DIR "/tests/e2e/data/demo_stage.txt").rdbuf();
    TempDir dir;  // a copy without the game's own files, so that the run starts afresh
    std::filesystem::copy(ORVAN_DEMO_DATA, dir / "Data", std::filesystem::copy_options::recursive);
    std::filesystem::remove(dir / "Data/Setting.bin");
    const std::string best1234("\xD2\x04\x00\x00", 4);
    dir.WriteFile("Data/Score.bin", best1234);
    GameRunner run(dir / "Data");
    ExpectGolden(
        "demo", run, script.str() + "7100 X\n", 7200,
        "5800 /scene/entryIndex 118\n5800 /enemies/0/kind 12\n5800 /enemies/0/watched true\n"
        "5800 /playing/2 12\n6200 /scene/entryIndex 118\n6200 /enemies/0/kind 13\n"
        "6950 /states [9,2,4,5]\n6950 /scene/entryIndex 125\n7080 /states [5]\n"
        "7080 /playing [9]\n7160 /states [8,11]\n7160 /best 1234");
    EXPECT_EQ(dir.ReadFile("Data/Score.bin"), best1234);
}

}  // namespace
