// What tests, the state dump and the screenshot option may look at inside the media layer.
// Nothing here is used by the game's rules.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace media {

// The back buffer: 640 x 480 XRGB8888, row after row.
const uint32_t* BackBuffer();
int ScreenWidth();
int ScreenHeight();
// Writes the back buffer as a PNG file (host path). False on failure.
bool WriteBackBufferPng(const std::string& hostPath);
// Writes any XRGB8888 picture of width x height pixels, row after row, as a PNG file.
bool WritePixelsPng(const std::string& hostPath, const uint32_t* pixels, int width, int height);
// A copy of the back buffer, and putting such a copy back: author mode holds the game
// picture on screen while the game stands still, without drawing the world again.
void CopyBackBuffer(std::vector<uint32_t>& out);
void PutBackBuffer(const std::vector<uint32_t>& pixels);

// For fuzzing, where most of a frame's time would go into pixels nobody looks at: while
// off, every drawing operation does its work up to the pixels (handles, frames, sizes,
// transforms, clipping against an empty screen) and the back buffer keeps what it holds.
void SetPixelsWritten(bool on);

// Frames presented by FlipScreen so far.
uint32_t PresentedFrames();
// The on-screen debug text as it stands (lines joined by '\n').
std::string DebugText();
// The window title handed to the host (UTF-8).
std::string WindowTitleUtf8();
bool MediaRunning();

// Sound handles started since the last call, in order (StartSound calls that succeeded),
// copied into 'out' (which keeps its capacity, so a caller per frame allocates nothing).
void TakeSoundStarts(std::vector<int>& out);
std::vector<int> TakeSoundStarts();

}  // namespace media
