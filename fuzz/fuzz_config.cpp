// The player's configuration file, and command-line lines over it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "shell/config.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    TConfig config;
    std::vector<std::string> messages;
    ParseConfig(text, "fuzz.conf", &config, &messages);
    ParseConfigOverride(text.substr(0, text.find('\n')), &config, &messages);
    return 0;
}
