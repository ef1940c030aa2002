// The demo's 5x7 pixel font: capitals, digits and a little punctuation.
#pragma once

#include <cstdint>

namespace demo {

// Seven rows of five bits (bit 4 is the leftmost pixel), or nullptr for a character the
// font does not have (drawn as a space).
const uint8_t* Glyph(char c);

}  // namespace demo
