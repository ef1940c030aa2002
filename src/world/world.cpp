#include "world/world.h"

#include "project/project.h"

void TWorld::Link(TApp* app, TProject* project) {
    effects.SetupAll(project);
    player.Setup(app, project, &effects, &bullets, &enemies);
    bullets.SetupAll(project, &player, &enemies, &effects);
    items.SetupAll(project, &player, &scorePanel);
    background.Setup(project);
    background.period = 480;
    enemies.SetupAll(app, project, &scorePanel, &player, &effects, &bullets, &items, &scene);
    scene.Setup(project, &project->scene, &enemies, &background, &player, &items, &bullets);
}

void TWorld::Update() {
    background.Update();
    items.UpdateAll();
    effects.UpdateAll();
    player.Update();
    bullets.UpdateAll();
    enemies.UpdateAll();
    scene.Step();
}
