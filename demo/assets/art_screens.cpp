// Full-screen pictures, the scrolling backgrounds, the score panel and the menu frame.
#include <cmath>

#include "art.h"

namespace demo {

namespace {

constexpr double kPi = 3.14159265358979;

// Value noise on a lattice of nx x ny cells that wraps at both edges, so that the picture
// it shades tiles seamlessly.
class WrappingNoise {
public:
    WrappingNoise(int nx, int ny, uint32_t seed) : nx_(nx), ny_(ny), values_(nx * ny) {
        Random rnd(seed);
        for (double& v : values_) v = rnd.Unit();
    }
    // u in [0, nx), v in [0, ny).
    double At(double u, double v) const {
        int i = static_cast<int>(std::floor(u)), j = static_cast<int>(std::floor(v));
        double fu = Smooth(u - i), fv = Smooth(v - j);
        auto at = [&](int a, int b) {
            return values_[((b % ny_ + ny_) % ny_) * nx_ + ((a % nx_ + nx_) % nx_)];
        };
        double top = at(i, j) * (1 - fu) + at(i + 1, j) * fu;
        double bottom = at(i, j + 1) * (1 - fu) + at(i + 1, j + 1) * fu;
        return top * (1 - fv) + bottom * fv;
    }

private:
    static double Smooth(double t) { return t * t * (3 - 2 * t); }
    int nx_, ny_;
    std::vector<double> values_;
};

// Fractal noise of three octaves, 0..1, wrapping over the picture.
double Clouds(const std::vector<WrappingNoise>& octaves, int x, int y, int w, int h) {
    double sum = 0, weight = 0, amp = 1;
    int cells = 3;
    for (const WrappingNoise& n : octaves) {
        sum += amp * n.At(double(x) / w * cells, double(y) / h * cells * 2);
        weight += amp;
        amp *= 0.5;
        cells *= 2;
    }
    return sum / weight;
}

void Star(Canvas& c, int x, int y, Color color, bool sparkle) {
    int h = c.height();
    auto set = [&](int dx, int dy, double a) { c.Add(x + dx, ((y + dy) % h + h) % h, color, a); };
    set(0, 0, 1.0);
    if (!sparkle) return;
    for (int d = 1; d <= 3; ++d) {
        double a = 0.7 / d;
        set(d, 0, a), set(-d, 0, a), set(0, d, a), set(0, -d, a);
    }
}

}  // namespace

Canvas Starfield(int width, int height, uint32_t seed, Color base, Color nebulaA, Color nebulaB) {
    Canvas c(width, height);
    std::vector<WrappingNoise> a, b;
    for (int k = 0, cells = 3; k < 3; ++k, cells *= 2) {
        a.emplace_back(cells, cells * 2, seed + k);
        b.emplace_back(cells, cells * 2, seed + 100 + k);
    }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            double n1 = Clouds(a, x, y, width, height), n2 = Clouds(b, x, y, width, height);
            double t1 = std::max(0.0, n1 - 0.45) * 1.8, t2 = std::max(0.0, n2 - 0.5) * 1.6;
            Color col = Mix(base, nebulaA, std::min(1.0, t1 * t1 * 2.5));
            col = Mix(col, nebulaB, std::min(0.8, t2 * t2 * 2.5));
            c.Set(x, y, col);
        }
    Random rnd(seed * 7 + 3);
    int stars = width * height / 260;
    for (int i = 0; i < stars; ++i) {
        int x = rnd.Below(width), y = rnd.Below(height);
        double bright = 0.25 + 0.75 * rnd.Unit() * rnd.Unit();
        Color tint = rnd.Below(4) == 0 ? 0xFFD8A0 : (rnd.Below(3) == 0 ? 0xA0C0FF : 0xFFFFFF);
        Star(c, x, y, Shade(tint, bright), rnd.Below(40) == 0);
    }
    return c;
}

Canvas TitleScreen() {
    Canvas c = Starfield(640, 480, 11, 0x070818, 0x302060, 0x103858);
    // A planet rising at the bottom, lit from the upper left, with a thin atmosphere.
    double cx = 250, cy = 900, r = 560;
    for (int y = 300; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            if (d > r + 14) continue;
            if (d > r) {
                c.Add(x, y, 0x3080FF, 0.5 * (1 - (d - r) / 14));
                continue;
            }
            double edge = (r - d) / 160;  // 0 at the rim
            double band = 0.5 + 0.5 * std::sin(y * 0.09 + std::sin(x * 0.01) * 3);
            Color ground = Mix(0x143860, 0x2E6890, band * 0.6);
            ground = Mix(ground, 0x70C0F0, std::max(0.0, 0.6 - edge * 2));
            c.Set(x, y, Shade(ground, 0.55 + 0.45 * (x < 400 ? 1 : 1 - (x - 400) / 400.0)));
        }
    c.FancyText(131, 56, "ORVAN", 13, 0xFFD060, 0xE04020, 0x1A0C30);
    std::string sub = "DEMO STAGE";
    c.Text(320 - Canvas::TextWidth(sub, 3) / 2 + 1, 170 + 1, sub, 3, 0x101028);
    c.Text(320 - Canvas::TextWidth(sub, 3) / 2, 170, sub, 3, 0xA8D0FF);
    // The ship, three times its size, climbing past.
    Canvas ship(32, 32);
    DrawShip(ship, 0, 0, 1, 1);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (ship.Get(x, y)) c.Rect(470 + x * 3, 220 + y * 3, 3, 3, ship.Get(x, y));
    c.Glow(470 + 48, 220 + 96, 26, 0xFF8020, 0.6);
    std::string help = "ARROWS MOVE   X SHOOT   Z BOMB";
    c.Text(320 - Canvas::TextWidth(help, 1) / 2, 466, help, 1, 0x8090B0);
    return c;
}

