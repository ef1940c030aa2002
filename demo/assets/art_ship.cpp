// The player's ship, its shots and its bomb, and the explosion every actor shares.
#include <algorithm>
#include <cmath>

#include "art.h"

namespace demo {

namespace {

constexpr Color kOutline = 0x10142A;

}  // namespace

// A 32x32 ship pointing up with its top-left at (ox, oy). tilt -1 banks left, 1 right:
// the wing on that side is drawn shorter and darker. flame 0 or 1 flickers the engines.
void DrawShip(Canvas& c, int ox, int oy, int tilt, int flame) {
    Canvas s(32, 32);
    double kl = tilt < 0 ? 0.6 : 1.0, kr = tilt > 0 ? 0.6 : 1.0;
    auto half = [&](std::vector<Point> pts, Color left, Color right) {
        std::vector<Point> l, r;
        for (const Point& p : pts) {
            l.push_back({16 - (16 - p.x) * kl, p.y});
            r.push_back({16 + (16 - p.x) * kr, p.y});
        }
        s.Polygon(l, left);
        s.Polygon(r, right);
    };
    double fl = tilt < 0 ? 0.75 : 1.0, fr = tilt > 0 ? 0.7 : 0.88;
    Color wing = 0x6F80B8, hull = 0xD2DCF0, dark = 0x3A4678, red = 0xE04850;
    half({{13, 13}, {3, 22}, {2, 26}, {8, 26}, {13, 23}}, Shade(wing, fl), Shade(wing, fr));
    half({{2, 21}, {4, 21}, {4, 27}, {2, 27}}, Shade(red, fl), Shade(red, fr));
    half({{10, 20}, {13, 20}, {13, 28}, {10, 28}}, Shade(dark, fl), Shade(dark, fr));
    half({{16, 2}, {13, 10}, {12, 22}, {14, 27}, {16, 27}}, Shade(hull, fl), Shade(hull, fr));
    half({{16, 16}, {14, 18}, {14, 25}, {16, 25}}, Shade(red, fl), Shade(red, fr));
    s.Ellipse(16, 11, 2.2, 4, 0x50D8FF);
    s.Set(15, 9, 0xE8FFFF);
    s.Set(15, 10, 0xB0F0FF);
    // Engine flames: longer and brighter in the second frame.
    double len = flame ? 3.5 : 2.5;
    s.Ellipse(16, 28 + len / 2, 2, len, 0xFF9020);
    s.Ellipse(16, 28 + len / 3, 1, len / 1.6, 0xFFF080);
    s.Ellipse(16 - 4.5 * kl, 29, 1, len / 2 + 0.5, 0xFF9020);
    s.Ellipse(16 + 4.5 * kr, 29, 1, len / 2 + 0.5, 0xFF9020);
    s.Outline(kOutline);
    c.Blit(s, ox, oy);
}

Canvas ShipStrip(int tilt) {
    Canvas c(64, 32);
    DrawShip(c, 0, 0, tilt, 0);
    DrawShip(c, 32, 0, tilt, 1);
    return c;
}

// Eight frames of a fireball that swells, cools and breaks into smoke.
Canvas Explosion() {
    Canvas c(256, 32);
    Random rnd(77);
    for (int k = 0; k < 8; ++k) {
        double t = k / 7.0, cx = k * 32 + 16, cy = 16;
        double r = 5 + 10 * std::sqrt(t);
        Color outer = Mix(0xFFB040, 0x803020, t);
        Color inner = Mix(0xFFFFE0, 0xFF7020, std::min(1.0, t * 1.4));
        Canvas f(32, 32);
        f.Circle(16, 16, r, outer);
        if (t < 0.85) f.Circle(16, 16, r * (0.75 - 0.5 * t), inner);
        // Smoke eats the ball from the inside as it cools.
        if (t > 0.4)
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    if (f.Get(x, y) && rnd.Unit() < (t - 0.4) * 1.3)
                        f.Set(x, y, rnd.Unit() < 0.5 ? kClear : Mix(0x504858, outer, 0.3));
        for (int d = 0; d < 6; ++d) {  // flying sparks
            double a = d * 1.047 + k * 0.2, dist = r + 2 + t * 4;
            f.Set(static_cast<int>(16 + std::cos(a) * dist),
                  static_cast<int>(16 + std::sin(a) * dist), Mix(0xFFF0A0, 0xFF6020, t));
        }
        c.Blit(f, static_cast<int>(cx - 16), static_cast<int>(cy - 16));
    }
    return c;
}

// The bomb: a wide shock ring drawn at the centre of the play field as it fades in.
Canvas Bomb() {
    Canvas c(400, 400);
    for (int i = 0; i < 4; ++i) {
        double r = 190 - i * 42;
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 400; ++x) {
                double d = std::hypot(x + 0.5 - 200, y + 0.5 - 200);
                double w = std::fabs(d - r);
                if (w < 9) c.Add(x, y, i == 0 ? 0x80E8FF : 0x4070FF, (1 - w / 9) * (1 - i * 0.2));
            }
    }
    c.Glow(200, 200, 60, 0xFFFFFF, 0.9);
    // The faint edges of the glow would be drawn as dark, opaque pixels: clear them.
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x) {
            Color p = c.Get(x, y);
            if (std::max({p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF}) < 48) c.Set(x, y, kClear);
        }
    return c;
}

Canvas PlayerShot() {
    Canvas c(6, 16);
    c.Ellipse(3, 8, 3, 8, 0x40C0FF);
    c.Ellipse(3, 7, 1.5, 6, 0xE0FFFF);
    return c;
}

Canvas RoundBullet(int size, Color rim, Color core) {
    Canvas c(size, size);
    double h = size / 2.0;
    c.Circle(h, h, h, rim);
    c.Circle(h, h, h * 0.6, Mix(rim, core, 0.5));
    c.Circle(h - 0.5, h - 0.5, h * 0.35, core);
    return c;
}

// Points up: a bullet turned to its motion is drawn turned by its bearing.
Canvas Needle() {
    Canvas c(6, 14);
    c.Polygon({{3, 0}, {5.5, 9}, {3, 14}, {0.5, 9}}, 0xC8F040);
    c.Polygon({{3, 2}, {4, 9}, {3, 12}, {2, 9}}, 0xFFFFC0);
    return c;
}

}  // namespace demo
