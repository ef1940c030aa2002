// A loaded picture as the rasterizer sees it, and the decoders that make one.
//
// Pixels are 0xAARRGGBB. The alpha byte is the pixel's coverage when the picture is drawn
// with transparency on: 0 for the transparent colour key (pure black, whatever alpha the
// file gave it) and for pixels the file made fully transparent, the file's own alpha for
// everything else (255 for files without alpha). The colour bytes are kept as the file
// gave them, because drawing with transparency off shows every pixel opaque, alpha ignored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace media {

// Largest picture a file may describe. Checked against the header before the pixels are
// allocated, so a hostile header cannot make the layer reserve gigabytes.
constexpr int kMaxImageSide = 16384;
constexpr int64_t kMaxImagePixels = 32ll * 1024 * 1024;

enum class ImageCoverage : uint8_t {
    kOpaque,       // every alpha is 255
    kKeyed,        // alphas are 0 or 255
    kTranslucent,  // some alpha lies between
};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // width * height, row after row
    ImageCoverage coverage = ImageCoverage::kOpaque;
    // The smallest box holding every pixel whose alpha is not 0, [x0, x1) x [y0, y1); empty
    // (x0 == x1) when there is none. Drawn with transparency, nothing outside it shows.
    int visibleX0 = 0, visibleY0 = 0, visibleX1 = 0, visibleY1 = 0;
    // For keyed pictures whose visible pixels lie in long runs (most sprites): each row's
    // runs as pairs of columns [first, end), row y's from runs[2 * runRows[y]] up to
    // runs[2 * runRows[y + 1]]. Empty for other pictures.
    std::vector<uint32_t> runRows;
    std::vector<uint16_t> runs;
};

// True when a picture of this size may be decoded.
bool ImageSizeAllowed(int64_t width, int64_t height);

// Folds the colour key into the alpha bytes and classifies the picture. Called once after
// decoding or cutting, so drawing never tests colours.
void PrepareImage(Image* image);

// A copy of the w x h rectangle at (x, y) of 'source'; the rectangle must lie inside it.
Image CutImage(const Image& source, int x, int y, int w, int h);

// Decoders work on the whole file in memory. On failure they return false and set 'error'
// to a short reason; they never end the process, whatever the bytes.
enum class ImageFormat { kUnknown, kPng, kJpeg };
ImageFormat DetectImageFormat(const unsigned char* data, size_t size);
bool DecodePng(const unsigned char* data, size_t size, Image* out, std::string* error);
bool DecodeJpeg(const unsigned char* data, size_t size, Image* out, std::string* error);
// Detects the format by its signature and decodes; the result is prepared for drawing.
bool DecodeImage(const unsigned char* data, size_t size, Image* out, std::string* error);

}  // namespace media

namespace media {

// The live picture behind an image handle, or null for anything else.
const Image* FindImage(int handle);

}  // namespace media
