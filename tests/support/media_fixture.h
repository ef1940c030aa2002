// A clean media layer for drawing tests: black back buffer, no blending, full brightness,
// no images or fonts left over from an earlier test. No window is opened.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

class MediaTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The back buffer pixel at (x, y), 0x00RRGGBB.
    static uint32_t Pixel(int x, int y);
    // Number of back buffer pixels that are not black.
    static int LitPixels();
    // The smallest rectangle holding every lit pixel: {x0, y0, x1, y1}, exclusive; all zero
    // when nothing is lit.
    struct Box {
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    };
    static Box LitBox();
};

// Loads ARGB pixels as an image through a PNG file written in 'dir'.
int LoadArgbImage(const std::string& dir, int width, int height, const std::vector<uint32_t>& argb,
                  bool withAlpha = true);
