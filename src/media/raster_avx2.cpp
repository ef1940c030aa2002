// AVX2 inner loops: eight destination pixels at a time, sampled by gather (turned and
// scaled blits) or loaded in a row (plain and mirrored blits). Blending works on 16-bit
// channels with the same exact rounding as the portable loops, so both give identical
// pictures. Compiled for AVX2 by function attribute and only called when the processor
// has it.
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

// (x * a + y * (255 - a)) / 255 rounded, on 16-bit channels.
AVX2 __m256i Mix16(__m256i x, __m256i y, __m256i a) {
    const __m256i na = _mm256_sub_epi16(_mm256_set1_epi16(255), a);
    const __m256i t =
        _mm256_add_epi16(_mm256_add_epi16(_mm256_mullo_epi16(x, a), _mm256_mullo_epi16(y, na)),
                         _mm256_set1_epi16(128));
    return _mm256_srli_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), 8);
}

// k * a / 255 rounded, on 16-bit values.
AVX2 __m256i MulDiv255x16(__m256i k, __m256i a) {
    const __m256i t = _mm256_add_epi16(_mm256_mullo_epi16(k, a), _mm256_set1_epi16(128));
    return _mm256_srli_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), 8);
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
template <SpanOp kOp>
AVX2 __m256i Combine(__m256i s, __m256i d, __m256i opacity16, __m256i* write) {
    const __m256i rgb = _mm256_set1_epi32(0x00FFFFFF);
    if (kOp == SpanOp::kKey || kOp == SpanOp::kBlendKeyed) {
        const __m256i key = _mm256_cmpeq_epi32(_mm256_srli_epi32(s, 24), _mm256_setzero_si256());
        *write = _mm256_andnot_si256(key, *write);
    }
    switch (kOp) {
        case SpanOp::kCopy:
        case SpanOp::kKey:
            return _mm256_and_si256(s, rgb);
        case SpanOp::kBlend:
        case SpanOp::kBlendKeyed:
            return _mm256_and_si256(Mix<false>(s, d, opacity16), rgb);
        case SpanOp::kPixelAlpha:
            return _mm256_and_si256(Mix<true>(s, d, opacity16), rgb);
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

template <SpanOp kOp>
__attribute__((target("avx2"))) void Sampled(uint32_t opacity, SpanTarget target,
                                             const SampledBlock& b) {
    const __m256i lane = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const int32_t duX = int32_t(b.duX), dvX = int32_t(b.dvX);
    const __m256i laneU = _mm256_mullo_epi32(lane, _mm256_set1_epi32(duX));
    const __m256i laneV = _mm256_mullo_epi32(lane, _mm256_set1_epi32(dvX));
    const __m256i stepU = _mm256_set1_epi32(duX * 8), stepV = _mm256_set1_epi32(dvX * 8);
    const __m256i pitch = _mm256_set1_epi32(b.pitch);
    // p lies in [0, max] exactly when it is above -1 and below max + 1.
    const __m256i minusOne = _mm256_set1_epi32(-1);
    const __m256i uEnd = _mm256_set1_epi32(int32_t(b.uMax + 1));
    const __m256i vEnd = _mm256_set1_epi32(int32_t(b.vMax + 1));
    const __m256i opacity16 = _mm256_set1_epi16(int16_t(opacity));
    const __m256i tail = FirstLanes(b.count & 7);
    const int* base = reinterpret_cast<const int*>(b.src);
    int64_t rowU = b.u, rowV = b.v;
    uint32_t* row = target.dst;
    for (int y = 0; y < b.rows; ++y, rowU += b.duY, rowV += b.dvY, row += b.dstPitch) {
        __m256i uu = _mm256_add_epi32(_mm256_set1_epi32(int32_t(rowU)), laneU);
        __m256i vv = _mm256_add_epi32(_mm256_set1_epi32(int32_t(rowV)), laneV);
        for (int i = 0; i < b.count; i += 8) {
            __m256i write = _mm256_and_si256(
                _mm256_and_si256(_mm256_cmpgt_epi32(uu, minusOne), _mm256_cmpgt_epi32(uEnd, uu)),
                _mm256_and_si256(_mm256_cmpgt_epi32(vv, minusOne), _mm256_cmpgt_epi32(vEnd, vv)));
            if (b.count - i < 8) write = _mm256_and_si256(write, tail);
            if (!_mm256_testz_si256(write, write)) {
                const __m256i index =
                    _mm256_add_epi32(_mm256_mullo_epi32(_mm256_srai_epi32(vv, 16), pitch),
                                     _mm256_srai_epi32(uu, 16));
                const __m256i s =
                    _mm256_mask_i32gather_epi32(_mm256_setzero_si256(), base, index, write, 4);
                uint32_t* p = row + i;
                const __m256i d = Get(p, target.limit, write);
                const __m256i value = Combine<kOp>(s, d, opacity16, &write);
                Put(p, target.limit, d, value, write);
            }
            uu = _mm256_add_epi32(uu, stepU);
            vv = _mm256_add_epi32(vv, stepV);
        }
    }
}

template <SpanOp kOp, bool kReversed>
__attribute__((target("avx2"))) void Row(uint32_t opacity, SpanTarget target, int count,
                                         const uint32_t* src) {
    const __m256i reverse = _mm256_setr_epi32(7, 6, 5, 4, 3, 2, 1, 0);
    const __m256i opacity16 = _mm256_set1_epi16(int16_t(opacity));
    const __m256i all = _mm256_set1_epi32(-1);
    for (int i = 0; i < count; i += 8) {
        const bool whole = count - i >= 8;
        __m256i write = whole ? all : FirstLanes(count - i);
        __m256i s;
        if (kReversed) {
            // Lane k reads src[-(i + k)]: load the eight words that end there, then reverse.
            const int* from = reinterpret_cast<const int*>(src - i - 7);
            s = whole ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from))
                      : _mm256_maskload_epi32(from, _mm256_permutevar8x32_epi32(write, reverse));
            s = _mm256_permutevar8x32_epi32(s, reverse);
        } else {
            s = whole ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i))
                      : _mm256_maskload_epi32(reinterpret_cast<const int*>(src + i), write);
        }
        uint32_t* p = target.dst + i;
        const __m256i d = kOp == SpanOp::kCopy && whole ? s : Get(p, target.limit, write);
        const __m256i value = Combine<kOp>(s, d, opacity16, &write);
        Put(p, target.limit, d, value, write);
    }
}

