// Encoders for picture fixtures: PNG in any colour type, bit depth and interlace, and JPEG.
#pragma once

#include <cstdint>
#include <vector>

// PNG colour types, as in the file format.
enum PngColourType { kPngGrey = 0, kPngRgb = 2, kPngPalette = 3, kPngGreyAlpha = 4, kPngRgba = 6 };

struct PngLayout {
    int width = 0;
    int height = 0;
    int colourType = kPngRgba;
    int bitDepth = 8;
    bool interlaced = false;
    // Rows packed as the format stores them (16-bit samples big-endian), no filter bytes.
    std::vector<unsigned char> rows;
    std::vector<uint32_t> palette;            // 0xRRGGBB entries for kPngPalette
    std::vector<unsigned char> paletteAlpha;  // tRNS of a palette
    std::vector<uint16_t> transparentColour;  // tRNS of grey (1 value) or RGB (3 values)
};

std::vector<unsigned char> EncodePng(const PngLayout& layout);

// 0xAARRGGBB pixels, row after row, as 8-bit RGBA (or RGB when withAlpha is false).
std::vector<unsigned char> EncodeArgbPng(int width, int height, const std::vector<uint32_t>& argb,
                                         bool withAlpha = true, bool interlaced = false);

// A PNG whose header claims width x height RGBA, with only a few bytes of image data: for
// tests of size limits that must be applied before anything is allocated.
std::vector<unsigned char> EncodePngHeaderOnly(uint32_t width, uint32_t height);

// 0xRRGGBB pixels as a JPEG of the given quality.
std::vector<unsigned char> EncodeJpeg(int width, int height, const std::vector<uint32_t>& xrgb,
                                      int quality = 95, bool progressive = false,
                                      bool grey = false);
