// The software rasterizer. Each draw picks one pixel operation for the whole draw (copy,
// colour key, constant or per-pixel alpha, with or without brightness) and runs a loop
// specialised for it, so the inner loops carry no mode tests.
#include "media/raster.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "media/raster_avx2.h"

namespace media {
namespace {

// Blends the colour of s over d with opacity a (0..255), exactly rounded per channel.
// Two channels travel in one word: red and blue 16 bits apart, green alone.
inline uint32_t Blend(uint32_t s, uint32_t d, uint32_t a) {
    const uint32_t na = 255 - a;
    uint32_t rb = (s & 0xFF00FFu) * a + (d & 0xFF00FFu) * na + 0x800080u;
    rb = ((rb + ((rb >> 8) & 0xFF00FFu)) >> 8) & 0xFF00FFu;
    uint32_t g = (s & 0xFF00u) * a + (d & 0xFF00u) * na + 0x8000u;
    g = ((g + ((g >> 8) & 0xFF00u)) >> 8) & 0xFF00u;
    return rb | g;
}

struct BrightTables {
    int r = -1, g = -1, b = -1;
    uint8_t tr[256], tg[256], tb[256];
};

// One set of tables serves every draw until the brightness changes (fades change it once
// a frame). The media lock serialises all drawing, so one static copy is enough.
const BrightTables& TablesFor(const PixelMode& mode) {
    static BrightTables t;
    if (t.r != mode.brightR || t.g != mode.brightG || t.b != mode.brightB) {
        t.r = mode.brightR;
        t.g = mode.brightG;
        t.b = mode.brightB;
        for (uint32_t c = 0; c < 256; ++c) {
            t.tr[c] = static_cast<uint8_t>(MulDiv255(c, t.r));
            t.tg[c] = static_cast<uint8_t>(MulDiv255(c, t.g));
            t.tb[c] = static_cast<uint8_t>(MulDiv255(c, t.b));
        }
    }
    return t;
}

// ---- Pixel operations: d is the destination word, s the source ARGB word.

// Each operation also names its eight-pixel counterpart (kSimd), when it has one.

struct OpCopy {
    static constexpr bool kSimd = true;
    SpanOp Kind() const { return SpanOp::kCopy; }
    uint32_t Opacity() const { return 255; }
    void operator()(uint32_t& d, uint32_t s) const { d = s & 0xFFFFFFu; }
};

struct OpKey {
    static constexpr bool kSimd = true;
    SpanOp Kind() const { return SpanOp::kKey; }
    uint32_t Opacity() const { return 255; }
    void operator()(uint32_t& d, uint32_t s) const { d = (s >> 24) ? (s & 0xFFFFFFu) : d; }
};

template <bool kKeyed>
struct OpConstAlpha {
    uint32_t alpha;
    static constexpr bool kSimd = true;
    SpanOp Kind() const { return kKeyed ? SpanOp::kBlendKeyed : SpanOp::kBlend; }
    uint32_t Opacity() const { return alpha; }
    void operator()(uint32_t& d, uint32_t s) const {
        if (kKeyed && !(s >> 24)) return;
        d = Blend(s, d, alpha);
    }
};

// Translucent pictures drawn with transparency: the pixel's alpha times the draw's own.
template <bool kWithDrawAlpha>
struct OpPixelAlpha {
    uint32_t alpha;
    static constexpr bool kSimd = true;
    SpanOp Kind() const { return SpanOp::kPixelAlpha; }
    uint32_t Opacity() const { return kWithDrawAlpha ? alpha : 255; }
    void operator()(uint32_t& d, uint32_t s) const {
        uint32_t a = s >> 24;
        if (kWithDrawAlpha) a = MulDiv255(a, alpha);
        if (a == 255) {
            d = s & 0xFFFFFFu;
        } else if (a) {
            d = Blend(s, d, a);
        }
    }
};

template <class Inner>
struct OpBright {
    Inner inner;
    const BrightTables* t;
    static constexpr bool kSimd = false;
    SpanOp Kind() const { return SpanOp::kCopy; }
    uint32_t Opacity() const { return 255; }
    void operator()(uint32_t& d, uint32_t s) const {
        s = (s & 0xFF000000u) | (uint32_t(t->tr[(s >> 16) & 0xFF]) << 16) |
            (uint32_t(t->tg[(s >> 8) & 0xFF]) << 8) | t->tb[s & 0xFF];
        inner(d, s);
    }
};

template <class Run>
void WithBlendOp(int alpha, bool keyed, bool perPixel, Run&& run) {
    const uint32_t a = static_cast<uint32_t>(alpha);
    if (perPixel) {
        if (a == 255)
            run(OpPixelAlpha<false>{a});
        else
            run(OpPixelAlpha<true>{a});
    } else if (a < 255) {
        if (keyed)
            run(OpConstAlpha<true>{a});
        else
            run(OpConstAlpha<false>{a});
    } else if (keyed) {
        run(OpKey{});
    } else {
        run(OpCopy{});
    }
}

// Calls run(op) with the one operation this draw needs. Nothing at all for alpha 0.
template <class Run>
void WithPixelOp(const PixelMode& mode, ImageCoverage coverage, Run&& run) {
    if (mode.alpha <= 0) return;
    const int alpha = std::min(mode.alpha, 255);
    const bool keyed = mode.transparent && coverage != ImageCoverage::kOpaque;
    const bool perPixel = mode.transparent && coverage == ImageCoverage::kTranslucent;
    if (mode.FullBright()) {
        WithBlendOp(alpha, keyed, perPixel, run);
    } else {
        const BrightTables* t = &TablesFor(mode);
        WithBlendOp(alpha, keyed, perPixel, [&](auto op) { run(OpBright<decltype(op)>{op, t}); });
    }
}

// Along one destination row, the fixed-point position p(i) = p0 + i * dp of one picture
// axis lies in [0, pMax] for i between two bounds that move linearly from row to row. They
// are kept in floating point (a few additions a row, no division) and only estimate the
// span: the caller settles it exactly.
class AxisSpan {
public:
    AxisSpan(int64_t p0, int64_t dpX, int64_t dpY, int64_t pMax, int n)
        : n_(n), flat_(dpX == 0), p_(p0), dpY_(dpY), pMax_(pMax) {
        if (flat_) return;
        const double inv = 1.0 / double(dpX);
        a_ = double(-p0) * inv;
        b_ = double(pMax - p0) * inv;
        step_ = -double(dpY) * inv;
        if (a_ > b_) std::swap(a_, b_);
    }
    void NextRow() {
        if (flat_) {
            p_ += dpY_;
        } else {
            a_ += step_;
            b_ += step_;
        }
    }
    // First and last column, or an empty pair.
    int First() const {
        if (flat_) return (p_ >= 0 && p_ <= pMax_) ? 0 : n_;
        return Ceil(a_);
    }
    int Last() const {
        if (flat_) return (p_ >= 0 && p_ <= pMax_) ? n_ - 1 : -1;
        return Floor(b_);
    }

private:
    // Rounding of values already limited to [-1, n + 1], without a library call.
    int Ceil(double x) const {
        x = std::min(std::max(x, -1.0), double(n_ + 1));
        int t = static_cast<int>(x);
        return t < x ? t + 1 : t;
    }
    int Floor(double x) const {
        x = std::min(std::max(x, -1.0), double(n_ + 1));
        int t = static_cast<int>(x);
        return t > x ? t - 1 : t;
    }
    int n_;
    bool flat_;
    int64_t p_, dpY_, pMax_;
    double a_ = 0, b_ = 0, step_ = 0;
};

int ClampToInt(int64_t v) {
    return static_cast<int>(std::max<int64_t>(INT32_MIN, std::min<int64_t>(INT32_MAX, v)));
}

}  // namespace

ClipRect SurfaceRect(const Surface& s) {
    return ClipRect{0, 0, s.width, s.height};
}

ClipRect Intersect(const ClipRect& a, const ClipRect& b) {
    return ClipRect{std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1),
                    std::min(a.y1, b.y1)};
}

