#include "support/png_writer.h"

#include <png.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

// After the C headers: jpeglib.h uses size_t and FILE without including their headers.
#include <jpeglib.h>

namespace {

void OnError(png_structp, png_const_charp message) {
    throw std::runtime_error(message);
}
void OnWarning(png_structp, png_const_charp) {}

void Append(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

int Channels(int colourType) {  // grey, -, RGB, palette, grey + alpha, -, RGBA
    static const int channels[] = {1, 1, 3, 1, 2, 1, 4};
    return channels[colourType];
}

void PutBe32(std::vector<unsigned char>* out, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out->push_back(static_cast<unsigned char>(v >> s));
}

// A chunk with its length and the CRC-32 of its type and data.
void PutChunk(std::vector<unsigned char>* out, const char* type,
              const std::vector<unsigned char>& data) {
    PutBe32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out->size();
    out->insert(out->end(), type, type + 4);
    out->insert(out->end(), data.begin(), data.end());
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = start; i < out->size(); ++i) {
        crc ^= (*out)[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    PutBe32(out, crc ^ 0xFFFFFFFFu);
}

}  // namespace

std::vector<unsigned char> EncodePngHeaderOnly(uint32_t width, uint32_t height) {
    std::vector<unsigned char> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    PutBe32(&header, width);
    PutBe32(&header, height);
    header.insert(header.end(), {8, 6, 0, 0, 0});
    PutChunk(&out, "IHDR", header);
    PutChunk(&out, "IDAT", {0x78, 0x9C, 0x63, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01});
    PutChunk(&out, "IEND", {});
    return out;
}

std::vector<unsigned char> EncodePng(const PngLayout& layout) {
    std::vector<unsigned char> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    png_infop info = png_create_info_struct(png);
    try {
        png_set_write_fn(png, &out, Append, nullptr);
        png_set_IHDR(png, info, layout.width, layout.height, layout.bitDepth, layout.colourType,
                     layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        std::vector<png_color> palette;
        for (uint32_t c : layout.palette)
            palette.push_back(png_color{static_cast<png_byte>(c >> 16),
                                        static_cast<png_byte>(c >> 8), static_cast<png_byte>(c)});
        if (!palette.empty()) png_set_PLTE(png, info, palette.data(), int(palette.size()));
        if (!layout.paletteAlpha.empty()) {
            png_set_tRNS(png, info, layout.paletteAlpha.data(), int(layout.paletteAlpha.size()),
                         nullptr);
        } else if (!layout.transparentColour.empty()) {
            const std::vector<uint16_t>& t = layout.transparentColour;
            png_color_16 c{};
            c.gray = t[0];  // read for grey pictures, red, green and blue for the others
            if (t.size() == 3) c.red = t[0], c.green = t[1], c.blue = t[2];
            png_set_tRNS(png, info, nullptr, 0, &c);
        }
        png_write_info(png, info);
        const size_t rowBytes =
            (size_t(layout.width) * Channels(layout.colourType) * layout.bitDepth + 7) / 8;
        std::vector<png_bytep> rows(layout.height);
        for (int y = 0; y < layout.height; ++y)
            rows[y] = const_cast<png_bytep>(&layout.rows.at(y * rowBytes));
        png_write_image(png, rows.data());
        png_write_end(png, nullptr);
    } catch (...) {
        png_destroy_write_struct(&png, &info);
        throw;
    }
    png_destroy_write_struct(&png, &info);
    return out;
}

std::vector<unsigned char> EncodeArgbPng(int width, int height, const std::vector<uint32_t>& argb,
                                         bool withAlpha, bool interlaced) {
    PngLayout layout;
    layout.interlaced = interlaced;
    layout.width = width;
    layout.height = height;
    layout.colourType = withAlpha ? kPngRgba : kPngRgb;
    for (uint32_t p : argb) {
        layout.rows.push_back(static_cast<unsigned char>(p >> 16));
        layout.rows.push_back(static_cast<unsigned char>(p >> 8));
        layout.rows.push_back(static_cast<unsigned char>(p));
        if (withAlpha) layout.rows.push_back(static_cast<unsigned char>(p >> 24));
    }
    return EncodePng(layout);
}

std::vector<unsigned char> EncodeJpeg(int width, int height, const std::vector<uint32_t>& xrgb,
                                      int quality, bool progressive, bool grey) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    if (progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(size_t(width) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        const uint32_t* src = &xrgb[size_t(cinfo.next_scanline) * width];
        for (int x = 0; x < width; ++x) {
            if (grey) {
                row[x] = static_cast<unsigned char>(src[x]);
            } else {
                row[3 * x] = static_cast<unsigned char>(src[x] >> 16);
                row[3 * x + 1] = static_cast<unsigned char>(src[x] >> 8);
                row[3 * x + 2] = static_cast<unsigned char>(src[x]);
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<unsigned char> out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}
