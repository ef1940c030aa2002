// AVX2 inner loops: eight destination pixels at a time, sampled by gather (turned and
// scaled blits) or loaded in a row (plain and mirrored blits). Brightness and blending work
// on 16-bit channels with the same exact rounding as the portable loops, so both give
// identical pictures. Compiled for AVX2 by function attribute and only called when the
// processor has it.
#include "media/raster_avx2.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ORVAN_HAVE_AVX2_PATH 1
#endif

namespace media {
namespace {
bool g_allowed = true;
}

void SetAvx2Allowed(bool allowed) {
    g_allowed = allowed;
}

#ifdef ORVAN_HAVE_AVX2_PATH

bool Avx2Enabled() {
    static const bool supported = __builtin_cpu_supports("avx2");
    return supported && g_allowed;
}

namespace {

#define AVX2 __attribute__((target("avx2"), always_inline)) inline
#define AVX2_LOOP __attribute__((target("avx2"))) static

// The portable loops divide t = x + 128 by 255 as (t + (t >> 8)) >> 8; for every 16-bit t
// that equals the high half of t * 257, one multiply.
AVX2 __m256i Div255(__m256i t) {
    return _mm256_mulhi_epu16(t, _mm256_set1_epi16(257));
}

// k * a / 255 rounded, on 16-bit values.
AVX2 __m256i MulDiv255x16(__m256i k, __m256i a) {
    return Div255(_mm256_add_epi16(_mm256_mullo_epi16(k, a), _mm256_set1_epi16(128)));
}

// (x * a + y * (255 - a)) / 255 rounded, on 16-bit channels.
AVX2 __m256i Mix16(__m256i x, __m256i y, __m256i a) {
    const __m256i na = _mm256_sub_epi16(_mm256_set1_epi16(255), a);
    return Div255(
        _mm256_add_epi16(_mm256_add_epi16(_mm256_mullo_epi16(x, a), _mm256_mullo_epi16(y, na)),
                         _mm256_set1_epi16(128)));
}

// The constants of one draw: its opacity on every 16-bit channel, and its brightness as
// blue, green, red and 255 (alpha unchanged) for each pixel's four channels.
struct Factors {
    __m256i opacity16, bright16;
};

AVX2 Factors FactorsOf(const SpanMode& m) {
    const short r = short(m.brightR), g = short(m.brightG), b = short(m.brightB);
    return {_mm256_set1_epi16(short(m.opacity)),
            _mm256_setr_epi16(b, g, r, 255, b, g, r, 255, b, g, r, 255, b, g, r, 255)};
}

// The source's colour channels times the brightness.
AVX2 __m256i Brighten(__m256i s, __m256i bright16) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i lo = MulDiv255x16(_mm256_unpacklo_epi8(s, zero), bright16);
    const __m256i hi = MulDiv255x16(_mm256_unpackhi_epi8(s, zero), bright16);
    return _mm256_packus_epi16(lo, hi);
}

// s blended over d: at a constant opacity, or at each pixel's alpha times the opacity.
template <bool kPerPixel>
AVX2 __m256i Mix(__m256i s, __m256i d, __m256i opacity16) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i sLo = _mm256_unpacklo_epi8(s, zero), sHi = _mm256_unpackhi_epi8(s, zero);
    const __m256i dLo = _mm256_unpacklo_epi8(d, zero), dHi = _mm256_unpackhi_epi8(d, zero);
    __m256i aLo = opacity16, aHi = opacity16;
    if (kPerPixel) {
        // Each pixel's alpha word spread over its four channel words, times the opacity.
        aLo = MulDiv255x16(_mm256_shufflehi_epi16(_mm256_shufflelo_epi16(sLo, 0xFF), 0xFF),
                           opacity16);
        aHi = MulDiv255x16(_mm256_shufflehi_epi16(_mm256_shufflelo_epi16(sHi, 0xFF), 0xFF),
                           opacity16);
    }
    return _mm256_packus_epi16(Mix16(sLo, dLo, aLo), Mix16(sHi, dHi, aHi));
}

