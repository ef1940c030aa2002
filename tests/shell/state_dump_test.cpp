// The state dump lists every live actor from the first slot of its pool to the last, and the
// sounds playing and started by their numbers, first and last of the table.
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
    TWorld& world = run.game().world;
    for (TActor* a : {(TActor*)&world.bullets.bullets[0], (TActor*)&world.bullets.bullets.back(),
                      (TActor*)&world.items.items[0], (TActor*)&world.items.items.back(),
                      (TActor*)&world.effects.effects[0], (TActor*)&world.effects.effects.back(),
                      (TActor*)&world.enemies.enemies.back()})
        a->Activate();
    world.enemies.SpawnEnemy(0, 10, 10, 0, 0, false, -1);
    const int first = run.game().project->sounds[0].handle,
              last = run.game().project->sounds[255].handle;
    StartSound(last, 3, 1);
    StartSound(first, 3, 1);
    run.game().frameSoundStarts = {last, first};
    const nlohmann::json j = nlohmann::json::parse(DumpState(run.game()));
    for (auto [pool, size] : {std::pair{"bullets", TBulletPool::kSize},
                              {"items", TItemPool::kSize},
                              {"effects", TEffectPool::kSize},
                              {"enemies", TEnemyPool::kSize}}) {
        std::vector<int> slots;
        for (const nlohmann::json& e : j[pool]) slots.push_back(e["slot"]);
        EXPECT_EQ(slots, (std::vector<int>{0, size - 1})) << pool;
    }
    std::vector<int> order = j["drawOrder"];
    std::sort(order.begin(), order.end());
    EXPECT_EQ(order, (std::vector<int>{0, TEnemyPool::kSize - 1}));
    EXPECT_EQ(j["playing"], nlohmann::json({0, 255}));
    EXPECT_EQ(j["soundStarts"], nlohmann::json({255, 0}));
}
