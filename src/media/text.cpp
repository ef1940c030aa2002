// Font handles and text drawing; the on-screen debug text drawn by FlipScreen.
#include <algorithm>
#include <cstring>
#include <memory>

#include "media/core.h"
#include "media/draw_list.h"
#include "media/font_face.h"
#include "media/media.h"
#include "media/raster.h"
#include "sys/sys.h"

namespace media {
namespace {

constexpr size_t kMaxFonts = 40;

HandleTable<std::unique_ptr<FontFace>>& Fonts() {
    static HandleTable<std::unique_ptr<FontFace>> table(kFontHandle, kMaxFonts);
    return table;
}

FontFace* FindFont(int handle) {
    std::unique_ptr<FontFace>* slot = Fonts().Get(handle);
    return slot ? slot->get() : nullptr;
}

int TextWidth(FontFace& font, const char* text, size_t length) {
    int width = 0;
    ForEachCp932(text, length, [&](uint16_t code) { width += font.GlyphFor(code).advance; });
    return width + 2 * font.Edge();
}

// The text's top-left at (x, y), outline included: every outline first, then the letters,
// so that no outline covers a neighbouring letter.
void DrawText(FontFace& font, int x, int y, const char* text, uint32_t colour, uint32_t edgeColour,
              const PixelMode& mode, const Surface& s = BackSurface()) {
    // Text blends over what is drawn, so the listed draws come first.
    if (s.pixels == TheCore().backBuffer.data()) FlushDrawing();
    const ClipRect screen = SurfaceRect(s);
    const int e = font.Edge();
    const int baseline = y + e + font.Ascent();
    const size_t length = std::strlen(text);
    if (e > 0) {
        int pen = x + e;
        ForEachCp932(text, length, [&](uint16_t code) {
            Glyph& g = font.GlyphFor(code);
            const std::vector<uint8_t>& edge = font.EdgeFor(g);
            if (!edge.empty()) {
                const int w = g.width + 2 * e;
                BlitCoverage(s, screen, edge.data(), w, w, g.height + 2 * e, pen + g.left - e,
                             baseline - g.top - e, edgeColour, mode);
            }
            pen += g.advance;
        });
    }
    int pen = x + e;
    ForEachCp932(text, length, [&](uint16_t code) {
        const Glyph& g = font.GlyphFor(code);
        if (!g.coverage.empty())
            BlitCoverage(s, screen, g.coverage.data(), g.width, g.width, g.height, pen + g.left,
                         baseline - g.top, colour, mode);
        pen += g.advance;
    });
}

// The debug text's own font: gothic, 16 pixels, regular, anti-aliased, outlined.
FontFace* DebugFont() {
    static std::unique_ptr<FontFace> font = [] {
        FontRequest r;
        r.faceCp932 = "";
        r.size = 16;
        r.weight = 400;
        r.antialiased = true;
        r.edge = 1;
        std::string error;
        std::unique_ptr<FontFace> f = FontFace::Open(r, &error);
        if (!f) Log("Debug text: %s", error.c_str());
        return f;
    }();
    return font.get();
}

}  // namespace

void ReleaseAllFonts() {
    Fonts().Clear();
}

void DrawDebugText(const std::vector<std::string>& lines) {
    FontFace* font = DebugFont();
    if (!font) return;
    PixelMode mode;  // blending off, full brightness
    const int lineHeight = std::max(font->LineHeight(), 1);
    const size_t fit = std::min<size_t>(80, size_t(kScreenHeight / lineHeight));
    for (size_t i = 0; i < lines.size() && i < fit; ++i)
        DrawText(*font, 0, int(i) * lineHeight, lines[i].c_str(), 0xFFFFFF, 0x000000, mode);
}

std::vector<uint32_t> RenderNote(const std::string& text, int* width, int* height) {
    MediaLockGuard g;
    FontFace* font = DebugFont();
    if (!font) return {};
    constexpr int kMargin = 6;
    *width = TextWidth(*font, text.c_str(), text.size()) + 2 * kMargin;
    *height = std::max(font->LineHeight(), 1) + kMargin;
    std::vector<uint32_t> pixels(size_t(*width) * size_t(*height), 0x181818);
    Surface s{pixels.data(), *width, *height, *width};
    DrawText(*font, kMargin, kMargin / 2, text.c_str(), 0xFFFFFF, 0x000000, PixelMode(), s);
    for (uint32_t& p : pixels) p = (p & 0xFFFFFF) | 0xD8000000u;
    return pixels;
}

}  // namespace media

using media::MediaLockGuard;

int CreateFontToHandle(const char* faceName, int size, int thickness, int type, int charset,
                       int edgeSize, int italic, int reuseHandle) {
    MediaLockGuard g;
    media::Core& c = media::TheCore();
    media::FontRequest r;
    r.faceCp932 = faceName ? faceName : c.defaultFontName;
    r.size = size == -1 ? 16 : size;
    r.weight = (thickness == -1 ? 6 : thickness) * 100;
    if (type == -1) type = c.defaultFontType;
    // Anti-aliasing is bit 1 of the type; an 8-bit screen has no levels to show it with.
    r.antialiased = (type & 2) && c.depth != 8;
    // Bit 0, or an edge size, asks for an outline (one pixel unless the size says more).
    if (edgeSize > 0)
        r.edge = std::min(edgeSize, 8);
    else if (type & 1)
        r.edge = 1;
    r.italic = italic > 0;
    if (media::Fonts().Live() >= media::kMaxFonts) {
        media::Log("CreateFontToHandle: %s: all %zu font handles are in use",
                   sys::Cp932ToUtf8(r.faceCp932).c_str(), media::kMaxFonts);
        return -1;
    }
    std::string error;
    std::unique_ptr<media::FontFace> font = media::FontFace::Open(r, &error);
    if (!font) {
        media::Log("CreateFontToHandle: %s: %s", sys::Cp932ToUtf8(r.faceCp932).c_str(),
                   error.c_str());
        return -1;
    }
    return media::Fonts().Add(std::move(font));
}

int DrawTextWithFont(int x, int y, const char* text, int colour, int font, int edgeColour,
                     int option) {
    MediaLockGuard g;
    media::FontFace* face = media::FindFont(font);
    if (!face) return -1;
    if (!text) return 0;
    const media::Core& c = media::TheCore();
    media::PixelMode mode;
    mode.alpha = c.blendMode == 1 ? c.blendParam : 255;
    mode.brightR = c.brightR;
    mode.brightG = c.brightG;
    mode.brightB = c.brightB;
    media::DrawText(*face, x, y, text, media::ColourToXrgb(colour), media::ColourToXrgb(edgeColour),
                    mode);
    return 0;
}

int GetTextWidthWithFont(const char* text, int length, int font, int option) {
    MediaLockGuard g;
    media::FontFace* face = media::FindFont(font);
    if (!face) return -1;
    if (!text || length <= 0) return 0;
    return media::TextWidth(*face, text, static_cast<size_t>(length));
}
