// The command line. With no arguments the program behaves as the game always has: it plays
// the project in "Data/" below the current folder, in a window or full screen as
// "Setting.bin" says. A GAME argument or --demo names what to play instead (shell/launch).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TFrameFile {
    uint32_t frame = 0;
    std::string path;
};

struct TRunOptions {
    std::string game;     // a game folder, a Data folder or a zip of either (shell/launch)
    bool demo = false;    // the installed demo game
    std::string dataDir;  // empty: "Data\" below the current folder
    bool headless = false;
    uint32_t frames = 0;  // 0: run until the game ends
    bool seedGiven = false;
    uint32_t seed = 0;
    std::string inputScript;  // path of a scripted-input file
    std::string recordPath;
    std::string replayPath;
    std::vector<TFrameFile> dumps;
    std::vector<TFrameFile> screenshots;
    int scale = 0;                  // window scale, 0 = largest that fits
    int windowMode = -1;            // -1 as "Setting.bin" says, 0 full screen, 1 windowed
    std::string configPath;         // empty: $XDG_CONFIG_HOME/orvan/orvan.conf
    std::vector<std::string> sets;  // configuration lines that override the file's

    // Test play and author mode (shell/author_options.cpp); none of them in a plain run.
    bool author = false;      // author keys, overlay, reload, watching the data folder
    bool play = false;        // skip the title
    int32_t sceneEntry = -1;  // start the stage at this scene entry
    bool invincible = false;
    int32_t lives = -1;  // spare ships at the start of a game
    int32_t power = -1;  // shot level at the start of a game
};

namespace CLI {
class App;
}
// Adds --author, --play, --scene-entry, --invincible, --lives and --power.
void AddAuthorOptions(CLI::App& app, TRunOptions* options);

// Parses argv. Returns -1 to go on; otherwise the exit code to leave with (0 after --help,
// 2 for a bad command line, with the message already printed).
int ParseCommandLine(int argc, char** argv, TRunOptions* options);