// The new destination vector for source s over d, and in *write the lanes that change.
template <SpanOp kOp, bool kBright>
AVX2 __m256i Combine(__m256i s, __m256i d, const Factors& f, __m256i* write) {
    const __m256i rgb = _mm256_set1_epi32(0x00FFFFFF);
    if (kOp == SpanOp::kKey || kOp == SpanOp::kBlendKeyed) {
        const __m256i key = _mm256_cmpeq_epi32(_mm256_srli_epi32(s, 24), _mm256_setzero_si256());
        *write = _mm256_andnot_si256(key, *write);
    }
    if (kBright) s = Brighten(s, f.bright16);
    switch (kOp) {
        case SpanOp::kCopy:
        case SpanOp::kKey:
            return _mm256_and_si256(s, rgb);
        case SpanOp::kBlend:
        case SpanOp::kBlendKeyed:
            return _mm256_and_si256(Mix<false>(s, d, f.opacity16), rgb);
        case SpanOp::kPixelAlpha:
            return _mm256_and_si256(Mix<true>(s, d, f.opacity16), rgb);
    }
    return d;
}

AVX2 __m256i FirstLanes(int count) {
    return _mm256_cmpgt_epi32(_mm256_set1_epi32(count), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
}

// Writes the lanes of 'value' chosen by 'write' at p. Whole-vector when the eight words
// lie inside the destination (unchosen lanes get their own value back), masked otherwise.
AVX2 void Put(uint32_t* p, const uint32_t* limit, __m256i old, __m256i value, __m256i write) {
    if (p + 8 <= limit) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), _mm256_blendv_epi8(old, value, write));
    } else {
        _mm256_maskstore_epi32(reinterpret_cast<int*>(p), write, value);
    }
}

AVX2 __m256i Get(const uint32_t* p, const uint32_t* limit, __m256i lanes) {
    if (p + 8 <= limit) return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    return _mm256_maskload_epi32(reinterpret_cast<const int*>(p), lanes);
}

template <SpanOp kOp, bool kBright>
struct SampledLoop {
    AVX2_LOOP void Run(const SpanMode& m, SpanTarget target, const SampledRows& b) {
        const Factors f = FactorsOf(m);
        const __m256i lane = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
        const int32_t duX = int32_t(b.duX), dvX = int32_t(b.dvX);
        const __m256i laneU = _mm256_mullo_epi32(lane, _mm256_set1_epi32(duX));
        const __m256i laneV = _mm256_mullo_epi32(lane, _mm256_set1_epi32(dvX));
        const __m256i stepU = _mm256_set1_epi32(duX * 8), stepV = _mm256_set1_epi32(dvX * 8);
        const __m256i pitch = _mm256_set1_epi32(b.pitch);
        // p lies in [lo, hi] exactly when it is above lo - 1 and below hi + 1.
        const __m256i uBelow = _mm256_set1_epi32(int32_t(b.uLo - 1));
        const __m256i uAbove = _mm256_set1_epi32(int32_t(b.uHi + 1));
        const __m256i vBelow = _mm256_set1_epi32(int32_t(b.vLo - 1));
        const __m256i vAbove = _mm256_set1_epi32(int32_t(b.vHi + 1));
        const int* base = reinterpret_cast<const int*>(b.src);
        const __m256i all = _mm256_set1_epi32(-1);
        for (int y = 0; y < b.rows; ++y) {
            const int first = b.first[y], count = b.last[y] - first + 1;
            if (count <= 0) continue;
            // The positions of the columns looked at lie within a few steps of the picture,
            // so they fit in 32 bits.
            const int64_t u = b.u + y * b.duY + first * b.duX, v = b.v + y * b.dvY + first * b.dvX;
            __m256i uu = _mm256_add_epi32(_mm256_set1_epi32(int32_t(u)), laneU);
            __m256i vv = _mm256_add_epi32(_mm256_set1_epi32(int32_t(v)), laneV);
            uint32_t* row = target.dst + int64_t(y) * b.dstPitch + first;
            for (int i = 0; i < count; i += 8) {
                // Only the first and the last column can sample outside (EstimateSpansAvx2).
                __m256i write = all;
                if (i == 0 || i + 9 > count) {
                    write = _mm256_and_si256(_mm256_and_si256(_mm256_cmpgt_epi32(uu, uBelow),
                                                              _mm256_cmpgt_epi32(uAbove, uu)),
                                             _mm256_and_si256(_mm256_cmpgt_epi32(vv, vBelow),
                                                              _mm256_cmpgt_epi32(vAbove, vv)));
                    if (count - i < 8) write = _mm256_and_si256(write, FirstLanes(count - i));
                }
                // Rows and the pitch fit in 16 bits: one multiply-add instead of a 32-bit
                // multiply (lanes outside the picture are not gathered).
                const __m256i index = _mm256_add_epi32(
                    _mm256_madd_epi16(_mm256_srai_epi32(vv, 16), pitch), _mm256_srai_epi32(uu, 16));
                const __m256i s =
                    _mm256_mask_i32gather_epi32(_mm256_setzero_si256(), base, index, write, 4);
                uint32_t* p = row + i;
                const __m256i d = Get(p, target.limit, write);
                const __m256i value = Combine<kOp, kBright>(s, d, f, &write);
                Put(p, target.limit, d, value, write);
                uu = _mm256_add_epi32(uu, stepU);
                vv = _mm256_add_epi32(vv, stepV);
            }
        }
    }
};

