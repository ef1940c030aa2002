// WAV files written byte by byte for sound fixtures: a RIFF/WAVE header, a "fmt " chunk and
// a "data" chunk. Header-only, so that benchmarks can use it without the test library.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace wav {

enum Tag : uint16_t { kPcm = 1, kFloat = 3 };

struct Format {
    uint16_t tag = kPcm;
    uint16_t channels = 1;
    uint32_t rate = 48000;
    uint16_t bits = 16;
};

inline void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
inline void PutTag(std::vector<uint8_t>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

// The whole file. 'declaredDataSize' replaces the data chunk's size field (for damaged files).
inline std::vector<uint8_t> Build(const Format& f, const std::vector<uint8_t>& data,
                                  int64_t declaredDataSize = -1) {
    std::vector<uint8_t> out;
    PutTag(out, "RIFF");
    Put32(out, static_cast<uint32_t>(4 + 8 + 16 + 8 + data.size() + (data.size() & 1)));
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    uint16_t block = static_cast<uint16_t>(f.channels * f.bits / 8);
    Put16(out, f.tag);
    Put16(out, f.channels);
    Put32(out, f.rate);
    Put32(out, f.rate * block);
    Put16(out, block);
    Put16(out, f.bits);
    PutTag(out, "data");
    Put32(out, declaredDataSize >= 0 ? static_cast<uint32_t>(declaredDataSize)
                                     : static_cast<uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    if (data.size() & 1) out.push_back(0);
    return out;
}

inline std::vector<uint8_t> Pcm16(const std::vector<int16_t>& samples, int channels, int rate) {
    std::vector<uint8_t> data;
    for (int16_t s : samples) Put16(data, static_cast<uint16_t>(s));
    return Build({kPcm, static_cast<uint16_t>(channels), static_cast<uint32_t>(rate), 16}, data);
}

inline std::vector<uint8_t> Float32(const std::vector<float>& samples, int channels, int rate) {
    std::vector<uint8_t> data;
    for (float s : samples) {
        uint32_t bits;
        std::memcpy(&bits, &s, 4);
        Put32(data, bits);
    }
    return Build({kFloat, static_cast<uint16_t>(channels), static_cast<uint32_t>(rate), 32}, data);
}

}  // namespace wav