uint32_t ApplyBrightness(uint32_t pixel, const PixelMode& mode) {
    if (mode.FullBright()) return pixel;
    return (pixel & 0xFF000000u) | (MulDiv255((pixel >> 16) & 0xFF, mode.brightR) << 16) |
           (MulDiv255((pixel >> 8) & 0xFF, mode.brightG) << 8) |
           MulDiv255(pixel & 0xFF, mode.brightB);
}

void BlitImage(const Surface& dst, const ClipRect& clip, const Image& image, int srcX, int srcY,
               int w, int h, int dstX, int dstY, bool mirrored, const PixelMode& mode) {
    if (w <= 0 || h <= 0 || image.width <= 0 || image.height <= 0) return;
    const ClipRect c = Intersect(clip, SurfaceRect(dst));
    if (c.Empty()) return;
    // Destination columns whose source column lies inside the picture and the rectangle.
    const int64_t left = dstX, top = dstY;
    int64_t x0 = std::max<int64_t>(left, c.x0), x1 = std::min<int64_t>(left + w, c.x1);
    if (!mirrored) {
        // sx = srcX + (x - left)
        x0 = std::max<int64_t>(x0, left - srcX);
        x1 = std::min<int64_t>(x1, left - srcX + image.width);
    } else {
        // sx = srcX + w - 1 - (x - left)
        x0 = std::max<int64_t>(x0, left + srcX + w - image.width);
        x1 = std::min<int64_t>(x1, left + srcX + w);
    }
    int64_t y0 = std::max<int64_t>({top, c.y0, top - srcY});
    int64_t y1 = std::min<int64_t>({top + h, c.y1, top - srcY + image.height});
    if (x0 >= x1 || y0 >= y1) return;

    const int n = static_cast<int>(x1 - x0);
    const int64_t firstSx = mirrored ? srcX + w - 1 - (x0 - left) : srcX + (x0 - left);
    const bool simd = Avx2Enabled();
    const uint32_t* limit = dst.pixels + int64_t(dst.height) * dst.pitch;
    WithPixelOp(mode, image.coverage, [&](auto op) {
        for (int64_t y = y0; y < y1; ++y) {
            const uint32_t* s =
                image.pixels.data() + (srcY + (y - top)) * int64_t(image.width) + firstSx;
            uint32_t* d = dst.pixels + y * int64_t(dst.pitch) + x0;
            if constexpr (decltype(op)::kSimd) {
                if (simd) {
                    RowSpanAvx2(op.Kind(), op.Opacity(), SpanTarget{d, limit}, n, s, mirrored);
                    continue;
                }
            }
            if (!mirrored) {
                for (int i = 0; i < n; ++i) op(d[i], s[i]);
            } else {
                for (int i = 0; i < n; ++i) op(d[i], s[-i]);
            }
        }
    });
}

