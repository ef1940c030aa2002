// The pixel size of an image file, read from its header alone: PNG (the IHDR chunk) or JPEG
// (the first start-of-frame marker), the two kinds the game's image loader accepts.
#pragma once

#include <string>

namespace tool {

// False when the file cannot be read or is neither a PNG nor a JPEG image.
bool ReadImageSize(const std::string& path, int& width, int& height);

}  // namespace tool
