#include "support/tone_wav.h"

#include <cmath>
#include <cstdint>

namespace {
void Put32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}
void Put16(std::string& s, uint16_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8);
}
}  // namespace

std::string MakeToneWav(int rate, double seconds, double frequency) {
    uint32_t frames = static_cast<uint32_t>(rate * seconds);
    std::string s = "RIFF";
    Put32(s, 36 + frames * 2);
    s += "WAVEfmt ";
    Put32(s, 16);
    Put16(s, 1);  // PCM
    Put16(s, 1);  // mono
    Put32(s, static_cast<uint32_t>(rate));
    Put32(s, static_cast<uint32_t>(rate) * 2);
    Put16(s, 2);
    Put16(s, 16);
    s += "data";
    Put32(s, frames * 2);
    for (uint32_t i = 0; i < frames; ++i) {
        double v = std::sin(2 * M_PI * frequency * i / rate) * 8000.0;
        Put16(s, static_cast<uint16_t>(static_cast<int16_t>(v)));
    }
    return s;
}
