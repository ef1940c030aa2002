// Golden hashes of whole headless runs: the demo played through its stage and back to the
// title, and generated shooters that crowd the screen with every kind of draw and hit. The
// state dump of every frame and the back buffer of every fifth frame are hashed and compared
// with values recorded before the drawing and the shot scan were made faster. A change
// meant to alter a state or a pixel records the new values that a failure prints.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/app.h"
#include "media/inspect.h"
#include "player/player.h"
#include "shell/replay.h"
#include "shell/state_dump.h"
#include "support/game_runner.h"
#include "support/png_writer.h"
#include "support/project_writer.h"
#include "support/temp_dir.h"
#include "sys/sys.h"

namespace {

uint64_t Mix(uint64_t h, uint64_t v) {
    return (h ^ v) * 1099511628211ull;
}

void ExpectHashes(const char* what, const std::string& dataDir, const std::string& input,
                  uint32_t frames, uint64_t stateHash, uint64_t pictureHash) {
    SCOPED_TRACE(what);
    PlayerShotTimer() = 0;  // process-wide, as a fresh run starts them
    FrameTiming() = {};
    GameRunner run(dataDir, 1);
    run.SetInput(input);
    ASSERT_TRUE(run.Start());
    uint64_t state = 1469598103934665603ull, picture = state;
    const uint64_t drawnBefore = sys::RandCalls();  // counted from the start of the process
    while (run.game().frame < frames && run.Frame()) {
        std::string dump = DumpState(run.game());
        const size_t at = dump.find("\"randCalls\": ") + 13;
        dump.replace(at, dump.find(',', at) - at, std::to_string(sys::RandCalls() - drawnBefore));
        state = Mix(state, Checksum(dump));
        if (run.game().frame % 5 != 0) continue;
        const uint32_t* back = media::BackBuffer();
        for (int i = 0; i < 640 * 480; i += 2)
            picture = Mix(picture, back[i] | uint64_t(back[i + 1]) << 32);
    }
    EXPECT_EQ(run.game().frame, frames);
    EXPECT_TRUE(state == stateHash && picture == pictureHash)
        << std::hex << "state and picture now 0x" << state << "ull, 0x" << picture << "ull";
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

// A shooter that crowds the screen with every kind of draw and hit.
void WriteShooter(const std::string& dir, int style, bool invincible) {
    const int odd = style > 0;
    ProjectWriter w(dir);
    w.KindFolders().Global().Player(
        {32, 32, 40.0, invincible ? 3 : 1, 3, invincible ? 2 : 5, invincible, {}});
    w.File("Frame.png", Picture(30, 39, 1, 7));
    const struct {
        int n, w, h, frames, style;
    } sprites[] = {
        {0, 640, 480, 1, 1},         {1, 224, 480, 1, 1},      {2, 32, 32, 2, style},
        {3, 32, 32, 2, style},       {4, 32, 32, 2, style},    {5, 32, 32, 8, 2},
        {6, 400, 400, 1, 2},         {7, 640, 480, 1, 1},      {8, 416, 960, 1, 1},
        {9, 32 + odd, 30, 4, style}, {10, 96 + odd, 81, 1, 2}, {11, 8 + odd, 8, 1, style},
        {12, 6, 17 - odd, 1, style}, {13, 16, 16, 1, style}};
    for (const auto& s : sprites) {
        w.Sprite(s.n, {"s", uint8_t(s.frames > 1), s.w, s.h, s.frames, 2});
        w.File("Sprite/Sprite" + std::to_string(s.n) + ".png",
               Picture(s.w * s.frames, s.h, s.style, uint32_t(s.n + 100 * style)));
    }
    w.Bullet(0, {"shot", 12, 3, 1, -1}).Bullet(1, {"b", 11, 2, 1, -1}).Bullet(2, {"a", 11, 3, 2});
    for (int k = 0; k < 4; ++k) w.Item(k, {"i", 13, k, 50});
    // Popcorn that turns and fires (dropping no lives, so that a mortal ship runs out), a
    // boss and its second phase that spins out see-through children whose successors appear
    // when it falls, an armoured enemy, and a chain of two that homes on the ship.
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
    // Waves of popcorn with armour and chains among them from the top and the left, then
    // the boss, then every enemy destroyed and the end of the stage.
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

// Plays the shooter, firing all the way, with bombs, a pause and sweeps under the waves.
void ExpectShooter(const char* what, int style, bool invincible, uint64_t state, uint64_t picture) {
    TempDir dir;
    WriteShooter(dir.path(), style, invincible);
    ExpectHashes(
        what, dir.path(),
        "100 X\n150-1390 X\n200-260 LEFT\n300-420 RIGHT\n430-600 LEFT UP\n610-800 RIGHT\n"
        "820-900 DOWN LEFT\n1000-1028 RIGHT\n700 Z\n1100 Z\n1400 ESC\n1405 X\n1410-1500 X\n",
        1500, state, picture);
}

}  // namespace

TEST(StateHash, DemoPlayedToItsEndIsUnchanged) {
    std::stringstream script;
    script << std::ifstream(ORVAN_SOURCE_DIR "/tests/e2e/data/demo_stage.txt").rdbuf();
    TempDir dir;  // a copy without the game's own files, so that the run starts afresh
    std::filesystem::copy(ORVAN_DEMO_DATA, dir / "Data", std::filesystem::copy_options::recursive);
    for (const char* own : {"Score.bin", "Setting.bin"})
        std::filesystem::remove(dir / (std::string("Data/") + own));
    ExpectHashes("demo", dir / "Data", script.str() + "7100 X\n", 7200, 0x3c06e0a93a9ea3f9ull,
                 0x2c9eef4e4eb4dbbaull);
}

TEST(StateHash, GeneratedShootersAreUnchanged) {
    // Styles as Picture's; the opaque and translucent shooters have sprites of odd sizes.
    ExpectShooter("keyed", 0, true, 0x0f450a789c040995ull, 0x3878dbc3e45674c5ull);
    ExpectShooter("opaque, mortal", 1, false, 0x5d382465eadcf9e7ull, 0x8ca34b37232e8c52ull);
    ExpectShooter("translucent", 2, true, 0xa764b4fe17b94b95ull, 0xadea630fd397c344ull);
}
