// Eight-pixel versions of the rasterizer's inner loops for processors with AVX2, chosen at
// run time; the portable loops in raster.cpp remain the reference and the fallback.
#pragma once

#include <cstdint>

namespace media {

enum class SpanOp {
    kCopy,        // colour copied, alpha ignored
    kKey,         // copied where alpha is not 0
    kBlend,       // colour blended at a constant opacity, alpha ignored
    kBlendKeyed,  // blended at a constant opacity where alpha is not 0
    kPixelAlpha,  // blended at alpha x opacity / 255 (covers keyed blends: alpha 0 or 255)
};

// True when the processor runs the AVX2 loops and they have not been switched off.
bool Avx2Enabled();
// Tests switch the fast loops off to compare them with the portable ones.
void SetAvx2Allowed(bool allowed);

// Where the destination ends: a loop may rewrite unchanged pixels up to here with whole
// vectors instead of masked stores, which are slow on some processors.
struct SpanTarget {
    uint32_t* dst;
    const uint32_t* limit;
};

// The sampled loops keep positions in 32 bits: they take pictures up to this side and
// steps (16.16 picture positions per destination pixel) below kMaxSampledStep, that is
// pictures shrunk no further than 1/256. Anything else goes to the portable loops.
constexpr int kMaxSampledSide = 8192;
constexpr int64_t kMaxSampledStep = int64_t(1) << 24;

// A block of 'rows' x 'count' destination pixels (rows 'dstPitch' apart) sampled from a
// picture of (uMax + 1) x (vMax + 1) 16.16 positions with 'pitch' pixels a row: the first
// pixel at (u, v), each step right adding (duX, dvX) and each step down (duY, dvY). Pixels
// whose position falls outside the picture are left alone, so the block may be any box
// around the turned picture within a picture's diagonal of it.
struct SampledBlock {
    int rows, count, dstPitch;
    const uint32_t* src;
    int pitch;
    int64_t u, v, duX, dvX, duY, dvY, uMax, vMax;
};
void SampledBlockAvx2(SpanOp op, uint32_t opacity, SpanTarget target, const SampledBlock& block);

// 'count' consecutive source pixels, read forwards or (reversed) backwards from 'src'.
void RowSpanAvx2(SpanOp op, uint32_t opacity, SpanTarget target, int count, const uint32_t* src,
                 bool reversed);

// 'count' pixels of one XRGB colour, solid or blended at 'opacity'.
void FillSpanAvx2(uint32_t colour, uint32_t opacity, SpanTarget target, int count);

}  // namespace media
