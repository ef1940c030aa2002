#include "test_media_files.h"

namespace {

void Be32(std::string& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
}
void Le32(std::string& out, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((v >> shift) & 0xFF);
}
void Le16(std::string& out, uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

uint32_t Crc32(const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
}

void Chunk(std::string& png, const char* type, const std::string& data) {
    Be32(png, static_cast<uint32_t>(data.size()));
    std::string body = std::string(type, 4) + data;
    png += body;
    Be32(png, Crc32(body));
}

}  // namespace

std::string SolidPng(int width, int height, uint32_t rgba) {
    std::string raw;
    for (int y = 0; y < height; ++y) {
        raw += '\0';  // filter: none
        for (int x = 0; x < width; ++x)
            for (int shift = 24; shift >= 0; shift -= 8)
                raw += static_cast<char>((rgba >> shift) & 0xFF);
    }
    // zlib stream of stored blocks.
    std::string z = "\x78\x01";
    size_t pos = 0;
    do {
        size_t n = raw.size() - pos < 65535 ? raw.size() - pos : 65535;
        bool last = pos + n == raw.size();
        z += static_cast<char>(last ? 1 : 0);
        Le16(z, static_cast<uint16_t>(n));
        Le16(z, static_cast<uint16_t>(~n & 0xFFFF));
        z += raw.substr(pos, n);
        pos += n;
    } while (pos < raw.size());
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    Be32(z, (b << 16) | a);

    std::string png = "\x89PNG\r\n\x1a\n";
    std::string ihdr;
    Be32(ihdr, static_cast<uint32_t>(width));
    Be32(ihdr, static_cast<uint32_t>(height));
    ihdr +=
        std::string("\x08\x06\x00\x00\x00", 5);  // 8 bits, RGBA, deflate, no filter, no interlace
    Chunk(png, "IHDR", ihdr);
    Chunk(png, "IDAT", z);
    Chunk(png, "IEND", "");
    return png;
}

std::string SilentWav(int samples) {
    std::string wav = "RIFF";
    Le32(wav, static_cast<uint32_t>(36 + samples * 2));
    wav += "WAVEfmt ";
    Le32(wav, 16);
    Le16(wav, 1);  // PCM
    Le16(wav, 1);  // mono
    Le32(wav, 22050);
    Le32(wav, 22050 * 2);
    Le16(wav, 2);
    Le16(wav, 16);
    wav += "data";
    Le32(wav, static_cast<uint32_t>(samples * 2));
    wav += std::string(static_cast<size_t>(samples) * 2, '\0');
    return wav;
}
