#include "world/enemy_grid.h"

#include <algorithm>
#include <cmath>

#include "world/enemy.h"

bool TEnemyGrid::Span(double a, double b, int limit, int* first, int* last) {
    if (std::isnan(a) || std::isnan(b)) return false;
    // Scaling by a power of two, flooring and clamping all keep the order of values, so two
    // intervals that share a point share that point's cell.
    auto cell = [limit](double v) {
        return static_cast<int>(
            std::clamp(std::floor(v * (1.0 / kCell)) + 2.0, 0.0, static_cast<double>(limit - 1)));
    };
    *first = cell(std::min(a, b));
    *last = cell(std::max(a, b));
    return true;
}

void TEnemyGrid::Build(const TEnemy* enemies, int count) {
    active_ = true;
    overflow_ = false;
    everywhereCount_ = 0;
    count = std::min(count, kMaxSlots);
    // Each enemy's cell box; an enemy in the everywhere list or not alive gets none.
    struct Box {
        int8_t x0 = 0, x1 = -1, y0 = 0, y1 = -1;
    };
    std::array<Box, kMaxSlots> boxes{};
    std::array<uint16_t, kCells + 1> counts{};
    for (int slot = 0; slot < count; ++slot) {
        const TEnemy& e = enemies[slot];
        if (!e.alive) continue;
        // The edges exactly as the shots compare them.
        int x0, x1, y0, y1;
        const bool spans = Span(e.x - e.halfWidth, e.x + e.halfWidth, kColumns, &x0, &x1) &&
                           Span(e.y - e.halfHeight, e.y + e.halfHeight, kRows, &y0, &y1);
        if (!spans || (x1 - x0 + 1) * (y1 - y0 + 1) > kMaxCellsPerBox) {
            everywhere_[everywhereCount_++] = static_cast<int16_t>(slot);
            continue;
        }
        boxes[slot] = {int8_t(x0), int8_t(x1), int8_t(y0), int8_t(y1)};
        for (int cy = y0; cy <= y1; ++cy)
            for (int cx = x0; cx <= x1; ++cx) ++counts[cy * kColumns + cx + 1];
    }
    for (int c = 0; c < kCells; ++c) counts[c + 1] += counts[c];
    start_ = counts;
    // Filled in slot order, so every cell lists its enemies in slot order.
    for (int slot = 0; slot < count; ++slot) {
        const Box& b = boxes[slot];
        for (int cy = b.y0; cy <= b.y1; ++cy)
            for (int cx = b.x0; cx <= b.x1; ++cx)
                entries_[counts[cy * kColumns + cx]++] = static_cast<int16_t>(slot);
    }
}

void TEnemyGrid::Added(int32_t slot) {
    if (!active_) return;
    ++additions_;
    if (everywhereCount_ == static_cast<int>(everywhere_.size())) {
        overflow_ = true;  // every query falls back to all slots for the rest of the update
        return;
    }
    everywhere_[everywhereCount_++] = static_cast<int16_t>(slot);
}

int TEnemyGrid::Candidates(double left, double right, double top, double bottom, int32_t after,
                           int32_t* out) const {
    if (!active_ || overflow_) return -1;
    int x0, x1, y0, y1;
    if (!Span(left, right, kColumns, &x0, &x1) || !Span(top, bottom, kRows, &y0, &y1)) return -1;
    if ((x1 - x0 + 1) * (y1 - y0 + 1) > kMaxCellsPerBox) return -1;
    int n = 0;
    auto take = [&](int32_t slot) {
        if (slot <= after) return true;
        if (n == kMaxCandidates) return false;
        out[n++] = slot;
        return true;
    };
    for (int cy = y0; cy <= y1; ++cy) {
        for (int cx = x0; cx <= x1; ++cx) {
            const int cell = cy * kColumns + cx;
            for (int k = start_[cell]; k < start_[cell + 1]; ++k)
                if (!take(entries_[k])) return -1;
        }
    }
    for (int k = 0; k < everywhereCount_; ++k)
        if (!take(everywhere_[k])) return -1;
    // An enemy whose box covers several of these cells is listed once per cell.
    std::sort(out, out + n);
    return static_cast<int>(std::unique(out, out + n) - out);
}
