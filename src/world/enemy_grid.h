// Where the enemies stand while the bullets move: a grid of 32-pixel cells over the play
// field and its margins, each listing (in slot order) the enemies whose hit boxes reach into
// it. A player's shot then tests only the enemies of the cells its own box touches, still in
// slot order and with the same comparisons, instead of all 512 slots.
//
// Enemies neither move nor change their boxes during the bullets' update; the only change is
// an enemy coming into play (a successor), which the pool reports with Added. Such
// newcomers, and enemies whose boxes are too wide or not numbers, sit in one short list that
// every query reads in full.
#pragma once

#include <array>
#include <cstdint>

class TEnemy;

class TEnemyGrid {
public:
    static constexpr int kMaxCandidates = 64;

    // Indexes the live enemies of the pool (512 of them) and makes the grid active.
    void Build(const TEnemy* enemies, int count);
    // Inactive: queries are refused and Added does nothing.
    void Clear() { active_ = false; }
    bool Active() const { return active_; }
    // An enemy came into play in 'slot' while the grid is active.
    void Added(int32_t slot);
    // Counts the calls of Added, so that a scan notices a newcomer.
    uint32_t Additions() const { return additions_; }

    // The slots above 'after' of every indexed enemy that may overlap the box with these
    // edges, ascending and each once, written to 'out' (kMaxCandidates of room). Returns
    // their number, or -1 when the box is too wide or too crowded for the grid: the caller
    // then tests every slot.
    int Candidates(double left, double right, double top, double bottom, int32_t after,
                   int32_t* out) const;

private:
    static constexpr int kCell = 32;
    static constexpr int kColumns = 17;  // x from -64 to 480; beyond, the edge cells
    static constexpr int kRows = 19;     // y from -64 to 544
    static constexpr int kCells = kColumns * kRows;
    static constexpr int kMaxCellsPerBox = 16;
    static constexpr int kMaxSlots = 512;

    // The cell range of an interval whose ends may come in either order; false for NaN.
    static bool Span(double a, double b, int limit, int* first, int* last);

    bool active_ = false;
    bool overflow_ = false;  // more newcomers than the list holds: queries are refused
    uint32_t additions_ = 0;
    std::array<uint16_t, kCells + 1> start_{};
    std::array<int16_t, kMaxSlots * kMaxCellsPerBox> entries_{};
    std::array<int16_t, kMaxSlots * 2> everywhere_{};
    int everywhereCount_ = 0;
};
