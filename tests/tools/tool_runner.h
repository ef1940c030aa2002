// Running orvan-tool from tests, and comparing data folders file by file.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "support/project_writer.h"
#include "support/temp_dir.h"

RunResult RunTool(const std::vector<std::string>& args);

// Every regular file below 'dir' by its '/'-separated relative path, with its bytes.
std::map<std::string, std::string> ReadTree(const std::string& dir);

// Text of a file.
std::string ReadText(const std::string& path);

// The first 33 bytes of a PNG (signature and IHDR chunk) of the given size: all that the
// check reads of an image.
std::string PngHeader(int width, int height);

// Builds demo/game.json with its generated assets into 'dataDir'.
RunResult BuildDemo(const std::string& dataDir);
