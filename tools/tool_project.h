// A project as the tool sees it: the game's own TProject, plus which of its files exist and
// where its images and sound files come from. Loading reads the data folder with the game's
// parsers; saving writes the data folder from it, file for file.
#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "project/definition_files.h"
#include "project/project.h"

namespace tool {

// Which record files exist. A record whose file does not exist keeps its defaults and is
// written by nobody.
struct ProjectFiles {
    bool global = false;
    bool player = false;
    bool scene = false;
    bool mapOrder = false;
    std::array<bool, kSpriteCount> sprites{};
    std::array<bool, kSoundCount> sounds{};
    std::array<bool, kBulletCount> bullets{};
    std::array<bool, kItemCount> items{};
    std::array<bool, kEnemyCount> enemies{};
    std::array<bool, kMapCount> maps{};
};

// Files that are copied, not encoded: '/'-separated paths. When loaded from a data folder
// they are relative to that folder; when read from JSON, relative to the asset folder.
struct ProjectAssets {
    std::map<int, std::string> spriteImages;  // sprite number -> its "Sprite%d.png"
    std::map<int, std::string> soundFiles;    // sound number -> the file its record names
    std::string frameImage;                   // "Frame.png"; empty when there is none
};

// What became of one project file when it was loaded.
struct FileReport {
    std::string path;  // relative to the data folder, '/'-separated
    FileStatus status = FileStatus::Loaded;
    size_t trailingBytes = 0;  // bytes after the last field (Loaded files only)
};

struct ToolProject {
    ToolProject();
    std::unique_ptr<TProject> project;  // large: kept on the heap
    ProjectFiles files;
    ProjectAssets assets;
};

// Any failure of the tool that ends a command with exit code 1.
struct ToolError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Loads the project in 'dataDir'. Every file is read whatever "Global.bin" says (the tool
// shows what is there; the check reports what the game would make of it). The reports of
// the files that exist are appended to 'reports' when given.
void LoadToolProject(const std::string& dataDir, ToolProject& out,
                     std::vector<FileReport>* reports = nullptr);

// Writes the project into 'dataDir' (created when missing): every record file it has, and
// the assets copied from 'assetDir'. Project files of the folder that the project does not
// have are removed, so that the folder holds exactly this project. Throws ToolError.
void SaveToolProject(const ToolProject& in, const std::string& dataDir,
                     const std::string& assetDir);

// Host path of a sound file, relative to the data folder: "Sound/" and the record's
// file name in UTF-8 with '/' separators.
std::string SoundFilePath(const TSoundDef& sound);

// Numbered record files relative to the data folder: "Sprite/Sprite3.bin".
std::string NumberedFile(const char* kind, int number, const char* extension = ".bin");

}  // namespace tool
