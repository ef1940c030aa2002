// The back buffer, or any XRGB picture, as a PNG file (screenshots, tests, orvan-tool's
// pictures): 8-bit RGB through libpng.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

#include "media/core.h"
#include "media/draw_list.h"
#include "media/inspect.h"

namespace media {
namespace {

void OnWriteError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void OnWriteWarning(png_structp, png_const_charp) {}

// Holds no object with a destructor: a libpng error jumps straight back to the setjmp.
bool WriteRows(png_structp png, png_infop info, FILE* f, png_bytepp rows, int width, int height) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, f);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

bool WriteBackBufferPng(const std::string& hostPath) {
    MediaLockGuard g;
    FlushDrawing();
    return WritePixelsPng(hostPath, TheCore().backBuffer.data(), kScreenWidth, kScreenHeight);
}

bool WritePixelsPng(const std::string& hostPath, const uint32_t* px, int width, int height) {
    if (!px || width <= 0 || height <= 0) return false;
    std::vector<unsigned char> rgb(size_t(width) * height * 3);
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        unsigned char* out = &rgb[size_t(y) * width * 3];
        rows[y] = out;
        for (int x = 0; x < width; ++x) {
            const uint32_t p = px[size_t(y) * width + x];
            out[3 * x] = static_cast<unsigned char>(p >> 16);
            out[3 * x + 1] = static_cast<unsigned char>(p >> 8);
            out[3 * x + 2] = static_cast<unsigned char>(p);
        }
    }
    FILE* f = std::fopen(hostPath.c_str(), "wb");
    if (!f) return false;
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnWriteError, OnWriteWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = png && info && WriteRows(png, info, f, rows.data(), width, height);
    if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
    ok = std::fclose(f) == 0 && ok;
    return ok;
}

}  // namespace media
