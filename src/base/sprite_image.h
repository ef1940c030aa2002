// TSpriteImage: the drawable image inside every sprite record and the menu's frame image.
// It holds one image handle per loaded picture, the size of one picture, and a draw state
// that the caller sets right before each draw; the state stays in the record afterwards,
// so everything drawn with one sprite shares it.
#pragma once

#include <cstdint>
#include <vector>

struct TFramePicture {
    int32_t image = -1;  // media image handle
    int32_t hold = 0;    // 0 for a single picture, 10 for every frame of a strip; not read
};

class TSpriteImage {
public:
    TSpriteImage() = default;
    TSpriteImage(const TSpriteImage&) = delete;
    TSpriteImage& operator=(const TSpriteImage&) = delete;
    // Deletes every frame image.
    virtual ~TSpriteImage();

    // Deletes the frame images and empties the list.
    void ReleaseFrames();

    // The frame centred on (drawX, drawY), rotated by drawAngle degrees and scaled.
    void DrawRotated(int32_t frame);
    // The frame with its top-left corner at (drawX, drawY); angle and scale ignored.
    void Draw(int32_t frame);
    // A rectangle of frame 0, its top-left at (drawX, drawY).
    void DrawPart(int32_t srcX, int32_t srcY, int32_t width, int32_t height);
    // A translucent box of (cols + 2) x (rows + 2) cells of 10 x 13 pixels with a border
    // cut from a 3 x 3 cell sheet, drawn clockwise from the top-left corner.
    void DrawWindowFrame(double x, double y, int32_t cols, int32_t rows);

    std::vector<TFramePicture> frames;
    int32_t imageWidth = 0;
    int32_t imageHeight = 0;
    int32_t reserved0 = 0;  // kept from the record layout; read by nothing
    int32_t reserved1 = 0;
    double drawX = 0.0;
    double drawY = 0.0;
    double drawAngle = 0.0;  // degrees
    double drawScale = 1.0;
    uint8_t transparent = 1;
    uint8_t mirrored = 0;
    int32_t blendValue = 255;  // 255 and above: drawn without blending
    int32_t blendMode = 1;     // used when blendValue is below 255
    int32_t reserved2 = 255;
    int32_t reserved3 = 255;
    int32_t reserved4 = 255;
};
