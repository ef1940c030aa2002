// PNG decoding through libpng. Every colour type and bit depth is turned into 8-bit BGRA by
// libpng's own transforms; errors come back through setjmp, never through exit().
#include <png.h>

#include <csetjmp>
#include <cstring>

#include "media/image.h"

namespace media {
namespace {

struct PngSource {
    const unsigned char* data;
    size_t size;
    size_t pos;
    std::string error;
    std::vector<png_bytep> rows;
};

void OnPngError(png_structp png, png_const_charp message) {
    auto* source = static_cast<PngSource*>(png_get_error_ptr(png));
    if (source && source->error.empty()) source->error = message ? message : "libpng error";
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (length > source->size - source->pos) png_error(png, "file is truncated");
    std::memcpy(out, source->data + source->pos, length);
    source->pos += length;
}

// Holds no object with a destructor: a libpng error jumps straight back to the setjmp.
bool ReadPng(png_structp png, png_infop info, PngSource* source, Image* out) {
    if (setjmp(png_jmpbuf(png))) return false;

    png_set_read_fn(png, source, ReadFromMemory);
    png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
    png_read_info(png, info);

    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colourType = 0, interlace = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, &interlace, nullptr, nullptr);
    if (!ImageSizeAllowed(width, height)) {
        source->error = "image size " + std::to_string(width) + "x" + std::to_string(height) +
                        " is above the limit";
        return false;
    }

    // Palette and small greys to 8 bits, tRNS to an alpha channel, 16 bits scaled to 8,
    // grey to RGB, BGRA order in memory so that a row reads as 0xAARRGGBB words.
    png_set_expand(png);
    if (bitDepth == 16) png_set_scale_16(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    bool hasAlpha = (colourType & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    if (!hasAlpha)
        png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
    else
        png_set_swap_alpha(png);
#else
    png_set_bgr(png);
    if (!hasAlpha) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
#endif
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<png_size_t>(width) * 4) {
        source->error = "unexpected row layout after conversion";
        return false;
    }

    out->width = static_cast<int>(width);
    out->height = static_cast<int>(height);
    out->pixels.assign(static_cast<size_t>(width) * height, 0);
    source->rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        source->rows[y] = reinterpret_cast<png_bytep>(&out->pixels[static_cast<size_t>(y) * width]);
    // The picture is complete once every row is decoded; what follows the image data
    // (text chunks, the end marker) is not needed.
    png_read_image(png, source->rows.data());
    return true;
}

}  // namespace

bool DecodePng(const unsigned char* data, size_t size, Image* out, std::string* error) {
    PngSource source{data, size, 0, std::string(), {}};
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, OnPngError, OnPngWarning);
    if (!png) {
        *error = "libpng could not start";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    bool ok = info && ReadPng(png, info, &source, out);
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    if (!ok) {
        *out = Image();
        *error = source.error.empty() ? "not a readable PNG" : source.error;
    }
    return ok;
}

}  // namespace media
