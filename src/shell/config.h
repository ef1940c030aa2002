// The player's configuration file, $XDG_CONFIG_HOME/orvan/orvan.conf: read once at start
// into plain values. Lines are "name = value" under a [section]; "#" starts a comment. A
// line that cannot be used is reported with the file's name and the line's number, and
// everything else still applies. Command-line options override it for one run.
#pragma once

#include <string>
#include <vector>

#include "media/controls.h"

struct TConfig {
    int scale = 0;                // [window] scale: 0 is the largest that fits
    bool integerScaling = false;  // [window] integer_scaling
    int fullscreen = -1;          // [window] fullscreen: -1 as the game's own settings say
    bool vsync = false;           // [window] vsync
    bool author = false;          // author: author mode (see README)
    // [keyboard] and [pad]: the keys and controller inputs of each game action.
    media::ControlMap controls = media::DefaultControls();
};

// Applies the lines of 'text' over 'config'. Messages read "NAME:LINE: what is wrong".
void ParseConfig(const std::string& text, const std::string& name, TConfig* config,
                 std::vector<std::string>* messages);
// One line from the command line: "SECTION.NAME = VALUE", or "NAME = VALUE" for a name
// outside the sections. Messages name it "--set".
void ParseConfigOverride(const std::string& line, TConfig* config,
                         std::vector<std::string>* messages);
// Reads a configuration file; false when it cannot be read (the config is then unchanged).
bool LoadConfigFile(const std::string& path, TConfig* config, std::vector<std::string>* messages);
// $XDG_CONFIG_HOME/orvan/orvan.conf
std::string DefaultConfigPath();
