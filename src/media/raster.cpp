// The software rasterizer. Each draw picks one pixel operation for the whole draw (copy,
// colour key, constant or per-pixel alpha, with or without brightness) and runs a loop
// specialised for it, so the inner loops carry no mode tests. Turned and scaled pictures
// are walked row by row over exactly the columns that sample inside the picture (inside its
// visible part, when drawn with transparency), not over their bounding box.
#include "media/raster.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

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

// One set of tables serves every draw of a thread until the brightness changes (fades
// change it once a frame).
const BrightTables& TablesFor(const PixelMode& mode) {
    thread_local BrightTables t;
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

// ---- Pixel operations of the portable loops: d is the destination word, s the source
// ARGB word.

struct OpCopy {
    void operator()(uint32_t& d, uint32_t s) const { d = s & 0xFFFFFFu; }
};

struct OpKey {
    void operator()(uint32_t& d, uint32_t s) const { d = (s >> 24) ? (s & 0xFFFFFFu) : d; }
};

template <bool kKeyed>
struct OpConstAlpha {
    uint32_t alpha;
    void operator()(uint32_t& d, uint32_t s) const {
        if (kKeyed && !(s >> 24)) return;
        d = Blend(s, d, alpha);
    }
};

// Translucent pictures drawn with transparency: the pixel's alpha times the draw's own.
template <bool kWithDrawAlpha>
struct OpPixelAlpha {
    uint32_t alpha;
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
    void operator()(uint32_t& d, uint32_t s) const {
        s = (s & 0xFF000000u) | (uint32_t(t->tr[(s >> 16) & 0xFF]) << 16) |
            (uint32_t(t->tg[(s >> 8) & 0xFF]) << 8) | t->tb[s & 0xFF];
        inner(d, s);
    }
};

// The one operation a draw needs, for both kinds of loop; false when it draws nothing
// (opacity 0).
bool SpanModeFor(const PixelMode& mode, ImageCoverage coverage, SpanMode* out) {
    if (mode.alpha <= 0) return false;
    const uint32_t alpha = static_cast<uint32_t>(std::min(mode.alpha, 255));
    const bool keyed = mode.transparent && coverage != ImageCoverage::kOpaque;
    const bool perPixel = mode.transparent && coverage == ImageCoverage::kTranslucent;
    out->op = perPixel      ? SpanOp::kPixelAlpha
              : alpha < 255 ? (keyed ? SpanOp::kBlendKeyed : SpanOp::kBlend)
              : keyed       ? SpanOp::kKey
                            : SpanOp::kCopy;
    out->opacity = alpha;
    out->brightR = mode.brightR;
    out->brightG = mode.brightG;
    out->brightB = mode.brightB;
    return true;
}

template <class Run>
void WithBlendOp(const SpanMode& m, Run&& run) {
    switch (m.op) {
        case SpanOp::kPixelAlpha:
            if (m.opacity == 255)
                run(OpPixelAlpha<false>{m.opacity});
            else
                run(OpPixelAlpha<true>{m.opacity});
            break;
        case SpanOp::kBlendKeyed:
            run(OpConstAlpha<true>{m.opacity});
            break;
        case SpanOp::kBlend:
            run(OpConstAlpha<false>{m.opacity});
            break;
        case SpanOp::kKey:
            run(OpKey{});
            break;
        case SpanOp::kCopy:
            run(OpCopy{});
            break;
    }
}

// Calls run(op) with the portable operation of the span mode.
template <class Run>
void WithPixelOp(const PixelMode& mode, const SpanMode& m, Run&& run) {
    if (!m.Bright()) {
        WithBlendOp(m, run);
    } else {
        const BrightTables* t = &TablesFor(mode);
        WithBlendOp(m, [&](auto op) { run(OpBright<decltype(op)>{op, t}); });
    }
}

// Along one destination row, the fixed-point position p(i) = p0 + i * dp of one picture
// axis lies in [pMin, pMax] for i in [Lo(), Hi()], two bounds that move linearly from row to
// row. They are kept in floating point (a few additions a row, no division) and only
// estimate the columns: the caller settles them exactly, or tests every position.
class AxisSpan {
public:
    AxisSpan(int64_t p0, int64_t dpX, int64_t dpY, int64_t pMin, int64_t pMax)
        : flat_(dpX == 0), p_(p0), dpY_(dpY), pMin_(pMin), pMax_(pMax) {
        if (flat_) {
            SetFlat();
            return;
        }
        const double inv = 1.0 / double(dpX);
        a_ = double(pMin - p0) * inv;
        b_ = double(pMax - p0) * inv;
        step_ = -double(dpY) * inv;
        if (a_ > b_) std::swap(a_, b_);
    }
    void NextRow() {
        if (flat_) {
            p_ += dpY_;
            SetFlat();
        } else {
            a_ += step_;
            b_ += step_;
        }
    }
    double Lo() const { return a_; }
    double Hi() const { return b_; }
    double Step() const { return step_; }
    bool Flat() const { return flat_; }
    void Skip(int rows) {
        if (flat_) {
            p_ += rows * dpY_;
            SetFlat();
        } else {
            a_ += rows * step_;
            b_ += rows * step_;
        }
    }

private:
    // Along a row the position does not move: every column or none.
    void SetFlat() {
        const bool in = p_ >= pMin_ && p_ <= pMax_;
        a_ = in ? -1e300 : 1e300;
        b_ = -a_;
    }
    bool flat_;
    int64_t p_, dpY_, pMin_, pMax_;
    double a_ = 0, b_ = 0, step_ = 0;
};

// floor(x) for x of -1 or more, without a library call.
inline int FloorSmall(double x) {
    return static_cast<int>(x + 16.0) - 16;
}

// std::llround (halves away from zero) without the library call: the truncation and the
// remainder, which is exact below 2^52, decide.
inline int64_t Round(double x) {
    if (!(std::fabs(x) < 4503599627370496.0)) return std::llround(x);
    const int64_t t = static_cast<int64_t>(x);
    const double rest = x - static_cast<double>(t);
    return t + int64_t(rest >= 0.5) - int64_t(rest <= -0.5);
}

// floor(x) and ceil(x) held to [lo, hi], without a library call.
inline int FloorWithin(double x, int lo, int hi) {
    x = std::min(std::max(x, lo - 1.0), hi + 1.0);
    const int t = static_cast<int>(x);
    return std::min(std::max(t - int(x < t), lo), hi);
}
inline int CeilWithin(double x, int lo, int hi) {
    x = std::min(std::max(x, lo - 1.0), hi + 1.0);
    const int t = static_cast<int>(x);
    return std::min(std::max(t + int(x > t), lo), hi);
}

int ClampToInt(int64_t v) {
    return static_cast<int>(std::max<int64_t>(INT32_MIN, std::min<int64_t>(INT32_MAX, v)));
}

// The rows of the surface this pass may touch.
int BandTop(const Surface& s) {
    return std::max(0, s.bandTop);
}
int BandBottom(const Surface& s) {
    return std::min(s.height, s.bandBottom);
}
const uint32_t* BandLimit(const Surface& s) {
    return s.pixels + int64_t(BandBottom(s)) * s.pitch;
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
    SpanMode m;
    if (!SpanModeFor(mode, image.coverage, &m)) return;
    const ClipRect c = Intersect(clip, SurfaceRect(dst));
    if (c.Empty()) return;
    // Only the visible part of a keyed or translucent picture can show.
    int64_t sx0 = 0, sx1 = image.width, sy0 = 0, sy1 = image.height;
    if (m.op != SpanOp::kCopy && m.op != SpanOp::kBlend) {
        sx0 = image.visibleX0, sx1 = image.visibleX1, sy0 = image.visibleY0, sy1 = image.visibleY1;
    }
    // Destination columns whose source column lies inside that part and the rectangle.
    const int64_t left = dstX, top = dstY;
    int64_t x0 = std::max<int64_t>(left, c.x0), x1 = std::min<int64_t>(left + w, c.x1);
    if (!mirrored) {
        // sx = srcX + (x - left)
        x0 = std::max<int64_t>(x0, left - srcX + sx0);
        x1 = std::min<int64_t>(x1, left - srcX + sx1);
    } else {
        // sx = srcX + w - 1 - (x - left)
        x0 = std::max<int64_t>(x0, left + srcX + w - sx1);
        x1 = std::min<int64_t>(x1, left + srcX + w - sx0);
    }
    int64_t y0 = std::max<int64_t>({top, c.y0, top - srcY + sy0, BandTop(dst)});
    int64_t y1 = std::min<int64_t>({top + h, c.y1, top - srcY + sy1, BandBottom(dst)});
    if (x0 >= x1 || y0 >= y1) return;

    const int n = static_cast<int>(x1 - x0);
    const int64_t firstSx = mirrored ? srcX + w - 1 - (x0 - left) : srcX + (x0 - left);
    auto source = [&](int64_t y) {
        return image.pixels.data() + (srcY + (y - top)) * int64_t(image.width) + firstSx;
    };
    if (Avx2Enabled()) {
        const uint32_t* limit = BandLimit(dst);
        const bool byRuns =
            !image.runs.empty() && (m.op == SpanOp::kKey || m.op == SpanOp::kBlendKeyed);
        if (!byRuns) {
            for (int64_t y = y0; y < y1; ++y)
                RowSpanAvx2(m, SpanTarget{dst.pixels + y * int64_t(dst.pitch) + x0, limit}, n,
                            source(y), mirrored);
            return;
        }
        // A keyed picture a run of visible pixels at a time: they are all drawn, without
        // looking at the key.
        SpanMode runMode = m;
        runMode.op = m.op == SpanOp::kKey ? SpanOp::kCopy : SpanOp::kBlend;
        const int64_t sxFirst = mirrored ? firstSx - n + 1 : firstSx, sxEnd = sxFirst + n;
        for (int64_t y = y0; y < y1; ++y) {
            const int64_t sy = srcY + (y - top);
            const uint32_t* rowPixels = image.pixels.data() + sy * int64_t(image.width);
            uint32_t* d = dst.pixels + y * int64_t(dst.pitch) + x0;
            for (uint32_t r = image.runRows[sy]; r < image.runRows[sy + 1]; ++r) {
                const int64_t a = std::max<int64_t>(image.runs[2 * r], sxFirst);
                const int64_t b = std::min<int64_t>(image.runs[2 * r + 1], sxEnd);
                if (a >= b) continue;
                if (!mirrored) {
                    RowSpanAvx2(runMode, SpanTarget{d + (a - firstSx), limit}, int(b - a),
                                rowPixels + a, false);
                } else {
                    RowSpanAvx2(runMode, SpanTarget{d + (firstSx - (b - 1)), limit}, int(b - a),
                                rowPixels + b - 1, true);
                }
            }
        }
        return;
    }
    WithPixelOp(mode, m, [&](auto op) {
        for (int64_t y = y0; y < y1; ++y) {
            const uint32_t* s = source(y);
            uint32_t* d = dst.pixels + y * int64_t(dst.pitch) + x0;
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
    SpanMode m;
    if (!SpanModeFor(mode, image.coverage, &m)) return;
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
    // Only this box is drawn, so a pixel whose centre the rounded fixed-point positions place
    // a hair past the exact outline is left out.
    const int bx0 = FloorWithin(cx + minX, c.x0, c.x1);
    const int bx1 = CeilWithin(cx + maxX, c.x0, c.x1);
    const int by0 = FloorWithin(cy + minY, c.y0, c.y1);
    const int by1 = CeilWithin(cy + maxY, c.y0, c.y1);
    if (bx0 >= bx1 || by0 >= by1) return;

    // Inverse mapping in 16.16 fixed point: the picture position sampled by the centre of
    // destination pixel (bx0, by0), and its steps along a destination row and column.
    constexpr double kOne = 65536.0;
    const double X0 = bx0 + 0.5 - cx, Y0 = by0 + 0.5 - cy;
    // Dividing by a scale of exactly 1 changes nothing: the common case skips it.
    const bool unit = scale == 1.0;
    auto over = [&](double a) { return unit ? a : a / scale; };
    int64_t u = Round((over(X0 * cs + Y0 * sn) + hw) * kOne);
    int64_t v = Round((over(-X0 * sn + Y0 * cs) + hh) * kOne);
    int64_t duX = Round(over(cs) * kOne), dvX = Round(over(-sn) * kOne);
    int64_t duY = Round(over(sn) * kOne), dvY = Round(over(cs) * kOne);
    const int64_t uMax = (int64_t(w) << 16) - 1, vMax = (int64_t(h) << 16) - 1;
    if (mirrored) {
        // Column sx shows at w - 1 - sx: reflect the fixed-point position inside [0, uMax].
        u = uMax - u;
        duX = -duX;
        duY = -duY;
    }
    // The positions that can show: the whole picture, or its visible part.
    int64_t uLo = 0, uHi = uMax, vLo = 0, vHi = vMax;
    if (m.op != SpanOp::kCopy && m.op != SpanOp::kBlend) {
        if (image.visibleX0 >= image.visibleX1) return;
        uLo = int64_t(image.visibleX0) << 16, uHi = (int64_t(image.visibleX1) << 16) - 1;
        vLo = int64_t(image.visibleY0) << 16, vHi = (int64_t(image.visibleY1) << 16) - 1;
    }
    // This pass's rows of the box; the positions step there from the box's first row.
    const int rowBegin = std::max(by0, BandTop(dst)), rowEnd = std::min(by1, BandBottom(dst));
    if (rowBegin >= rowEnd) return;
    u += (rowBegin - by0) * duY;
    v += (rowBegin - by0) * dvY;

    const int n = bx1 - bx0;
    const uint32_t* src = image.pixels.data();
    const bool simd = Avx2Enabled() && w <= kMaxSampledSide && h <= kMaxSampledSide &&
                      std::abs(duX) < kMaxSampledStep && std::abs(dvX) < kMaxSampledStep &&
                      std::abs(duY) < kMaxSampledStep && std::abs(dvY) < kMaxSampledStep;
    // No turn within a row and one source pixel per column (a half turn, or none, at scale
    // 1): each row reads consecutive source pixels, forwards or backwards.
    const bool consecutive = dvX == 0 && (duX == 65536 || duX == -65536);

    // The columns of each row that sample inside, a block of rows at a time: an interval,
    // estimated in floating point. The eight-pixel loops take it a column wider on both
    // sides and test the positions of those two columns only; the others settle it exactly
    // on the fixed-point positions first.
    constexpr int kBlock = 256;
    int16_t first[kBlock], last[kBlock];
    AxisSpan spanU(u, duX, duY, uLo, uHi), spanV(v, dvX, dvY, vLo, vHi);
    const double lastColumn = n + 1.0;
    for (int blockTop = rowBegin; blockTop < rowEnd; blockTop += kBlock) {
        const int rows = std::min(kBlock, rowEnd - blockTop);
        const int64_t blockU = u + (blockTop - rowBegin) * duY;
        const int64_t blockV = v + (blockTop - rowBegin) * dvY;
        const bool estimated = simd && !consecutive && !spanU.Flat() && !spanV.Flat();
        if (estimated) {
            const SpanLines lines{spanU.Lo(), spanU.Hi(), spanU.Step(),
                                  spanV.Lo(), spanV.Hi(), spanV.Step()};
            EstimateSpansAvx2(lines, rows, n, first, last);
            spanU.Skip(rows);
            spanV.Skip(rows);
        }
        for (int k = 0; k < rows && !estimated; ++k, spanU.NextRow(), spanV.NextRow()) {
            const double lo =
                std::min(std::max(std::max(spanU.Lo(), spanV.Lo()), -1.0), lastColumn);
            const double hi =
                std::max(std::min(std::min(spanU.Hi(), spanV.Hi()), lastColumn), -1.0);
            // The floors reach a column past each end of the exact span, whatever the
            // rounding of the estimate.
            int i0 = std::max(FloorSmall(lo), 0), i1 = std::min(FloorSmall(hi) + 1, n - 1);
            if ((!simd || consecutive) && i0 <= i1) {
                const int64_t ur = blockU + k * duY, vr = blockV + k * dvY;
                auto inside = [&](int i) {
                    const int64_t uu = ur + i * duX, vv = vr + i * dvX;
                    return uu >= uLo && uu <= uHi && vv >= vLo && vv <= vHi;
                };
                while (i0 > 0 && inside(i0 - 1)) --i0;
                while (i0 <= i1 && !inside(i0)) ++i0;
                while (i1 < n - 1 && inside(i1 + 1)) ++i1;
                while (i1 >= i0 && !inside(i1)) --i1;
            }
            first[k] = static_cast<int16_t>(i0 <= i1 ? i0 : 1);
            last[k] = static_cast<int16_t>(i0 <= i1 ? i1 : 0);
        }
        uint32_t* const topLeft = dst.pixels + int64_t(blockTop) * dst.pitch + bx0;
        if (simd && consecutive) {
            const uint32_t* limit = BandLimit(dst);
            for (int k = 0; k < rows; ++k) {
                if (first[k] > last[k]) continue;
                const int64_t uu = blockU + k * duY + first[k] * duX, vv = blockV + k * dvY;
                RowSpanAvx2(m, SpanTarget{topLeft + int64_t(k) * dst.pitch + first[k], limit},
                            last[k] - first[k] + 1, src + (vv >> 16) * w + (uu >> 16), duX < 0);
            }
            continue;
        }
        if (simd) {
            const SampledRows block{rows, dst.pitch, src, w,   blockU, blockV, duX,   dvX,
                                    duY,  dvY,       uLo, uHi, vLo,    vHi,    first, last};
            SampledRowsAvx2(m, SpanTarget{topLeft, BandLimit(dst)}, block);
            continue;
        }
        WithPixelOp(mode, m, [&](auto op) {
            for (int k = 0; k < rows; ++k) {
                uint32_t* d = topLeft + int64_t(k) * dst.pitch;
                int64_t uu = blockU + k * duY + first[k] * duX;
                int64_t vv = blockV + k * dvY + first[k] * dvX;
                if (dvX == 0) {
                    // No turn within a row (angle 0 or 180 degrees): one source row per row.
                    const uint32_t* s = src + (vv >> 16) * w;
                    for (int i = first[k]; i <= last[k]; ++i, uu += duX) op(d[i], s[uu >> 16]);
                } else {
                    for (int i = first[k]; i <= last[k]; ++i, uu += duX, vv += dvX)
                        op(d[i], src[(vv >> 16) * w + (uu >> 16)]);
                }
            }
        });
    }
}

void FillRect(const Surface& dst, const ClipRect& clip, int x0, int y0, int x1, int y1,
              uint32_t colour, const PixelMode& mode) {
    const ClipRect c = Intersect(Intersect(clip, SurfaceRect(dst)), ClipRect{x0, y0, x1, y1});
    if (c.Empty() || mode.alpha <= 0) return;
    const uint32_t col = ApplyBrightness(colour & 0xFFFFFFu, mode);
    const uint32_t a = static_cast<uint32_t>(std::min(mode.alpha, 255));
    const bool simd = Avx2Enabled();
    const uint32_t* limit = BandLimit(dst);
    const int rowEnd = std::min(c.y1, BandBottom(dst));
    for (int y = std::max(c.y0, BandTop(dst)); y < rowEnd; ++y) {
        uint32_t* d = dst.pixels + int64_t(y) * dst.pitch;
        if (a == 255 && col == 0) {
            std::memset(d + c.x0, 0, sizeof(uint32_t) * size_t(c.x1 - c.x0));  // a clear
        } else if (a == 255) {
            std::fill(d + c.x0, d + c.x1, col);
        } else if (simd) {
            FillSpanAvx2(col, a, SpanTarget{d + c.x0, limit}, c.x1 - c.x0);
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
    const int rowEnd = std::min(c.y1, BandBottom(dst));
    for (int y = std::max(c.y0, BandTop(dst)); y < rowEnd; ++y) {
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