template <SpanOp kOp, bool kBright>
struct RowLoop {
    template <bool kReversed>
    AVX2_LOOP void Along(const Factors& f, SpanTarget target, int count, const uint32_t* src) {
        const __m256i reverse = _mm256_setr_epi32(7, 6, 5, 4, 3, 2, 1, 0);
        const __m256i all = _mm256_set1_epi32(-1);
        for (int i = 0; i < count; i += 8) {
            const bool whole = count - i >= 8;
            __m256i write = whole ? all : FirstLanes(count - i);
            __m256i s;
            if (kReversed) {
                // Lane k reads src[-(i + k)]: load the eight words that end there, then reverse.
                const int* from = reinterpret_cast<const int*>(src - i - 7);
                s = whole
                        ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from))
                        : _mm256_maskload_epi32(from, _mm256_permutevar8x32_epi32(write, reverse));
                s = _mm256_permutevar8x32_epi32(s, reverse);
            } else {
                s = whole ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i))
                          : _mm256_maskload_epi32(reinterpret_cast<const int*>(src + i), write);
            }
            uint32_t* p = target.dst + i;
            const bool noRead = kOp == SpanOp::kCopy && !kBright && whole;
            const __m256i d = noRead ? s : Get(p, target.limit, write);
            const __m256i value = Combine<kOp, kBright>(s, d, f, &write);
            Put(p, target.limit, d, value, write);
        }
    }
    AVX2_LOOP void Run(const SpanMode& m, SpanTarget target, int count, const uint32_t* src,
                       bool reversed) {
        const Factors f = FactorsOf(m);
        if (reversed)
            Along<true>(f, target, count, src);
        else
            Along<false>(f, target, count, src);
    }
};

// Runs Loop<op, bright>::Run(mode, args...) for the mode's operation and brightness.
template <template <SpanOp, bool> class Loop, class... Args>
void Dispatch(const SpanMode& m, Args... args) {
    const bool b = m.Bright();
    switch (m.op) {
        case SpanOp::kCopy:
            return b ? Loop<SpanOp::kCopy, true>::Run(m, args...)
                     : Loop<SpanOp::kCopy, false>::Run(m, args...);
        case SpanOp::kKey:
            return b ? Loop<SpanOp::kKey, true>::Run(m, args...)
                     : Loop<SpanOp::kKey, false>::Run(m, args...);
        case SpanOp::kBlend:
            return b ? Loop<SpanOp::kBlend, true>::Run(m, args...)
                     : Loop<SpanOp::kBlend, false>::Run(m, args...);
        case SpanOp::kBlendKeyed:
            return b ? Loop<SpanOp::kBlendKeyed, true>::Run(m, args...)
                     : Loop<SpanOp::kBlendKeyed, false>::Run(m, args...);
        case SpanOp::kPixelAlpha:
            return b ? Loop<SpanOp::kPixelAlpha, true>::Run(m, args...)
                     : Loop<SpanOp::kPixelAlpha, false>::Run(m, args...);
    }
}

}  // namespace

