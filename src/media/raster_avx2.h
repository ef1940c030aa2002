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

// What a loop does with each source pixel: the source's colour channels are first
// multiplied by the brightness (each x / 255, rounded; 255 leaves them alone), then combined
// with the destination by 'op' at 'opacity'.
struct SpanMode {
    SpanOp op = SpanOp::kCopy;
    uint32_t opacity = 255;
    int brightR = 255, brightG = 255, brightB = 255;
    bool Bright() const { return brightR != 255 || brightG != 255 || brightB != 255; }
};

// True when the processor runs the AVX2 loops and they have not been switched off.
bool Avx2Enabled();
// Tests switch the fast loops off to compare them with the portable ones.
void SetAvx2Allowed(bool allowed);

// Where the destination ends: a loop may rewrite unchanged pixels up to here with whole
// vectors instead of masked stores, which are slow on some processors. It is the end of
// the rows this draw may touch, never beyond them.
struct SpanTarget {
    uint32_t* dst;
    const uint32_t* limit;
};

// The sampled loops keep positions in 32 bits: they take pictures up to this side and
// steps (16.16 picture positions per destination pixel) below kMaxSampledStep, that is
// pictures shrunk no further than 1/256. Anything else goes to the portable loops.
constexpr int kMaxSampledSide = 8192;
constexpr int64_t kMaxSampledStep = int64_t(1) << 24;

// Rows of destination pixels (rows 'dstPitch' apart) sampled from a picture with 'pitch'
// pixels a row: column i of row k samples the 16.16 position (u, v) + i (duX, dvX) +
// k (duY, dvY). Only columns first[k] to last[k] of row k are looked at (none when
// first > last), and of those only the ones whose position lies in [uLo, uHi] x [vLo, vHi],
// a part of the picture, are drawn; all but the first and the last must lie there.
struct SampledRows {
    int rows, dstPitch;
    const uint32_t* src;
    int pitch;
    int64_t u, v, duX, dvX, duY, dvY;
    int64_t uLo, uHi, vLo, vHi;
    const int16_t* first;
    const int16_t* last;
};
void SampledRowsAvx2(const SpanMode& mode, SpanTarget target, const SampledRows& rows);

// Which columns of 'rows' rows to look at, from lines that estimate where the sampled
// positions enter and leave the picture: row k from the larger of aU + k stepU and
// aV + k stepV to the smaller of bU + k stepU and bV + k stepV. The result reaches a column
// past each end of the estimate, within 0 to n - 1; first > last for none.
struct SpanLines {
    double aU, bU, stepU, aV, bV, stepV;
};
void EstimateSpansAvx2(const SpanLines& lines, int rows, int n, int16_t* first, int16_t* last);

// 'count' consecutive source pixels, read forwards or (reversed) backwards from 'src'.
void RowSpanAvx2(const SpanMode& mode, SpanTarget target, int count, const uint32_t* src,
                 bool reversed);

// 'count' pixels of one XRGB colour, solid or blended at 'opacity'.
void FillSpanAvx2(uint32_t colour, uint32_t opacity, SpanTarget target, int count);

}  // namespace media
