// Face matching through fontconfig (lang=ja) and glyph rendering through FreeType.
//
// Faces the projects name map onto what a Linux desktop has: a gothic face ("ゴシック",
// e.g. "ＭＳ ゴシック") becomes the monospace Japanese face IPAGothic, a mincho face ("明朝")
// the serif IPAMincho; any other name is tried as it is and falls back to the gothic face.
// Weights of 600 and above are drawn bold, synthesised when the face has no bold of its own.
#include "media/font_face.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <tuple>

#include "sys/sys.h"

namespace media {
namespace {

// One FreeType library for the life of the process: fonts outlive MediaEnd.
FT_Library Library() {
    static FT_Library library = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l) != 0) l = nullptr;
        return l;
    }();
    return library;
}

bool ContainsNoCase(const std::string& text, const char* word) {
    std::string a = text, b = word;
    for (char& c : a) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (char& c : b) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return a.find(b) != std::string::npos;
}

struct Match {
    std::string file;
    int index = 0;
    std::vector<std::string> families;
};

// fontconfig's best face for the families (tried in order) in Japanese.
bool MatchFamilies(const std::vector<std::string>& families, int weight, bool italic, Match* out) {
    static const bool ready = FcInit() == FcTrue;
    if (!ready) return false;
    FcPattern* pattern = FcPatternCreate();
    for (const std::string& f : families)
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(f.c_str()));
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    if (italic) FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ITALIC);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;
    FcChar8* file = nullptr;
    bool ok = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file;
    if (ok) {
        out->file = reinterpret_cast<const char*>(file);
        int index = 0;
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) out->index = index;
        FcChar8* family = nullptr;
        for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &family) == FcResultMatch; ++i)
            out->families.push_back(reinterpret_cast<const char*>(family));
    }
    FcPatternDestroy(match);
    return ok;
}

// The face file for a requested name; matches are kept, since fontconfig is slow to ask.
bool FindFace(const std::string& faceCp932, int weight, bool italic, Match* out) {
    static std::map<std::tuple<std::string, int, bool>, Match> cache;
    const auto key = std::make_tuple(faceCp932, weight, italic);
    auto it = cache.find(key);
    if (it != cache.end()) {
        *out = it->second;
        return true;
    }
    const std::string name = sys::Cp932ToUtf8(faceCp932);
    const std::vector<std::string> gothic = {"IPAGothic", "monospace"};
    const std::vector<std::string> mincho = {"IPAMincho", "serif"};
    bool ok = false;
    if (name.find("明朝") != std::string::npos || ContainsNoCase(name, "mincho")) {
        ok = MatchFamilies(mincho, weight, italic, out);
    } else if (!name.empty() && name.find("ゴシック") == std::string::npos &&
               !ContainsNoCase(name, "gothic")) {
        // Another name: used only when fontconfig really has that family.
        Match m;
        if (MatchFamilies({name}, weight, italic, &m)) {
            for (const std::string& f : m.families) {
                if (f.size() == name.size() && ContainsNoCase(f, name.c_str())) {
                    *out = m;
                    ok = true;
                    break;
                }
            }
        }
    }
    if (!ok) ok = MatchFamilies(gothic, weight, italic, out);
    if (ok) cache[key] = *out;
    return ok;
}

int DecodeUtf8(const std::string& s) {
    if (s.empty()) return '?';
    const unsigned char* p = reinterpret_cast<const unsigned char*>(s.data());
    if (p[0] < 0x80) return p[0];
    int n = p[0] >= 0xF0 ? 3 : p[0] >= 0xE0 ? 2 : 1;
    if (s.size() < size_t(n) + 1) return '?';
    int cp = p[0] & (0x3F >> n);
    for (int i = 1; i <= n; ++i) cp = cp << 6 | (p[i] & 0x3F);
    return cp;
}

}  // namespace

uint32_t Cp932CodePoint(uint16_t code) {
    if (code < 0x80) return code;
    if (code >= 0xA1 && code <= 0xDF) return 0xFF61 + (code - 0xA1);  // half-width katakana
    if (code < 0x100) return '?';
    const char bytes[3] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF), 0};
    return static_cast<uint32_t>(DecodeUtf8(sys::Cp932ToUtf8(bytes)));
}

