// The state dump lists every live actor from the first slot of its pool to the last, and the
// sounds playing and started by their numbers.
#include "shell/state_dump.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "media/media.h"
#include "project/project.h"
#include "support/game_runner.h"
#include "support/png_writer.h"
#include "support/project_writer.h"
#include "support/temp_dir.h"
#include "support/wav_writer.h"

TEST(StateDump, ListsTheFirstAndLastSlotOfEveryPoolAndSoundsByNumber) {
    TempDir dir;
    ProjectWriter w(dir.path());
    w.KindFolders().Global();
    w.File("Frame.png", EncodeArgbPng(30, 39, std::vector<uint32_t>(30 * 39, 0xFF808080u)));
    w.File("Sound/s.wav", wav::Pcm16(std::vector<int16_t>(4800, 100), 1, 48000));
    for (int n : {0, 255}) w.Sound(n, {"", 0, "s.wav", 255, 1});
    GameRunner run(dir.path());
    ASSERT_TRUE(run.Start());
    TGame& game = run.game();
    TWorld& world = game.world;
    world.bullets.bullets[0].Activate();
    world.bullets.bullets[TBulletPool::kSize - 1].Activate();
    world.items.items[0].alive = world.items.items[TItemPool::kSize - 1].alive = true;
    world.effects.effects[0].alive = world.effects.effects[TEffectPool::kSize - 1].alive = true;
    world.enemies.SpawnEnemy(0, 10, 10, 0, 0, false, -1);
    world.enemies.enemies[TEnemyPool::kSize - 1].Activate();
    const int first = game.project->sounds[0].handle, last = game.project->sounds[255].handle;
    ASSERT_TRUE(first != -1 && last != -1);
    StartSound(last, 3, 1);
    StartSound(first, 3, 1);
    game.frameSoundStarts = {last, first};

    const nlohmann::json j = nlohmann::json::parse(DumpState(game));
    auto slots = [&](const char* pool) {
        std::vector<int> out;
        for (const nlohmann::json& e : j[pool]) out.push_back(e["slot"]);
        return out;
    };
    EXPECT_EQ(slots("bullets"), (std::vector<int>{0, TBulletPool::kSize - 1}));
    EXPECT_EQ(slots("items"), (std::vector<int>{0, TItemPool::kSize - 1}));
    EXPECT_EQ(slots("effects"), (std::vector<int>{0, TEffectPool::kSize - 1}));
    EXPECT_EQ(slots("enemies"), (std::vector<int>{0, TEnemyPool::kSize - 1}));
    std::vector<int> order = j["drawOrder"];
    std::sort(order.begin(), order.end());
    EXPECT_EQ(order, (std::vector<int>{0, TEnemyPool::kSize - 1}));
    EXPECT_EQ(j["playing"], nlohmann::json({0, 255}));
    EXPECT_EQ(j["soundStarts"], nlohmann::json({255, 0}));
}
