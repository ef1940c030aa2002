// Running orvan-tool from tests and reading what it wrote; the project fixtures come along.
#pragma once

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/png_writer.h"
#include "support/project_writer.h"
#include "support/temp_dir.h"

inline RunResult RunTool(const std::vector<std::string>& args) {
    return RunProgram(ORVAN_TOOL_BINARY, args);
}

inline std::string ReadText(const std::string& path) {
    std::stringstream ss;
    ss << std::ifstream(path, std::ios::binary).rdbuf();
    return ss.str();
}

// Every regular file below 'dir' by its '/'-separated relative path, with its bytes.
inline std::map<std::string, std::string> ReadTree(const std::string& dir) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir))
        if (e.is_regular_file())
            files[std::filesystem::relative(e.path(), dir).generic_string()] =
                ReadText(e.path().string());
    return files;
}

// The header of a PNG of the given size, which is all that the check reads of an image.
inline std::string PngHeader(int width, int height) {
    const std::vector<unsigned char> png = EncodePngHeaderOnly(width, height);
    return std::string(png.begin(), png.end());
}
