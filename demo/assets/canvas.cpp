#include "canvas.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "font.h"

namespace demo {

namespace {

int Channel(Color c, int shift) {
    return static_cast<int>(c >> shift & 0xFF);
}

}  // namespace

Color Rgb(int r, int g, int b) {
    auto clamp = [](int v) { return std::clamp(v, 0, 255); };
    Color c = static_cast<Color>(clamp(r) << 16 | clamp(g) << 8 | clamp(b));
    return c == kClear ? 0x010101 : c;
}

Color Mix(Color a, Color b, double t) {
    auto lerp = [&](int shift) {
        return static_cast<int>(std::lround(Channel(a, shift) * (1 - t) + Channel(b, shift) * t));
    };
    return Rgb(lerp(16), lerp(8), lerp(0));
}

Color Shade(Color c, double f) {
    return Rgb(static_cast<int>(Channel(c, 16) * f), static_cast<int>(Channel(c, 8) * f),
               static_cast<int>(Channel(c, 0) * f));
}

uint32_t Random::Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, kClear) {}

Color Canvas::Get(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return kClear;
    return pixels_[static_cast<size_t>(y) * width_ + x];
}

void Canvas::Set(int x, int y, Color c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<size_t>(y) * width_ + x] = c;
}

void Canvas::Add(int x, int y, Color c, double amount) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || amount <= 0) return;
    Color old = Get(x, y);
    auto add = [&](int shift) {
        return Channel(old, shift) + static_cast<int>(Channel(c, shift) * amount);
    };
    Set(x, y, Rgb(add(16), add(8), add(0)));
}

void Canvas::Fill(Color c) {
    std::fill(pixels_.begin(), pixels_.end(), c);
}

void Canvas::Rect(int x, int y, int w, int h, Color c) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) Set(i, j, c);
}

void Canvas::Line(int x0, int y0, int x1, int y1, Color c) {
    int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1, err = dx + dy;
    for (;;) {
        Set(x0, y0, c);
        if (x0 == x1 && y0 == y1) return;
        int e2 = 2 * err;
        if (e2 >= dy) err += dy, x0 += sx;
        if (e2 <= dx) err += dx, y0 += sy;
    }
}

void Canvas::Ellipse(double cx, double cy, double rx, double ry, Color c) {
    for (int y = static_cast<int>(cy - ry) - 1; y <= cy + ry + 1; ++y)
        for (int x = static_cast<int>(cx - rx) - 1; x <= cx + rx + 1; ++x) {
            double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0) Set(x, y, c);
        }
}

void Canvas::Ring(double cx, double cy, double r0, double r1, Color c) {
    for (int y = static_cast<int>(cy - r1) - 1; y <= cy + r1 + 1; ++y)
        for (int x = static_cast<int>(cx - r1) - 1; x <= cx + r1 + 1; ++x) {
            double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            if (d >= r0 && d <= r1) Set(x, y, c);
        }
}

void Canvas::Polygon(const std::vector<Point>& pts, Color c) {
    if (pts.size() < 3) return;
    double top = pts[0].y, bottom = pts[0].y;
    for (const Point& p : pts) top = std::min(top, p.y), bottom = std::max(bottom, p.y);
    for (int y = static_cast<int>(std::floor(top)); y <= bottom; ++y) {
        double sy = y + 0.5;
        std::vector<double> xs;
        for (size_t i = 0; i < pts.size(); ++i) {
            const Point& a = pts[i];
            const Point& b = pts[(i + 1) % pts.size()];
            if ((a.y <= sy && b.y > sy) || (b.y <= sy && a.y > sy))
                xs.push_back(a.x + (sy - a.y) / (b.y - a.y) * (b.x - a.x));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t i = 0; i + 1 < xs.size(); i += 2)
            for (int x = static_cast<int>(std::ceil(xs[i] - 0.5)); x + 0.5 < xs[i + 1]; ++x)
                Set(x, y, c);
    }
}

void Canvas::MirroredPolygon(const std::vector<Point>& pts, double axis, Color c) {
    Polygon(pts, c);
    std::vector<Point> mirrored;
    for (const Point& p : pts) mirrored.push_back({2 * axis - p.x, p.y});
    Polygon(mirrored, c);
}

void Canvas::Glow(double cx, double cy, double r, Color c, double strength) {
    for (int y = static_cast<int>(cy - r); y <= cy + r; ++y)
        for (int x = static_cast<int>(cx - r); x <= cx + r; ++x) {
            double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / r;
            if (d < 1) Add(x, y, c, strength * (1 - d) * (1 - d));
        }
}

void Canvas::Outline(Color c) {
    std::vector<Color> copy = pixels_;
    auto opaque = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < width_ && y < height_ &&
               copy[static_cast<size_t>(y) * width_ + x] != kClear;
    };
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (!opaque(x, y) &&
                (opaque(x - 1, y) || opaque(x + 1, y) || opaque(x, y - 1) || opaque(x, y + 1)))
                Set(x, y, c);
}

void Canvas::Blit(const Canvas& src, int x, int y) {
    for (int j = 0; j < src.height(); ++j)
        for (int i = 0; i < src.width(); ++i)
            if (src.Get(i, j) != kClear) Set(x + i, y + j, src.Get(i, j));
}

int Canvas::TextWidth(const std::string& text, int scale) {
    return text.empty() ? 0 : static_cast<int>(text.size()) * 6 * scale - scale;
}

void Canvas::Text(int x, int y, const std::string& text, int scale, Color c) {
    for (size_t k = 0; k < text.size(); ++k) {
        const uint8_t* rows = Glyph(text[k]);
        if (!rows) continue;
        for (int r = 0; r < 7; ++r)
            for (int b = 0; b < 5; ++b)
                if (rows[r] >> (4 - b) & 1)
                    Rect(x + (static_cast<int>(k) * 6 + b) * scale, y + r * scale, scale, scale, c);
    }
}

void Canvas::FancyText(int x, int y, const std::string& text, int scale, Color top, Color bottom,
                       Color shadow) {
    Text(x + scale / 2 + 1, y + scale / 2 + 1, text, scale, shadow);
    Canvas layer(width_, height_);
    layer.Text(x, y, text, scale, 0xFFFFFF);
    int h = 7 * scale;
    for (int j = y; j < y + h; ++j)
        for (int i = 0; i < width_; ++i)
            if (layer.Get(i, j) != kClear) {
                // A bright band across the upper third, like a chrome logo.
                double t = double(j - y) / (h - 1);
                Color c = t < 0.45 ? Mix(top, 0xFFFFFF, 0.35 * (1 - t / 0.45))
                                   : Mix(top, bottom, (t - 0.45) / 0.55);
                Set(i, j, c);
            }
}

bool WritePngFile(const std::string& path, int width, int height, bool alpha,
                  const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, width, height, 8, alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const size_t rowBytes = static_cast<size_t>(width) * (alpha ? 4 : 3);
    for (int y = 0; y < height; ++y)
        png_write_row(png, const_cast<png_bytep>(&bytes[static_cast<size_t>(y) * rowBytes]));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

bool Canvas::WritePng(const std::string& path) const {
    std::vector<uint8_t> rgb;
    rgb.reserve(pixels_.size() * 3);
    for (Color c : pixels_)
        rgb.insert(rgb.end(), {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8),
                               static_cast<uint8_t>(c)});
    return WritePngFile(path, width_, height_, false, rgb);
}

}  // namespace demo
