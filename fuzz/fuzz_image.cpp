// PNG and JPEG decoding from bytes in memory, the way sprite pictures are loaded.
#include <cstddef>
#include <cstdint>
#include <string>

#include "media/image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    media::Image image;
    std::string error;
    if (media::DecodeImage(data, size, &image, &error)) {
        // A decoded picture must hold exactly the pixels its size says.
        if (image.pixels.size() != static_cast<size_t>(image.width) * image.height)
            __builtin_trap();
        if (image.width > 1 && image.height > 1) media::CutImage(image, 1, 1, image.width - 1, 1);
    }
    return 0;
}
