// The command-line options of test play and author mode.
#include <CLI/CLI.hpp>

#include "shell/options.h"

void AddAuthorOptions(CLI::App& app, TRunOptions* o) {
    app.add_flag("--author", o->author,
                 "author keys F1-F6 (overlay, pause/step, slow, fast, reload, invincible) and "
                 "reloading when a project file changes");
    app.add_flag("--play", o->play, "skip the title: start a game at once");
    app.add_option("--scene-entry", o->sceneEntry, "start the stage at scene entry N")
        ->check(CLI::Range(0, 0x7FFFFFFF));
    app.add_flag("--invincible", o->invincible, "the ship takes no hits");
    app.add_option("--lives", o->lives, "spare ships at the start of a game (0-99)")
        ->check(CLI::Range(0, 99));
    app.add_option("--power", o->power, "shot level at the start of a game (0-5)")
        ->check(CLI::Range(0, 5));
}
