// Tiny media files written byte by byte for the tests that need the media layer to load
// something: an RGBA PNG of one colour and a short silent WAV.
#pragma once

#include <cstdint>
#include <string>

// An uncompressed (stored-deflate) 8-bit RGBA PNG, every pixel 'rgba' (0xRRGGBBAA).
std::string SolidPng(int width, int height, uint32_t rgba);
// 16-bit mono PCM at 22050 Hz, 'samples' zero samples.
std::string SilentWav(int samples);
