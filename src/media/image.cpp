// Picture preparation (colour key, coverage class), cutting, and format detection.
#include "media/image.h"

#include <algorithm>
#include <cstring>

namespace media {

namespace {

// The run table of a keyed picture, when its runs are long enough (eight pixels a run on
// average, gaps included) to be drawn a run at a time rather than a pixel at a time.
void BuildRuns(Image* image) {
    image->runRows.clear();
    image->runs.clear();
    if (image->coverage != ImageCoverage::kKeyed) return;
    const size_t pixels = image->pixels.size();
    size_t count = 0;
    for (size_t i = 0; i < pixels; ++i) {
        const bool visible = (image->pixels[i] >> 24) != 0;
        const bool rowStart = i % size_t(image->width) == 0;
        if (visible && (rowStart || (image->pixels[i - 1] >> 24) == 0)) ++count;
    }
    if (count * 8 > pixels) return;
    image->runRows.reserve(size_t(image->height) + 1);
    image->runs.reserve(2 * count);
    for (int y = 0; y < image->height; ++y) {
        image->runRows.push_back(static_cast<uint32_t>(image->runs.size() / 2));
        const uint32_t* row = &image->pixels[size_t(y) * image->width];
        for (int x = 0; x < image->width;) {
            if ((row[x] >> 24) == 0) {
                ++x;
                continue;
            }
            int end = x;
            while (end < image->width && (row[end] >> 24) != 0) ++end;
            image->runs.push_back(static_cast<uint16_t>(x));
            image->runs.push_back(static_cast<uint16_t>(end));
            x = end;
        }
    }
    image->runRows.push_back(static_cast<uint32_t>(image->runs.size() / 2));
}

}  // namespace

bool ImageSizeAllowed(int64_t width, int64_t height) {
    if (width <= 0 || height <= 0) return false;
    if (width > kMaxImageSide || height > kMaxImageSide) return false;
    return width * height <= kMaxImagePixels;
}

void PrepareImage(Image* image) {
    bool keyed = false;
    bool translucent = false;
    int x0 = image->width, y0 = image->height, x1 = 0, y1 = 0;
    for (int y = 0; y < image->height; ++y) {
        uint32_t* row = &image->pixels[static_cast<size_t>(y) * image->width];
        int first = image->width, last = -1;
        for (int x = 0; x < image->width; ++x) {
            uint32_t& p = row[x];
            // Pure black is the transparent colour, and a fully transparent pixel of the file
            // is transparent too: both get alpha 0, the colour bytes stay.
            if ((p & 0x00FFFFFFu) == 0 || (p >> 24) == 0) {
                p &= 0x00FFFFFFu;
                keyed = true;
                continue;
            }
            if ((p >> 24) != 0xFF) translucent = true;
            if (first > x) first = x;
            last = x;
        }
        if (last < 0) continue;
        x0 = std::min(x0, first);
        x1 = std::max(x1, last + 1);
        y0 = std::min(y0, y);
        y1 = y + 1;
    }
    image->coverage = translucent ? ImageCoverage::kTranslucent
                      : keyed     ? ImageCoverage::kKeyed
                                  : ImageCoverage::kOpaque;
    if (x0 >= x1) x0 = x1 = y0 = y1 = 0;
    image->visibleX0 = x0;
    image->visibleY0 = y0;
    image->visibleX1 = x1;
    image->visibleY1 = y1;
    BuildRuns(image);
}

Image CutImage(const Image& source, int x, int y, int w, int h) {
    Image out;
    out.width = w;
    out.height = h;
    out.pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (int row = 0; row < h; ++row) {
        const uint32_t* from = &source.pixels[static_cast<size_t>(y + row) * source.width + x];
        std::memcpy(&out.pixels[static_cast<size_t>(row) * w], from, sizeof(uint32_t) * w);
    }
    PrepareImage(&out);
    return out;
}

ImageFormat DetectImageFormat(const unsigned char* data, size_t size) {
    static const unsigned char kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size >= 8 && std::memcmp(data, kPng, 8) == 0) return ImageFormat::kPng;
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
        return ImageFormat::kJpeg;
    return ImageFormat::kUnknown;
}

bool DecodeImage(const unsigned char* data, size_t size, Image* out, std::string* error) {
    bool ok = false;
    switch (DetectImageFormat(data, size)) {
        case ImageFormat::kPng:
            ok = DecodePng(data, size, out, error);
            break;
        case ImageFormat::kJpeg:
            ok = DecodeJpeg(data, size, out, error);
            break;
        case ImageFormat::kUnknown:
            *error = size == 0 ? "empty file" : "neither PNG nor JPEG";
            return false;
    }
    if (ok) PrepareImage(out);
    return ok;
}

}  // namespace media
