// The enemies, the boss in its two phases, and the four items. Enemies face down.
#include <cmath>

#include "art.h"

namespace demo {

namespace {

constexpr Color kOutline = 0x140C18;
constexpr double kPi = 3.14159265358979;

// Light from the top-left: the right half of a symmetric shape a little darker.
void ShadeRightHalf(Canvas& c) {
    for (int y = 0; y < c.height(); ++y)
        for (int x = c.width() / 2; x < c.width(); ++x)
            if (c.Get(x, y)) c.Set(x, y, Shade(c.Get(x, y), 0.85));
}

}  // namespace

Canvas Dart() {
    Canvas c(24, 24);
    c.MirroredPolygon({{12, 23}, {9, 15}, {1, 5}, {5, 2}, {12, 8}}, 12, 0xD84848);
    c.MirroredPolygon({{12, 20}, {10.5, 13}, {12, 10}}, 12, 0xF8A0A0);
    c.MirroredPolygon({{4, 3}, {2, 7}, {1, 5}}, 12, 0x902830);
    ShadeRightHalf(c);
    c.Circle(12, 12, 2.2, 0xFFE040);
    c.Set(11, 11, 0xFFFFFF);
    c.Outline(kOutline);
    return c;
}

Canvas SaucerStrip() {
    Canvas c(128, 32);
    for (int k = 0; k < 4; ++k) {
        Canvas f(32, 32);
        f.Ellipse(16, 19, 15, 6.5, 0x5F9A78);
        f.Ellipse(16, 18, 13, 4.5, 0x88C8A0);
        f.Ellipse(16, 13, 7.5, 6.5, 0x60C8E8);
        f.Ellipse(14, 11, 2.5, 2, 0xD8F8FF);
        for (int i = 0; i < 8; ++i) {  // rim lights running round
            double a = (i + k * 0.5) * kPi / 4;
            if (std::sin(a) < 0) continue;  // the far side is hidden
            int x = static_cast<int>(16 + std::cos(a) * 12.5),
                y = static_cast<int>(19 + std::sin(a) * 4);
            f.Rect(x, y, 2, 2, i % 2 ? 0xFFE060 : 0xFF6060);
        }
        f.Outline(kOutline);
        c.Blit(f, k * 32, 0);
    }
    return c;
}

Canvas Gunship() {
    Canvas c(40, 40);
    c.MirroredPolygon({{20, 2}, {11, 5}, {3, 18}, {6, 33}, {20, 38}}, 20, 0x68704C);
    c.MirroredPolygon({{20, 6}, {13, 8}, {8, 18}, {10, 30}, {20, 33}}, 20, 0x8C9864);
    c.MirroredPolygon({{4, 16}, {1, 22}, {3, 30}, {7, 28}}, 20, 0x4A5236);
    c.Rect(11, 28, 3, 10, 0x3A3A44);
    c.Rect(26, 28, 3, 10, 0x3A3A44);
    ShadeRightHalf(c);
    c.Circle(20, 19, 7, 0x50583C);
    c.Circle(20, 19, 5, 0xA8B478);
    c.Rect(19, 19, 3, 14, 0x30303A);
    c.Circle(18.5, 17.5, 1.5, 0xF0F0C0);
    c.Outline(kOutline);
    return c;
}

Canvas Carrier() {
    Canvas c(64, 48);
    c.MirroredPolygon({{32, 2}, {16, 5}, {3, 18}, {5, 38}, {18, 46}, {32, 46}}, 32, 0x6C5C8C);
    c.MirroredPolygon({{32, 6}, {19, 9}, {9, 19}, {10, 34}, {20, 41}, {32, 41}}, 32, 0x9480B8);
    c.MirroredPolygon({{3, 20}, {0, 26}, {0, 34}, {4, 36}}, 32, 0x4C3E68);
    ShadeRightHalf(c);
    c.Rect(22, 26, 20, 12, 0x201830);  // the hangar the mines come out of
    for (int x = 23; x < 42; x += 4) c.Rect(x, 36, 2, 1, 0xFFD040);
    c.Rect(30, 8, 4, 14, 0xB8A8E0);
    c.Circle(32, 14, 3, 0xFF5080);
    c.Set(31, 13, 0xFFD0E0);
    c.Outline(kOutline);
    return c;
}

Canvas MineStrip() {
    Canvas c(32, 16);
    for (int k = 0; k < 2; ++k) {
        Canvas f(16, 16);
        for (int i = 0; i < 8; ++i) {
            double a = i * kPi / 4;
            f.Line(8, 8, static_cast<int>(8 + std::cos(a) * 7),
                   static_cast<int>(8 + std::sin(a) * 7), 0x8C8C9C);
        }
        f.Circle(8, 8, 4.5, 0x703040);
        f.Circle(8, 8, 2, k ? 0xFFF060 : 0xFF3030);
        f.Outline(kOutline);
        c.Blit(f, k * 16, 0);
    }
    return c;
}

Canvas Boss(bool damaged) {
    Canvas c(128, 96);
    Color hull = damaged ? 0x9C4C48 : 0x5468A0, light = damaged ? 0xD08070 : 0x8CA0D8,
          dark = damaged ? 0x5C2428 : 0x2C3868, core = damaged ? 0xFF8020 : 0xF050E0;
    c.MirroredPolygon({{64, 4}, {44, 8}, {24, 26}, {2, 44}, {6, 64}, {30, 74}, {44, 90}, {64, 94}},
                      64, hull);
    c.MirroredPolygon(
        {{64, 10}, {48, 14}, {32, 30}, {16, 46}, {20, 58}, {40, 66}, {50, 82}, {64, 86}}, 64,
        light);
    c.MirroredPolygon({{2, 44}, {0, 60}, {8, 72}, {14, 58}}, 64, dark);
    c.MirroredPolygon({{22, 60}, {30, 60}, {30, 80}, {22, 80}}, 64, dark);  // cannons
    c.MirroredPolygon({{42, 70}, {48, 70}, {48, 94}, {42, 94}}, 64, dark);
    ShadeRightHalf(c);
    for (int y = 20; y < 86; y += 11) c.Line(50, y, 78, y, Shade(light, 0.8));  // panel seams
    c.Circle(64, 50, 15, dark);
    c.Circle(64, 50, 12, core);
    c.Glow(64, 50, 12, 0xFFFFFF, 0.8);
    c.Circle(60, 46, 3, 0xFFFFFF);
    if (damaged) {  // cracks and scorch marks
        Random rnd(5);
        for (int i = 0; i < 9; ++i) {
            int x = 20 + rnd.Below(88), y = 16 + rnd.Below(66);
            if (!c.Get(x, y)) continue;
            c.Line(x, y, x + rnd.Below(13) - 6, y + rnd.Below(9) - 4, 0x2C1010);
            c.Circle(x, y, 1.5, 0x3A1C18);
        }
    }
    c.Outline(kOutline);
    return c;
}

Canvas Interceptor() {
    Canvas c(24, 24);
    c.MirroredPolygon({{12, 23}, {10, 12}, {3, 3}, {6, 1}, {12, 5}}, 12, 0x48B468);
    c.MirroredPolygon({{12, 20}, {11, 10}, {12, 7}}, 12, 0xB8F0C0);
    c.MirroredPolygon({{3, 3}, {1, 9}, {4, 8}}, 12, 0x2C7840);
    ShadeRightHalf(c);
    c.Circle(12, 14, 1.8, 0xFF4060);
    c.Outline(kOutline);
    return c;
}

Canvas Zigzag() {
    Canvas c(20, 20);
    c.Polygon({{10, 1}, {19, 10}, {10, 19}, {1, 10}}, 0xE08828);
    c.Polygon({{10, 4}, {16, 10}, {10, 16}, {4, 10}}, 0xFFC060);
    c.Circle(10, 10, 3, 0x402010);
    c.Circle(10, 11, 1.5, 0xFFFFFF);
    c.Outline(kOutline);
    return c;
}

Canvas Phantom() {
    Canvas c(28, 28);
    c.Circle(14, 14, 13, 0x6030A0);
    c.Circle(14, 14, 10, kClear);
    c.Circle(14, 14, 8, 0x9058D8);
    c.Circle(14, 14, 5, 0xE0C8FF);
    c.Circle(14, 15, 2.5, 0x301050);
    for (int i = 0; i < 4; ++i) {
        double a = i * kPi / 2 + kPi / 4;
        c.Circle(14 + std::cos(a) * 11.5, 14 + std::sin(a) * 11.5, 2.5, 0xC8A0FF);
    }
    c.Outline(kOutline);
    return c;
}

// Armour that stops shots (the blocked sound plays) and has to be flown round.
Canvas Barrier() {
    Canvas c(32, 32);
    c.Polygon({{9, 1}, {23, 1}, {31, 9}, {31, 23}, {23, 31}, {9, 31}, {1, 23}, {1, 9}}, 0x707888);
    c.Polygon({{10, 4}, {22, 4}, {28, 10}, {28, 22}, {22, 28}, {10, 28}, {4, 22}, {4, 10}},
              0xA8B0C0);
    c.Rect(8, 14, 16, 4, 0x4890E0);
    c.Rect(14, 8, 4, 16, 0x4890E0);
    for (Point p : {Point{8, 8}, Point{24, 8}, Point{8, 24}, Point{24, 24}})
        c.Circle(p.x, p.y, 1.5, 0x505868);
    c.Outline(kOutline);
    return c;
}

// 0 score gem, 1 power, 2 extra life, 3 bomb.
Canvas ItemPicture(int attribute) {
    Canvas c(16, 16);
    switch (attribute) {
        case 0:
            c.Polygon({{8, 0}, {15, 6}, {8, 15}, {1, 6}}, 0x3070E0);
            c.Polygon({{8, 1}, {12, 6}, {8, 6}, {4, 6}}, 0x90C8FF);
            c.Polygon({{4, 6}, {12, 6}, {8, 14}}, 0x4890F8);
            c.Set(6, 4, 0xFFFFFF);
            break;
        case 1:
            c.Rect(1, 2, 14, 12, 0xD83838);
            c.Rect(2, 3, 12, 4, 0xF07070);
            c.Text(6, 4, "P", 1, 0xFFFFFF);
            break;
        case 2:
            c.Circle(5, 6, 4, 0xF05890);
            c.Circle(11, 6, 4, 0xF05890);
            c.Polygon({{1.2, 7.5}, {14.8, 7.5}, {8, 15}}, 0xF05890);
            c.Circle(4.5, 5, 1.5, 0xFFD0E0);
            break;
        default:
            c.Circle(8, 9, 6.5, 0xE0B020);
            c.Circle(8, 9, 5, 0xF8D850);
            c.Rect(10, 1, 2, 3, 0x806040);
            c.Text(6, 6, "B", 1, 0x503000);
            break;
    }
    c.Outline(kOutline);
    return c;
}

}  // namespace demo