template <SpanOp kOp>
void RowEither(uint32_t opacity, SpanTarget target, int count, const uint32_t* src, bool reversed) {
    if (reversed)
        Row<kOp, true>(opacity, target, count, src);
    else
        Row<kOp, false>(opacity, target, count, src);
}

}  // namespace

void SampledBlockAvx2(SpanOp op, uint32_t opacity, SpanTarget target, const SampledBlock& block) {
    if (block.rows <= 0 || block.count <= 0) return;
    switch (op) {
        case SpanOp::kCopy:
            Sampled<SpanOp::kCopy>(opacity, target, block);
            break;
        case SpanOp::kKey:
            Sampled<SpanOp::kKey>(opacity, target, block);
            break;
        case SpanOp::kBlend:
            Sampled<SpanOp::kBlend>(opacity, target, block);
            break;
        case SpanOp::kBlendKeyed:
            Sampled<SpanOp::kBlendKeyed>(opacity, target, block);
            break;
        case SpanOp::kPixelAlpha:
            Sampled<SpanOp::kPixelAlpha>(opacity, target, block);
            break;
    }
}

void RowSpanAvx2(SpanOp op, uint32_t opacity, SpanTarget target, int count, const uint32_t* src,
                 bool reversed) {
    if (count <= 0) return;
    switch (op) {
        case SpanOp::kCopy:
            RowEither<SpanOp::kCopy>(opacity, target, count, src, reversed);
            break;
        case SpanOp::kKey:
            RowEither<SpanOp::kKey>(opacity, target, count, src, reversed);
            break;
        case SpanOp::kBlend:
            RowEither<SpanOp::kBlend>(opacity, target, count, src, reversed);
            break;
        case SpanOp::kBlendKeyed:
            RowEither<SpanOp::kBlendKeyed>(opacity, target, count, src, reversed);
            break;
        case SpanOp::kPixelAlpha:
            RowEither<SpanOp::kPixelAlpha>(opacity, target, count, src, reversed);
            break;
    }
}

__attribute__((target("avx2"))) void FillSpanAvx2(uint32_t colour, uint32_t opacity,
                                                  SpanTarget target, int count) {
    const __m256i s = _mm256_set1_epi32(int(colour));
    const __m256i opacity16 = _mm256_set1_epi16(int16_t(opacity));
    const __m256i all = _mm256_set1_epi32(-1);
    for (int i = 0; i < count; i += 8) {
        __m256i write = count - i >= 8 ? all : FirstLanes(count - i);
        uint32_t* p = target.dst + i;
        const __m256i d = Get(p, target.limit, write);
        const __m256i value = opacity >= 255 ? s : Combine<SpanOp::kBlend>(s, d, opacity16, &write);
        Put(p, target.limit, d, value, write);
    }
}

#else  // no AVX2 path on this architecture

bool Avx2Enabled() {
    return false;
}
void SampledBlockAvx2(SpanOp, uint32_t, SpanTarget, const SampledBlock&) {}
void RowSpanAvx2(SpanOp, uint32_t, SpanTarget, int, const uint32_t*, bool) {}
void FillSpanAvx2(uint32_t, uint32_t, SpanTarget, int) {}

#endif

}  // namespace media
