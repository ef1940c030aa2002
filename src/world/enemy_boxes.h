// A snapshot of the enemies' hit boxes as the player's shots test them, kept in flat arrays
// so that a shot finds its first possible hit without walking the large enemy objects. The
// edges are computed exactly as TActor::Overlaps computes them, so a test against the
// snapshot gives the same answer as a test against the enemy, as long as nothing has been
// done to the enemies since the snapshot was taken.
#pragma once

#include <cstdint>

class TEnemy;
class TEnemyPool;

// An enemy definition's shotResponse that lets the player's shots pass through.
constexpr int32_t kShotsPassThrough = 1;

// Whether a player's shot that overlaps this enemy hits it: alive, and its definition does
// not let shots pass.
bool TakesPlayerShots(const TEnemy& enemy);

class TEnemyBoxes {
public:
    static constexpr int32_t kSize = 512;

    // Takes every slot's box and whether it takes the player's shots.
    void Capture(const TEnemyPool& pool);
    // True while the snapshot is of 'pool' and has not been declared out of date.
    bool IsCurrentFor(const TEnemyPool* pool) const { return pool != nullptr && pool_ == pool; }
    // Anything may have happened to the enemies: the next shot takes a new snapshot.
    void Invalidate() { pool_ = nullptr; }

    // The lowest slot that takes shots and whose box strictly overlaps a shot with these
    // edges (the shot's x + halfWidth, x - halfWidth, y + halfHeight, y - halfHeight);
    // kSize when there is none. Uses the processor's vector unit when it has AVX2.
    int32_t FirstOverlap(double right, double left, double bottom, double top) const;
    // The same answer, one slot at a time; the reference for the vector version.
    int32_t FirstOverlapPortable(double right, double left, double bottom, double top) const;

private:
    const TEnemyPool* pool_ = nullptr;
    alignas(32) double left_[kSize] = {};
    alignas(32) double right_[kSize] = {};
    alignas(32) double top_[kSize] = {};
    alignas(32) double bottom_[kSize] = {};
    // All bits set for a slot that takes shots, clear otherwise: a lane mask for the vector
    // comparisons.
    alignas(32) uint64_t takesShots_[kSize] = {};
};