void SampledRowsAvx2(const SpanMode& mode, SpanTarget target, const SampledRows& rows) {
    if (rows.rows > 0) Dispatch<SampledLoop>(mode, target, rows);
}

void RowSpanAvx2(const SpanMode& mode, SpanTarget target, int count, const uint32_t* src,
                 bool reversed) {
    if (count > 0) Dispatch<RowLoop>(mode, target, count, src, reversed);
}

__attribute__((target("avx2"))) void FillSpanAvx2(uint32_t colour, uint32_t opacity,
                                                  SpanTarget target, int count) {
    SpanMode m;
    m.opacity = opacity;
    const Factors f = FactorsOf(m);
    const __m256i s = _mm256_set1_epi32(int(colour));
    const __m256i all = _mm256_set1_epi32(-1);
    for (int i = 0; i < count; i += 8) {
        __m256i write = count - i >= 8 ? all : FirstLanes(count - i);
        uint32_t* p = target.dst + i;
        const __m256i d = Get(p, target.limit, write);
        const __m256i value = opacity >= 255 ? s : Combine<SpanOp::kBlend, false>(s, d, f, &write);
        Put(p, target.limit, d, value, write);
    }
}

__attribute__((target("avx2"))) void EstimateSpansAvx2(const SpanLines& l, int rows, int n,
                                                       int16_t* first, int16_t* last) {
    const __m256d stepU = _mm256_set1_pd(l.stepU), stepV = _mm256_set1_pd(l.stepV);
    const __m256d aU = _mm256_set1_pd(l.aU), bU = _mm256_set1_pd(l.bU);
    const __m256d aV = _mm256_set1_pd(l.aV), bV = _mm256_set1_pd(l.bV);
    const __m256d below = _mm256_set1_pd(-1.0), beyond = _mm256_set1_pd(n + 1.0);
    const __m128i zero = _mm_setzero_si128(), one = _mm_set1_epi32(1);
    const __m128i lastColumn = _mm_set1_epi32(n - 1);
    __m256d k = _mm256_setr_pd(0, 1, 2, 3);
    for (int row = 0; row < rows; row += 4) {
        __m256d lo = _mm256_max_pd(_mm256_add_pd(aU, _mm256_mul_pd(k, stepU)),
                                   _mm256_add_pd(aV, _mm256_mul_pd(k, stepV)));
        __m256d hi = _mm256_min_pd(_mm256_add_pd(bU, _mm256_mul_pd(k, stepU)),
                                   _mm256_add_pd(bV, _mm256_mul_pd(k, stepV)));
        lo = _mm256_min_pd(_mm256_max_pd(lo, below), beyond);
        hi = _mm256_max_pd(_mm256_min_pd(hi, beyond), below);
        const __m128i i0 = _mm_max_epi32(_mm256_cvttpd_epi32(_mm256_floor_pd(lo)), zero);
        const __m128i i1 =
            _mm_min_epi32(_mm_add_epi32(_mm256_cvttpd_epi32(_mm256_floor_pd(hi)), one), lastColumn);
        alignas(16) int16_t packed[8];
        _mm_store_si128(reinterpret_cast<__m128i*>(packed), _mm_packs_epi32(i0, i1));
        for (int j = 0; j < 4 && row + j < rows; ++j) {
            first[row + j] = packed[j];
            last[row + j] = packed[4 + j];
        }
        k = _mm256_add_pd(k, _mm256_set1_pd(4.0));
    }
}

#else  // no AVX2 path on this architecture

bool Avx2Enabled() {
    return false;
}
void SampledRowsAvx2(const SpanMode&, SpanTarget, const SampledRows&) {}
void EstimateSpansAvx2(const SpanLines&, int, int, int16_t*, int16_t*) {}
void RowSpanAvx2(const SpanMode&, SpanTarget, int, const uint32_t*, bool) {}
void FillSpanAvx2(uint32_t, uint32_t, SpanTarget, int) {}

#endif

}  // namespace media
