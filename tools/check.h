// The check of a data folder: every problem the game would meet without a word, one line
// each, naming the file, the record and the field.
#pragma once

#include <string>
#include <vector>

namespace tool {

struct Problem {
    bool error = true;  // false: a warning (the game copes, but it is probably not meant)
    std::string file;   // relative to the data folder
    std::string where;  // record and field, e.g. "enemies[3].actions[7].which"; may be empty
    std::string message;

    std::string Line() const;  // "error: Enemy/Enemy3.bin: enemies[3].sprite: ..."
};

// Loads and checks the project in 'dataDir'. Throws ToolError when it is not a folder.
std::vector<Problem> CheckProject(const std::string& dataDir);

}  // namespace tool
