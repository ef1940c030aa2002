// The scene script that drives a stage, and the maps with their order, which the game
// loads and keeps but never uses.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "base/paths.h"
#include "base/tstring.h"

// One command of the scene script: a code and six parameters, all stored. An entry starts
// as a wait of 1000 frames before the stored words are read over it.
struct TSceneCommand {
    int32_t command = 0;
    int32_t p1 = 1000;
    int32_t p2 = 0;
    int32_t p3 = 0;
    int32_t p4 = 0;
    int32_t p5 = 0;
    int32_t p6 = 0;
};

constexpr int kSceneCommandBytes = 7 * 4;

constexpr int kMapCellWords = 13;
constexpr int kMapCellBytes = kMapCellWords * 4;
using TMapCell = std::array<int32_t, kMapCellWords>;

struct TMapDef {
    TString name = kUnregistered;
    int32_t value = 0;
    std::vector<TMapCell> cells;
};
