// What to play, and where the program's own files go. The command line names a game (a
// folder holding Data/, a Data folder itself, or a zip of either), the installed demo, a
// data folder (--data) or nothing (Data/ below the current folder, as the game always did).
// A game that cannot be written (installed, a zip, a read-only medium) is only read; its
// settings, best score, error file and log then live in a folder of its own under
// $XDG_DATA_HOME/orvan/. The readers of the game's files never learn any of this: they see
// the data folder as the current folder, through sys.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "shell/options.h"

struct TLaunch {
    std::string dataFolder;    // host path to change into; empty: --data or Data/ as always
    bool readOnly = false;     // the data folder is only read
    std::string programFiles;  // the folder for the program's own files; empty: the data folder
    std::string screenshots;   // where a screenshot key saves its pictures
};

// Works out the launch. False with a message (UTF-8) when GAME is not a game or cannot be
// read, or the demo is not installed; nothing has been created in GAME then.
bool ResolveLaunch(const TRunOptions& options, TLaunch* launch, std::string* error);
// Changes into the data folder (when the launch names one) and hands its policy to sys.
// False when the folder cannot be entered.
bool ApplyLaunch(const TLaunch& launch);

// The data folder inside a game, as a path relative to 'root' ("" for the root itself):
// a folder named Data (any case) in it; else the root itself when it is named Data or holds
// Global/Global.bin or Data.bin; else the same rules one level down, when the root holds a
// single folder (as zips of a game folder do). 'list' gives a folder's entries as (name, is
// a folder). False when there is no game.
using TFolderLister =
    std::function<std::vector<std::pair<std::string, bool>>(const std::string& relative)>;
bool FindDataFolder(const TFolderLister& list, const std::string& rootName, std::string* relative);

// $XDG_*_HOME when it is set to an absolute path, else its default below $HOME.
std::string XdgHome(const char* variable, const char* fallback);
// $XDG_PICTURES_DIR/Orvan (from the environment or user-dirs.dirs), or, without a pictures
// folder, $XDG_DATA_HOME/orvan/screenshots.
std::string ScreenshotFolder();
// The folder of a game's own files below $XDG_DATA_HOME/orvan/: the game's name and a hash
// of where it lies, e.g. "Star Raid-3f09c2d41a7be860".
std::string GameFilesFolderName(const std::string& name, const std::string& identity);
