// Replay files: parsed, applied, and written back; what was written must parse again to
// the same replay.
#include <cstddef>
#include <cstdint>
#include <string>

#include "shell/replay.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TReplay replay;
    std::string error;
    if (!replay.Parse(std::string(reinterpret_cast<const char*>(data), size), &error)) return 0;
    uint8_t keys[256] = {};
    int pad = 0;
    for (uint32_t frame : {0u, 1u, replay.lastFrame}) replay.ApplyInput(frame, keys, &pad);

    std::string text = replay.Serialize();
    TReplay again;
    if (!again.Parse(text, &error) || again.Serialize() != text) __builtin_trap();
    return 0;
}