Canvas GameOverScreen() {
    Canvas c = Starfield(640, 480, 23, 0x120408, 0x501018, 0x402008);
    for (int y = 0; y < 480; ++y)  // darken towards the bottom
        for (int x = 0; x < 640; ++x) c.Set(x, y, Shade(c.Get(x, y), 1.0 - y / 960.0));
    std::string title = "GAME OVER";
    c.FancyText(320 - Canvas::TextWidth(title, 9) / 2, 150, title, 9, 0xFFB0A0, 0xB02020, 0x200408);
    std::string sub = "THE STARS FALL SILENT";
    c.Text(320 - Canvas::TextWidth(sub, 2) / 2, 250, sub, 2, 0xC08890);
    return c;
}

Canvas ScorePanel() {
    Canvas c(224, 480);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 224; ++x) {
            double stripe = (x + y) % 8 < 4 ? 1.0 : 0.94;
            c.Set(x, y, Shade(Mix(0x202648, 0x10122A, y / 480.0), stripe));
        }
    c.Rect(0, 0, 3, 480, 0x5868A8);  // bevel against the play field
    c.Rect(3, 0, 1, 480, 0x0C0E20);
    // Boxes behind the numbers the game draws; labels above or beside them.
    auto box = [&](int x, int y, int w, int h) {
        c.Rect(x - 1, y - 1, w + 2, h + 2, 0x6070B0);
        c.Rect(x, y, w, h, 0x080A18);
        c.Rect(x, y, w, 1, 0x181C38);
    };
    auto label = [&](int x, int y, const std::string& text) {
        c.Text(x + 1, y + 1, text, 2, 0x080A18);
        c.Text(x, y, text, 2, 0xD8E0FF);
    };
    label(90, 18, "HI-SCORE");
    box(84, 36, 132, 32);
    label(90, 73, "SCORE");
    box(84, 91, 132, 32);
    label(90, 150, "BOMBS");
    box(174, 141, 44, 32);
    label(90, 200, "LIVES");
    box(174, 191, 44, 32);
    // The ship and a bomb beside their counts.
    Canvas ship(32, 32);
    DrawShip(ship, 0, 0, 0, 0);
    c.Blit(ship, 40, 192);
    Canvas bomb = ItemPicture(3);
    c.Blit(bomb, 56, 148);
    c.FancyText(112 - Canvas::TextWidth("ORVAN", 4) / 2, 400, "ORVAN", 4, 0xFFD060, 0xE04020,
                0x080A18);
    c.Text(112 - Canvas::TextWidth("DEMO STAGE", 1) / 2, 440, "DEMO STAGE", 1, 0x8090C0);
    return c;
}

// 3 x 3 cells of 10 x 13: corners, edges and the centre of the menu window.
Canvas MenuFrame() {
    Canvas c(30, 39);
    c.Rect(0, 0, 30, 39, 0x182050);
    c.Rect(0, 0, 30, 2, 0xA8B8F0);
    c.Rect(0, 37, 30, 2, 0x5060A0);
    c.Rect(0, 0, 2, 39, 0xA8B8F0);
    c.Rect(28, 0, 2, 39, 0x5060A0);
    c.Rect(2, 2, 26, 1, 0x30408A);
    // Rounded corners.
    for (auto [x, y] : {std::pair{0, 0}, {29, 0}, {0, 38}, {29, 38}}) c.Set(x, y, kClear);
    return c;
}

std::vector<Picture> DrawAllPictures() {
    std::vector<Picture> p;
    auto add = [&](const char* file, Canvas c) { p.push_back({file, std::move(c)}); };
    add("title.png", TitleScreen());
    add("panel.png", ScorePanel());
    add("ship_left.png", ShipStrip(-1));
    add("ship.png", ShipStrip(0));
    add("ship_right.png", ShipStrip(1));
    add("explosion.png", Explosion());
    add("bomb.png", Bomb());
    add("gameover.png", GameOverScreen());
    add("space.png", Starfield(416, 960, 5, 0x060818, 0x1C2458, 0x2C1440));
    add("space_red.png", Starfield(416, 960, 9, 0x100608, 0x5C1420, 0x603010));
    add("dart.png", Dart());
    add("saucer.png", SaucerStrip());
    add("gunship.png", Gunship());
    add("carrier.png", Carrier());
    add("mine.png", MineStrip());
    add("boss.png", Boss(false));
    add("boss_damaged.png", Boss(true));
    add("interceptor.png", Interceptor());
    add("zigzag.png", Zigzag());
    add("phantom.png", Phantom());
    add("shot.png", PlayerShot());
    add("bullet_small.png", RoundBullet(8, 0xE040C0, 0xFFE0FF));
    add("bullet_big.png", RoundBullet(14, 0xFF7020, 0xFFF0C0));
    add("needle.png", Needle());
    add("barrier.png", Barrier());
    add("item_score.png", ItemPicture(0));
    add("item_power.png", ItemPicture(1));
    add("item_life.png", ItemPicture(2));
    add("item_bomb.png", ItemPicture(3));
    add("Frame.png", MenuFrame());
    return p;
}

}  // namespace demo
