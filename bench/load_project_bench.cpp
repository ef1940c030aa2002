// Loading a full project: 1024 sprite records and 256 of every other kind, enemies with
// 64-entry action lists, a 2,000-command scene. Start-up reads all of it once, so it must
// stay well below a frame's worth of waiting on a warm file cache (target: 50 ms).
#include <benchmark/benchmark.h>

#include <memory>

#include "project/project.h"
#include "support/project_writer.h"
#include "support/temp_dir.h"

namespace {

void WriteFullProject(ProjectWriter& w) {
    w.KindFolders().Global({0, "Benchmark", 0});
    for (int i = 0; i < kSpriteCount; ++i)
        w.Sprite(i, SpriteFile{"Sprite " + std::to_string(i), 1, 32, 32, 4, 10});
    for (int i = 0; i < kSoundCount; ++i)
        w.Sound(i, SoundFile{"Sound", 0, "sound" + std::to_string(i) + ".wav", 200, 0});
    w.Player();
    for (int i = 0; i < kBulletCount; ++i) w.Bullet(i, BulletFile{"Bullet", i, 2, 1, 3});
    for (int i = 0; i < kItemCount; ++i) w.Item(i, ItemFile{"Item", i, i % 4, 100});

    EnemyFile enemy;
    enemy.name = "Enemy";
    for (int k = 0; k < 64; ++k) {
        TActionEntry a;
        a.command = k % 29;
        a.paramA = k;
        a.paramB = -k;
        a.extra = k % 8;
        a.interval = 10;
        a.count = 5;
        enemy.actions.push_back(a);
    }
    enemy.dropCount = 2;
    enemy.dropKinds = {0, 1, 2, 3};
    for (int i = 0; i < kEnemyCount; ++i) w.Enemy(i, enemy);

    SceneFile scene;
    for (int k = 0; k < 2000; ++k) scene.commands.push_back({k % 9, k, 2, 100, 30, 90, 0});
    w.Scene(scene);

    MapFile map{"Map", 1};
    map.cells.assign(16, MapCellWords{1, 2, 3});
    for (int i = 0; i < kMapCount; ++i) w.Map(i, map);
    OrderFile order;
    for (int i = 0; i < kMapCount; ++i) order.values.push_back(i);
    w.Order(order);
}

struct FullProject {
    TempDir dir;
    FullProject() {
        ProjectWriter w(dir.path());
        WriteFullProject(w);
    }
};

const FullProject& Fixture() {
    static FullProject project;
    return project;
}

void BM_LoadProject(benchmark::State& state) {
    ScopedCwd cwd(Fixture().dir.path());
    for (auto _ : state) {
        state.PauseTiming();
        auto project = std::make_unique<TProject>();
        state.ResumeTiming();
        LoadProject(*project);
        benchmark::DoNotOptimize(project->scene.data());
        state.PauseTiming();
        if (project->enemies[255].actions.size() != 64 || project->scene.size() != 2000)
            state.SkipWithError("the project did not load completely");
        project.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadProject)->Unit(benchmark::kMillisecond)->Repetitions(10);

// What start-up pays: constructing the tables with their defaults, then loading.
void BM_ConstructAndLoadProject(benchmark::State& state) {
    ScopedCwd cwd(Fixture().dir.path());
    for (auto _ : state) {
        auto project = std::make_unique<TProject>();
        LoadProject(*project);
        benchmark::DoNotOptimize(project->scene.data());
    }
}
BENCHMARK(BM_ConstructAndLoadProject)->Unit(benchmark::kMillisecond)->Repetitions(10);

}  // namespace

BENCHMARK_MAIN();
