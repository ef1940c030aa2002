// A small RGB canvas for the demo's pixel art. Pure black (0x000000) is what the game
// treats as transparent, so it is also this canvas's "nothing here"; opaque colours are
// never exactly black.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace demo {

using Color = uint32_t;  // 0xRRGGBB
constexpr Color kClear = 0x000000;

Color Rgb(int r, int g, int b);
// Linear blend from a (t = 0) to b (t = 1).
Color Mix(Color a, Color b, double t);
// Brightness scaled by f (0..2), never turning into the transparent black.
Color Shade(Color c, double f);

struct Point {
    double x, y;
};

class Canvas {
public:
    Canvas(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    Color Get(int x, int y) const;
    void Set(int x, int y, Color c);
    // Adds light: each channel saturates at 255.
    void Add(int x, int y, Color c, double amount);

    void Fill(Color c);
    void Rect(int x, int y, int w, int h, Color c);
    void Line(int x0, int y0, int x1, int y1, Color c);
    void Ellipse(double cx, double cy, double rx, double ry, Color c);
    void Circle(double cx, double cy, double r, Color c) { Ellipse(cx, cy, r, r, c); }
    // A ring between radii r0 and r1.
    void Ring(double cx, double cy, double r0, double r1, Color c);
    // Filled polygon, sampled at pixel centres.
    void Polygon(const std::vector<Point>& points, Color c);
    // The same polygon and its mirror image about the vertical line x = axis.
    void MirroredPolygon(const std::vector<Point>& points, double axis, Color c);
    // A soft additive glow falling off to nothing at radius r.
    void Glow(double cx, double cy, double r, Color c, double strength = 1.0);
    // A 1-pixel border around every opaque shape.
    void Outline(Color c);
    // Copies the opaque pixels of 'src' with its top-left at (x, y).
    void Blit(const Canvas& src, int x, int y);
    // Text in the built-in 5x7 font, each font pixel 'scale' pixels wide.
    void Text(int x, int y, const std::string& text, int scale, Color c);
    // Text with a vertical gradient from top to bottom colour and a drop shadow.
    void FancyText(int x, int y, const std::string& text, int scale, Color top, Color bottom,
                   Color shadow);
    static int TextWidth(const std::string& text, int scale);

    // Writes an 8-bit RGB PNG. False on failure.
    bool WritePng(const std::string& path) const;

private:
    int width_, height_;
    std::vector<Color> pixels_;
};

// A deterministic random generator for the art and the music (xorshift).
class Random {
public:
    explicit Random(uint32_t seed) : state_(seed ? seed : 1) {}
    uint32_t Next();
    double Unit() { return (Next() & 0xFFFFFF) / double(0x1000000); }  // 0 <= x < 1
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }

private:
    uint32_t state_;
};

// Writes 8-bit RGB (or RGBA) rows, packed, as a PNG file. False on failure.
bool WritePngFile(const std::string& path, int width, int height, bool alpha,
                  const std::vector<uint8_t>& bytes);

}  // namespace demo
