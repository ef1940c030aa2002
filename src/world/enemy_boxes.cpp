#include "world/enemy_boxes.h"

#include "project/actor_defs.h"
#include "world/enemy.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ORVAN_HAVE_AVX2_PATH 1
#endif

static_assert(TEnemyBoxes::kSize == TEnemyPool::kSize, "one box per enemy slot");

namespace {

#ifdef ORVAN_HAVE_AVX2_PATH

bool Avx2Available() {
    static const bool supported = __builtin_cpu_supports("avx2");
    return supported;
}

// Four slots per step. The ordered, non-signalling comparisons are false whenever an operand
// is not a number, exactly like the scalar < and >, so every lane agrees with the portable
// test; the first set lane in slot order is the answer.
__attribute__((target("avx2"))) int32_t FirstOverlapAvx2(const double* lefts, const double* rights,
                                                         const double* tops, const double* bottoms,
                                                         const uint64_t* takesShots, double right,
                                                         double left, double bottom, double top) {
    const __m256d shotRight = _mm256_set1_pd(right);
    const __m256d shotLeft = _mm256_set1_pd(left);
    const __m256d shotBottom = _mm256_set1_pd(bottom);
    const __m256d shotTop = _mm256_set1_pd(top);
    for (int32_t i = 0; i < TEnemyBoxes::kSize; i += 4) {
        const __m256d x =
            _mm256_and_pd(_mm256_cmp_pd(shotRight, _mm256_loadu_pd(lefts + i), _CMP_GT_OQ),
                          _mm256_cmp_pd(shotLeft, _mm256_loadu_pd(rights + i), _CMP_LT_OQ));
        const __m256d y =
            _mm256_and_pd(_mm256_cmp_pd(shotBottom, _mm256_loadu_pd(tops + i), _CMP_GT_OQ),
                          _mm256_cmp_pd(shotTop, _mm256_loadu_pd(bottoms + i), _CMP_LT_OQ));
        const __m256d takes = _mm256_castsi256_pd(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(takesShots + i)));
        const int lanes = _mm256_movemask_pd(_mm256_and_pd(_mm256_and_pd(x, y), takes));
        if (lanes != 0) return i + __builtin_ctz(static_cast<unsigned>(lanes));
    }
    return TEnemyBoxes::kSize;
}

#endif

}  // namespace

bool TakesPlayerShots(const TEnemy& enemy) {
    return enemy.alive &&
           !(enemy.definition && enemy.definition->shotResponse == kShotsPassThrough);
}

void TEnemyBoxes::Capture(const TEnemyPool& pool) {
    for (int32_t i = 0; i < kSize; ++i) {
        const TEnemy& e = pool.enemies[i];
        left_[i] = e.x - e.halfWidth;
        right_[i] = e.x + e.halfWidth;
        top_[i] = e.y - e.halfHeight;
        bottom_[i] = e.y + e.halfHeight;
        takesShots_[i] = TakesPlayerShots(e) ? ~uint64_t{0} : 0;
    }
    pool_ = &pool;
}

int32_t TEnemyBoxes::FirstOverlap(double right, double left, double bottom, double top) const {
#ifdef ORVAN_HAVE_AVX2_PATH
    if (Avx2Available()) {
        return FirstOverlapAvx2(left_, right_, top_, bottom_, takesShots_, right, left, bottom,
                                top);
    }
#endif
    return FirstOverlapPortable(right, left, bottom, top);
}

int32_t TEnemyBoxes::FirstOverlapPortable(double right, double left, double bottom,
                                          double top) const {
    for (int32_t i = 0; i < kSize; ++i) {
        if (takesShots_[i] && right > left_[i] && left < right_[i] && bottom > top_[i] &&
            top < bottom_[i])
            return i;
    }
    return kSize;
}
