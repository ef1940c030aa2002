// Replays: the seed and the key and pad state of every frame, plus a checksum of the state
// every 60 frames. Playing one back reproduces the run exactly, and a run that drifts from
// the recording fails loudly at the first checksum that differs.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct TReplayFrame {
    std::vector<uint8_t> keys;  // scan codes held
    int pad = 0;
};

class TReplay {
public:
    static constexpr uint32_t kChecksumEvery = 60;

    uint32_t seed = 0;
    std::map<uint32_t, TReplayFrame> input;  // frames with anything held
    std::map<uint32_t, uint64_t> checksums;  // frame -> state checksum
    uint32_t lastFrame = 0;

    void RecordInput(uint32_t frame, const uint8_t keys[256], int pad);
    void ApplyInput(uint32_t frame, uint8_t keys[256], int* pad) const;

    std::string Serialize() const;
    // False with a message when the text is not a replay.
    bool Parse(const std::string& text, std::string* error);
};

// FNV-1a over the bytes of a text.
uint64_t Checksum(const std::string& text);
