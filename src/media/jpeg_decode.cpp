// JPEG decoding through libjpeg. Its error manager jumps back here instead of ending the
// process, and every warning (a truncated or damaged stream) fails the load: a half-grey
// picture is worse than none.
#include <csetjmp>
#include <cstddef>
#include <cstdio>

// After the C headers: jpeglib.h uses size_t and FILE without including their headers.
#include <jpeglib.h>

#include "media/image.h"

namespace media {
namespace {

struct JpegErrors {
    jpeg_error_mgr mgr;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnJpegError(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->message);
    longjmp(errors->jump, 1);
}

void OnJpegMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return;  // trace messages
    OnJpegError(cinfo);
}

uint32_t FromCmyk(int c, int m, int y, int k, bool inverted) {
    if (!inverted) {
        c = 255 - c;
        m = 255 - m;
        y = 255 - y;
        k = 255 - k;
    }
    uint32_t r = static_cast<uint32_t>(c * k / 255);
    uint32_t g = static_cast<uint32_t>(m * k / 255);
    uint32_t b = static_cast<uint32_t>(y * k / 255);
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

// Holds no object with a destructor: a libjpeg error jumps straight back to the setjmp.
bool ReadJpeg(jpeg_decompress_struct* cinfo, JpegErrors* errors, const unsigned char* data,
              size_t size, Image* out) {
    if (setjmp(errors->jump)) return false;

    jpeg_create_decompress(cinfo);
    jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(cinfo, TRUE);
    if (!ImageSizeAllowed(cinfo->image_width, cinfo->image_height)) {
        std::snprintf(errors->message, sizeof errors->message,
                      "image size %ux%u is above the limit", cinfo->image_width,
                      cinfo->image_height);
        return false;
    }
    bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    cinfo->mem->max_memory_to_use = 512l * 1024 * 1024;
    jpeg_start_decompress(cinfo);
    int components = cinfo->output_components;
    if ((cmyk && components != 4) || (!cmyk && components != 3)) {
        std::snprintf(errors->message, sizeof errors->message, "unexpected %d components",
                      components);
        return false;
    }

    const int width = static_cast<int>(cinfo->output_width);
    const int height = static_cast<int>(cinfo->output_height);
    out->width = width;
    out->height = height;
    out->pixels.assign(static_cast<size_t>(width) * height, 0);
    JSAMPARRAY row = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                                 width * components, 1);
    const bool inverted = cinfo->saw_Adobe_marker;
    while (cinfo->output_scanline < cinfo->output_height) {
        int y = static_cast<int>(cinfo->output_scanline);
        if (jpeg_read_scanlines(cinfo, row, 1) != 1) {
            std::snprintf(errors->message, sizeof errors->message, "no scanline %d", y);
            return false;
        }
        uint32_t* dst = &out->pixels[static_cast<size_t>(y) * width];
        const JSAMPLE* src = row[0];
        if (cmyk) {
            for (int x = 0; x < width; ++x, src += 4)
                dst[x] = FromCmyk(src[0], src[1], src[2], src[3], inverted);
        } else {
            for (int x = 0; x < width; ++x, src += 3)
                dst[x] = 0xFF000000u | (uint32_t(src[0]) << 16) | (uint32_t(src[1]) << 8) | src[2];
        }
    }
    // Every scanline is in: whatever follows the last one is not needed.
    return true;
}

}  // namespace

bool DecodeJpeg(const unsigned char* data, size_t size, Image* out, std::string* error) {
    jpeg_decompress_struct cinfo{};
    JpegErrors errors;
    errors.message[0] = '\0';
    cinfo.err = jpeg_std_error(&errors.mgr);
    errors.mgr.error_exit = OnJpegError;
    errors.mgr.emit_message = OnJpegMessage;
    bool ok = ReadJpeg(&cinfo, &errors, data, size, out);
    jpeg_destroy_decompress(&cinfo);
    if (!ok) {
        *out = Image();
        *error = errors.message[0] ? errors.message : "not a readable JPEG";
    }
    return ok;
}

}  // namespace media
