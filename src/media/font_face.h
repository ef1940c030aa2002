// Fonts for the text operations: a FreeType face chosen through fontconfig, with a cache of
// rendered glyphs keyed by cp932 character code. Independent of the window: fonts can be
// made and used before MediaInit and after MediaEnd.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace media {

// One rendered character. The bitmap's top-left lies 'left' pixels right of the pen and
// 'top' pixels above the baseline.
struct Glyph {
    int left = 0, top = 0;
    int width = 0, height = 0;
    int advance = 0;
    std::vector<uint8_t> coverage;  // width x height, 255 = solid
    // The outline mask: the coverage widened by the font's edge size on every side, so it
    // is (width + 2 edge) x (height + 2 edge) at (left - edge, top + edge). Made on first use.
    std::vector<uint8_t> edge;
    bool edgeMade = false;
};

struct FontRequest {
    std::string faceCp932;  // empty: the gothic face
    int size = 16;          // pixel size of the em
    int weight = 600;       // 100 to 900 (thickness x 100)
    bool antialiased = false;
    int edge = 0;  // outline width in pixels, 0 for none
    bool italic = false;
};

class FontFace {
public:
    // Null (and 'error' set) when no face can be opened.
    static std::unique_ptr<FontFace> Open(const FontRequest& request, std::string* error);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    // The glyph of a cp932 character: a byte, or lead << 8 | trail.
    Glyph& GlyphFor(uint16_t code);
    // The glyph's outline mask (see Glyph::edge); empty for fonts without an edge.
    const std::vector<uint8_t>& EdgeFor(Glyph& glyph);

    int Ascent() const { return ascent_; }
    int LineHeight() const { return lineHeight_; }
    int Edge() const { return request_.edge; }
    const std::string& FileName() const { return file_; }

private:
    FontFace() = default;
    void Render(uint32_t codePoint, Glyph* glyph);

    FontRequest request_;
    std::string file_;
    void* face_ = nullptr;  // FT_Face; FreeType stays out of this header
    bool embolden_ = false;
    long emboldenStrength_ = 0;  // 26.6 pixels
    int ascent_ = 0;
    int lineHeight_ = 0;
    std::unordered_map<uint16_t, Glyph> glyphs_;
};

// Walks cp932 text of 'length' bytes (stopping at a NUL): f(code) for every character, the
// code being the byte or lead << 8 | trail. A lead byte without its trail is left out.
template <typename F>
void ForEachCp932(const char* text, size_t length, F f) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    for (size_t i = 0; i < length && p[i]; ++i) {
        const unsigned char c = p[i];
        const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        if (!lead) {
            f(static_cast<uint16_t>(c));
        } else if (i + 1 < length && p[i + 1]) {
            f(static_cast<uint16_t>(c << 8 | p[i + 1]));
            ++i;
        } else {
            break;
        }
    }
}

// The Unicode code point of a cp932 character code ('?' for codes that are not assigned).
uint32_t Cp932CodePoint(uint16_t code);

}  // namespace media
