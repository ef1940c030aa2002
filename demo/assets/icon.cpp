// The program's icon, drawn from the demo's art: the ship climbing over a disc of the
// title's night sky. It is drawn once at 32 x 32 and resampled by area for each size, so
// that whole multiples stay crisp pixel art and 48 x 48 stays even.
#include "icon.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdio>

#include "art.h"

namespace demo {
namespace {

constexpr int kBase = 32;

struct Rgba {
    double r = 0, g = 0, b = 0, a = 0;  // colour premultiplied by coverage
};

std::vector<Rgba> BaseIcon() {
    Canvas sky = Starfield(kBase, kBase, 11, 0x070818, 0x302060, 0x103858);
    Canvas ship(kBase, kBase);
    DrawShip(ship, 0, 0, 0, 1);
    std::vector<Rgba> out(kBase * kBase);
    for (int y = 0; y < kBase; ++y)
        for (int x = 0; x < kBase; ++x) {
            Color c = ship.Get(x, y);
            double inside = std::hypot(x + 0.5 - 16, y + 0.5 - 16) < 15.5 ? 1 : 0;
            if (c == kClear) c = inside ? sky.Get(x, y) : kClear;
            double a = c == kClear ? 0 : 1;
            out[y * kBase + x] = {(c >> 16 & 0xFF) * a, (c >> 8 & 0xFF) * a, (c & 0xFF) * a, a};
        }
    return out;
}

}  // namespace

bool WriteIcons(const std::string& folder, const std::vector<int>& sizes) {
    const std::vector<Rgba> base = BaseIcon();
    for (int size : sizes) {
        // Each output pixel averages the base pixels under it, sampled on a size x size grid.
        std::vector<uint8_t> rgba(size_t(size) * size * 4);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                Rgba sum;
                for (int j = 0; j < kBase; ++j)
                    for (int i = 0; i < kBase; ++i) {
                        const Rgba& p =
                            base[((y * kBase + j) / size) * kBase + (x * kBase + i) / size];
                        sum.r += p.r, sum.g += p.g, sum.b += p.b, sum.a += p.a;
                    }
                uint8_t* out = &rgba[(size_t(y) * size + x) * 4];
                const double a = sum.a / (kBase * kBase);
                for (int k = 0; k < 3; ++k)
                    out[k] = a > 0 ? uint8_t(std::lround((&sum.r)[k] / sum.a)) : 0;
                out[3] = uint8_t(std::lround(a * 255));
            }
        const std::string dir = folder + "/" + std::to_string(size) + "x" + std::to_string(size);
        ::mkdir(dir.c_str(), 0777);
        ::mkdir((dir + "/apps").c_str(), 0777);
        if (!WritePngFile(dir + "/apps/orvan.png", size, size, true, rgba)) return false;
    }
    return true;
}

}  // namespace demo
