// The input script of headless runs: parsed, then applied to a few frames.
#include <cstddef>
#include <cstdint>
#include <string>

#include "media/input_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    media::InputScript script;
    std::string error;
    if (!script.Parse(std::string(reinterpret_cast<const char*>(data), size), &error)) return 0;
    uint8_t keys[256] = {};
    int pad = 0;
    for (uint32_t frame : {0u, 1u, 59u, 60u, 1000u, 0xFFFFFFFFu}) script.Apply(frame, keys, &pad);
    return 0;
}
