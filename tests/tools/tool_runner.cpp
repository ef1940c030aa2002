#include "tool_runner.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

RunResult RunTool(const std::vector<std::string>& args) {
    return RunProgram(ORVAN_TOOL_BINARY, args);
}

std::map<std::string, std::string> ReadTree(const std::string& dir) {
    std::map<std::string, std::string> files;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(dir))
        if (e.is_regular_file())
            files[fs::relative(e.path(), dir).generic_string()] = ReadText(e.path().string());
    return files;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string PngHeader(int width, int height) {
    std::string b("\x89PNG\r\n\x1a\n", 8);
    b += std::string("\0\0\0\x0d", 4) + "IHDR";
    for (int v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8) b += static_cast<char>(v >> shift & 0xFF);
    b += std::string("\x08\x02\0\0\0", 5) + std::string(4, '\0');  // RGB 8-bit; CRC unread
    return b;
}

RunResult BuildDemo(const std::string& dataDir) {
    return RunTool({"build", ORVAN_DEMO_JSON, dataDir, "--assets", ORVAN_DEMO_ASSETS});
}
