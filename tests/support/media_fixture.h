// A clean media layer for drawing tests: black back buffer, no blending, full brightness,
// no images or fonts left over from an earlier test, and a folder for picture files. No
// window is opened.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

class MediaTest : public ::testing::Test {
public:
    // The smallest rectangle holding every lit pixel: {x0, y0, x1, y1}, exclusive; all zero
    // when nothing is lit.
    struct Box {
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        bool operator==(const Box& o) const {
            return x0 == o.x0 && y0 == o.y0 && x1 == o.x1 && y1 == o.y1;
        }
        friend void PrintTo(const Box& b, std::ostream* os) {
            *os << "{" << b.x0 << ", " << b.y0 << ", " << b.x1 << ", " << b.y1 << "}";
        }
    };

protected:
    void SetUp() override;
    void TearDown() override;

    // The back buffer pixel at (x, y), 0x00RRGGBB.
    static uint32_t Pixel(int x, int y);
    // Number of back buffer pixels that are not black.
    static int LitPixels();
    static Box LitBox();

    // Loads ARGB pixels as an image through a PNG file in dir_; expects success.
    int Load(int width, int height, const std::vector<uint32_t>& argb, bool withAlpha = true);
    // A w x h opaque picture whose pixel (x, y) is NumberedPixel(x, y): never black, and
    // every pixel tells where it came from.
    int Numbered(int width, int height);
    static uint32_t NumberedPixel(int x, int y) {
        return 0xFF000000u | uint32_t(x + 1) << 16 | uint32_t(y + 1) << 8 | 0x80;
    }

    TempDir dir_;
};