std::unique_ptr<FontFace> FontFace::Open(const FontRequest& request, std::string* error) {
    FT_Library library = Library();
    if (!library) {
        *error = "FreeType could not start";
        return nullptr;
    }
    const int weight = std::min(std::max(request.weight, 100), 900);
    Match match;
    if (!FindFace(request.faceCp932, weight, request.italic, &match)) {
        *error = "no font face found";
        return nullptr;
    }
    FT_Face face = nullptr;
    if (FT_New_Face(library, match.file.c_str(), match.index, &face) != 0) {
        *error = "cannot open " + match.file;
        return nullptr;
    }
    const int size = std::min(std::max(request.size, 1), 512);
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size)) != 0) {
        FT_Done_Face(face);
        *error = "cannot size " + match.file;
        return nullptr;
    }
    std::unique_ptr<FontFace> font(new FontFace());
    font->request_ = request;
    font->request_.size = size;
    font->request_.weight = weight;
    font->file_ = match.file;
    font->face_ = face;
    // The face's own style decides (the weight of fontconfig's answer echoes the request).
    const bool faceBold = face->style_flags & FT_STYLE_FLAG_BOLD;
    font->embolden_ = weight >= 600 && !faceBold;
    if (font->embolden_) {
        // FreeType's own synthetic bold widens by an em / 24 at weight 700; at least a
        // pixel, so that bold shows at the small sizes the games use.
        font->emboldenStrength_ = std::max<long>(64, long(size) * 64 * (weight - 400) / (24 * 300));
    }
    const FT_Size_Metrics& m = face->size->metrics;
    font->ascent_ = static_cast<int>((m.ascender + 63) >> 6);
    font->lineHeight_ = std::max(static_cast<int>((m.height + 63) >> 6), size) + 2 * request.edge;
    return font;
}

FontFace::~FontFace() {
    if (face_) FT_Done_Face(static_cast<FT_Face>(face_));
}

Glyph& FontFace::GlyphFor(uint16_t code) {
    auto it = glyphs_.find(code);
    if (it != glyphs_.end()) return it->second;
    Glyph& glyph = glyphs_[code];
    // Control characters take no room.
    if (code >= 0x20 && code != 0x7F) Render(Cp932CodePoint(code), &glyph);
    return glyph;
}

void FontFace::Render(uint32_t codePoint, Glyph* glyph) {
    FT_Face face = static_cast<FT_Face>(face_);
    const FT_UInt index = FT_Get_Char_Index(face, codePoint);
    FT_Int32 flags = FT_LOAD_NO_BITMAP;
    flags |= request_.antialiased ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO;
    if (FT_Load_Glyph(face, index, flags) != 0) return;
    FT_GlyphSlot slot = face->glyph;
    long advance = slot->advance.x;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        if (request_.italic && !(face->style_flags & FT_STYLE_FLAG_ITALIC)) {
            FT_Matrix shear = {0x10000, 0x3800, 0, 0x10000};
            FT_Outline_Transform(&slot->outline, &shear);
        }
        if (embolden_) {
            FT_Outline_Embolden(&slot->outline, emboldenStrength_);
            advance += emboldenStrength_;
        }
    }
    if (FT_Render_Glyph(slot, request_.antialiased ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) !=
        0)
        return;
    const FT_Bitmap& bm = slot->bitmap;
    glyph->left = slot->bitmap_left;
    glyph->top = slot->bitmap_top;
    glyph->width = static_cast<int>(bm.width);
    glyph->height = static_cast<int>(bm.rows);
    glyph->advance = static_cast<int>((advance + 32) >> 6);
    glyph->coverage.assign(size_t(glyph->width) * glyph->height, 0);
    for (int y = 0; y < glyph->height; ++y) {
        const unsigned char* row = bm.buffer + int64_t(y) * bm.pitch;
        uint8_t* out = &glyph->coverage[size_t(y) * glyph->width];
        if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
            for (int x = 0; x < glyph->width; ++x)
                out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
        } else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
            const int levels = std::max(bm.num_grays - 1, 1);
            for (int x = 0; x < glyph->width; ++x)
                out[x] = static_cast<uint8_t>(levels == 255 ? row[x] : row[x] * 255 / levels);
        }
    }
}

const std::vector<uint8_t>& FontFace::EdgeFor(Glyph& glyph) {
    if (glyph.edgeMade) return glyph.edge;
    glyph.edgeMade = true;
    const int e = request_.edge;
    if (e <= 0 || glyph.width == 0) return glyph.edge;
    // Each outline pixel takes the strongest coverage within the edge distance (a disc).
    const int w = glyph.width + 2 * e, h = glyph.height + 2 * e;
    glyph.edge.assign(size_t(w) * h, 0);
    for (int y = 0; y < glyph.height; ++y) {
        for (int x = 0; x < glyph.width; ++x) {
            const uint8_t c = glyph.coverage[size_t(y) * glyph.width + x];
            if (!c) continue;
            for (int dy = -e; dy <= e; ++dy) {
                for (int dx = -e; dx <= e; ++dx) {
                    if (dx * dx + dy * dy > e * e + e) continue;
                    uint8_t& o = glyph.edge[size_t(y + e + dy) * w + (x + e + dx)];
                    o = std::max(o, c);
                }
            }
        }
    }
    return glyph.edge;
}

}  // namespace media