void BlitImageTransformed(const Surface& dst, const ClipRect& clip, const Image& image, int cx,
                          int cy, double scale, double angle, bool mirrored,
                          const PixelMode& mode) {
    const int w = image.width, h = image.height;
    if (w <= 0 || h <= 0) return;
    if (!std::isfinite(scale) || !std::isfinite(angle) || std::fabs(scale) < 1e-6) return;
    if (scale == 1.0 && angle == 0.0) {
        // The same pixels as a plain blit at the top-left corner, without the stepping. The
        // corner is found in 64 bits: a centre at the end of int's range is off the screen,
        // and must stay there rather than wrap round.
        auto corner = [](int centre, int half) {
            return static_cast<int>(std::clamp<int64_t>(int64_t{centre} - half, INT_MIN, INT_MAX));
        };
        BlitImage(dst, clip, image, 0, 0, w, h, corner(cx, w / 2), corner(cy, h / 2), mirrored,
                  mode);
        return;
    }
    const ClipRect c = Intersect(clip, SurfaceRect(dst));
    if (c.Empty()) return;

    const double cs = std::cos(angle), sn = std::sin(angle);
    const int hw = w / 2, hh = h / 2;
    // Bounding box of the turned corners, then clipped.
    double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
    const double xs[2] = {double(-hw), double(w - hw)}, ys[2] = {double(-hh), double(h - hh)};
    for (double lx : xs) {
        for (double ly : ys) {
            const double X = scale * (lx * cs - ly * sn), Y = scale * (lx * sn + ly * cs);
            minX = std::min(minX, X);
            maxX = std::max(maxX, X);
            minY = std::min(minY, Y);
            maxY = std::max(maxY, Y);
        }
    }
    auto within = [](double v, int lo, int hi) {
        return static_cast<int>(std::min<double>(hi, std::max<double>(lo, v)));
    };
    // Both loops below draw only inside this box, so a pixel whose centre the rounded
    // fixed-point positions place a hair past the exact outline is left out by both.
    const int bx0 = within(std::floor(cx + minX), c.x0, c.x1);
    const int bx1 = within(std::ceil(cx + maxX), c.x0, c.x1);
    const int by0 = within(std::floor(cy + minY), c.y0, c.y1);
    const int by1 = within(std::ceil(cy + maxY), c.y0, c.y1);
    if (bx0 >= bx1 || by0 >= by1) return;

    // Inverse mapping in 16.16 fixed point: the picture position sampled by the centre of
    // destination pixel (bx0, by0), and its steps along a destination row and column.
    constexpr double kOne = 65536.0;
    const double X0 = bx0 + 0.5 - cx, Y0 = by0 + 0.5 - cy;
    int64_t u = std::llround(((X0 * cs + Y0 * sn) / scale + hw) * kOne);
    int64_t v = std::llround(((-X0 * sn + Y0 * cs) / scale + hh) * kOne);
    int64_t duX = std::llround(cs / scale * kOne), dvX = std::llround(-sn / scale * kOne);
    int64_t duY = std::llround(sn / scale * kOne), dvY = std::llround(cs / scale * kOne);
    const int64_t uMax = (int64_t(w) << 16) - 1, vMax = (int64_t(h) << 16) - 1;
    if (mirrored) {
        // Column sx shows at w - 1 - sx: reflect the fixed-point position inside [0, uMax].
        u = uMax - u;
        duX = -duX;
        duY = -duY;
    }
    const int n = bx1 - bx0;
    const uint32_t* src = image.pixels.data();
    const bool simd = Avx2Enabled() && w <= kMaxSampledSide && h <= kMaxSampledSide &&
                      std::abs(duX) < kMaxSampledStep && std::abs(dvX) < kMaxSampledStep &&
                      std::abs(duY) < kMaxSampledStep && std::abs(dvY) < kMaxSampledStep;

    WithPixelOp(mode, image.coverage, [&](auto op) {
        if constexpr (decltype(op)::kSimd) {
            if (simd) {
                // The eight-pixel loop tests every position itself and walks the whole box.
                const SampledBlock block{by1 - by0, n,   dst.pitch, src, w,    u,   v,
                                         duX,       dvX, duY,       dvY, uMax, vMax};
                const uint32_t* limit = dst.pixels + int64_t(dst.height) * dst.pitch;
                SampledBlockAvx2(op.Kind(), op.Opacity(),
                                 SpanTarget{dst.pixels + int64_t(by0) * dst.pitch + bx0, limit},
                                 block);
                return;
            }
        }
        AxisSpan spanU(u, duX, duY, uMax, n), spanV(v, dvX, dvY, vMax, n);
        int64_t ur = u, vr = v;
        for (int y = by0; y < by1; ++y, ur += duY, vr += dvY, spanU.NextRow(), spanV.NextRow()) {
            // The columns of this row that sample inside the picture: an interval, estimated
            // in floating point and then settled exactly on the fixed-point positions.
            int i0 = std::max({spanU.First(), spanV.First(), 0});
            int i1 = std::min({spanU.Last(), spanV.Last(), n - 1});
            if (i0 > i1) continue;
            auto inside = [&](int i) {
                const uint64_t uu = uint64_t(ur + i * duX), vv = uint64_t(vr + i * dvX);
                return uu <= uint64_t(uMax) && vv <= uint64_t(vMax);
            };
            while (i0 > 0 && inside(i0 - 1)) --i0;
            while (i0 <= i1 && !inside(i0)) ++i0;
            while (i1 < n - 1 && inside(i1 + 1)) ++i1;
            while (i1 >= i0 && !inside(i1)) --i1;
            if (i0 > i1) continue;

            uint32_t* d = dst.pixels + int64_t(y) * dst.pitch + bx0;
            int64_t uu = ur + i0 * duX, vv = vr + i0 * dvX;
            if (dvX == 0) {
                // No turn within a row (angle 0 or 180 degrees): one source row per row.
                const uint32_t* s = src + (vv >> 16) * w;
                for (int i = i0; i <= i1; ++i, uu += duX) op(d[i], s[uu >> 16]);
            } else {
                for (int i = i0; i <= i1; ++i, uu += duX, vv += dvX)
                    op(d[i], src[(vv >> 16) * w + (uu >> 16)]);
            }
        }
    });
}

