// Scripted input for headless runs: one line per span, "FIRST-LAST NAME..." or
// "FRAME NAME...", '#' starts a comment. Names: ESC Z X UP DOWN LEFT RIGHT, F1..F12,
// PAD1..PAD24, PADUP PADDOWN PADLEFT PADRIGHT. A name is held in every frame of its span.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace media {

class InputScript {
public:
    // False with a message naming the line when the text is malformed.
    bool Parse(const std::string& text, std::string* error);
    // Adds the keys and pad bits held in 'frame'.
    void Apply(uint32_t frame, uint8_t keys[256], int* pad) const;

private:
    struct Span {
        uint32_t first = 0;
        uint32_t last = 0;
        std::vector<uint8_t> keys;
        int pad = 0;
    };
    std::vector<Span> spans_;
};

// The DirectInput scan code or pad bit of a script name; false when unknown.
bool LookUpInputName(const std::string& name, int* scanCode, int* padBits);

}  // namespace media
