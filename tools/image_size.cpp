#include "image_size.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <vector>

namespace tool {

namespace {

uint32_t Big32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

bool PngSize(std::ifstream& in, int& width, int& height) {
    // Signature, then the IHDR chunk: length, type, width, height.
    uint8_t h[24];
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(h), sizeof h)) return false;
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (std::memcmp(h, kSignature, 8) != 0 || std::memcmp(h + 12, "IHDR", 4) != 0) return false;
    uint32_t w = Big32(h + 16), hh = Big32(h + 20);
    if (w == 0 || hh == 0 || w > 0x7FFFFFFF || hh > 0x7FFFFFFF) return false;
    width = static_cast<int>(w);
    height = static_cast<int>(hh);
    return true;
}

bool JpegSize(std::ifstream& in, int& width, int& height) {
    in.seekg(0);
    uint8_t soi[2];
    if (!in.read(reinterpret_cast<char*>(soi), 2) || soi[0] != 0xFF || soi[1] != 0xD8) return false;
    for (;;) {
        uint8_t marker[2];
        if (!in.read(reinterpret_cast<char*>(marker), 2) || marker[0] != 0xFF) return false;
        while (marker[1] == 0xFF)  // fill bytes
            if (!in.read(reinterpret_cast<char*>(marker + 1), 1)) return false;
        uint8_t m = marker[1];
        if (m == 0xD9 || m == 0xDA) return false;  // end of image or scan before any frame
        if (m == 0x01 || (m >= 0xD0 && m <= 0xD7)) continue;  // markers without a length
        uint8_t len[2];
        if (!in.read(reinterpret_cast<char*>(len), 2)) return false;
        int length = len[0] << 8 | len[1];
        if (length < 2) return false;
        bool frame = m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
        if (frame) {
            uint8_t f[5];  // precision, height, width
            if (length < 7 || !in.read(reinterpret_cast<char*>(f), 5)) return false;
            height = f[1] << 8 | f[2];
            width = f[3] << 8 | f[4];
            return width > 0 && height > 0;
        }
        in.seekg(length - 2, std::ios::cur);
    }
}

}  // namespace

bool ReadImageSize(const std::string& path, int& width, int& height) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    if (PngSize(in, width, height)) return true;
    in.clear();
    return JpegSize(in, width, height);
}

}  // namespace tool