void FillRect(const Surface& dst, const ClipRect& clip, int x0, int y0, int x1, int y1,
              uint32_t colour, const PixelMode& mode) {
    const ClipRect c = Intersect(Intersect(clip, SurfaceRect(dst)), ClipRect{x0, y0, x1, y1});
    if (c.Empty() || mode.alpha <= 0) return;
    const uint32_t col = ApplyBrightness(colour & 0xFFFFFFu, mode);
    const uint32_t a = static_cast<uint32_t>(std::min(mode.alpha, 255));
    const bool simd = Avx2Enabled();
    const uint32_t* limit = dst.pixels + int64_t(dst.height) * dst.pitch;
    for (int y = c.y0; y < c.y1; ++y) {
        uint32_t* d = dst.pixels + int64_t(y) * dst.pitch;
        if (simd) {
            FillSpanAvx2(col, a, SpanTarget{d + c.x0, limit}, c.x1 - c.x0);
        } else if (a == 255) {
            std::fill(d + c.x0, d + c.x1, col);
        } else {
            for (int x = c.x0; x < c.x1; ++x) d[x] = Blend(col, d[x], a);
        }
    }
}

void BlitCoverage(const Surface& dst, const ClipRect& clip, const uint8_t* coverage, int pitch,
                  int w, int h, int dstX, int dstY, uint32_t colour, const PixelMode& mode) {
    if (mode.alpha <= 0) return;
    const ClipRect c = Intersect(
        Intersect(clip, SurfaceRect(dst)),
        ClipRect{dstX, dstY, ClampToInt(int64_t(dstX) + w), ClampToInt(int64_t(dstY) + h)});
    if (c.Empty()) return;
    const uint32_t col = ApplyBrightness(colour & 0xFFFFFFu, mode);
    const uint32_t alpha = static_cast<uint32_t>(std::min(mode.alpha, 255));
    for (int y = c.y0; y < c.y1; ++y) {
        const uint8_t* m = coverage + int64_t(y - dstY) * pitch - dstX;
        uint32_t* d = dst.pixels + int64_t(y) * dst.pitch;
        for (int x = c.x0; x < c.x1; ++x) {
            uint32_t a = m[x];
            if (alpha != 255) a = MulDiv255(a, alpha);
            if (a == 255)
                d[x] = col;
            else if (a)
                d[x] = Blend(col, d[x], a);
        }
    }
}

}  // namespace media
