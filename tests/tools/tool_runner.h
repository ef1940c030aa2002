// Running orvan-tool from tests and reading what it wrote; the project fixtures come along.
#pragma once

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

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

// The first 33 bytes of a PNG (signature and IHDR chunk) of the given size: all that the
// check reads of an image.
inline std::string PngHeader(int width, int height) {
    std::string b("\x89PNG\r\n\x1a\n", 8);
    b += std::string("\0\0\0\x0d", 4) + "IHDR";
    for (int v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8) b += static_cast<char>(v >> shift & 0xFF);
    b += std::string("\x08\x02\0\0\0", 5) + std::string(4, '\0');  // RGB 8-bit; CRC unread
    return b;
}
