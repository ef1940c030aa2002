// One random stream for the whole game with the classic C library contract: the rules of
// the game fix the order of every draw, so nothing else may take numbers from it.
#include "sys/sys.h"

namespace sys {
namespace {
uint32_t g_state = 1;
uint64_t g_calls = 0;
}  // namespace

void SeedRandom(uint32_t seed) {
    g_state = seed;
}

int Rand() {
    ++g_calls;
    g_state = g_state * 214013u + 2531011u;
    return static_cast<int>((g_state >> 16) & 0x7FFF);
}

void SkipRandom(uint64_t draws) {
    g_calls += draws;
    // n steps of x -> a x + c are one step of x -> A x + C; (A, C) is built by squaring.
    uint32_t mul = 1, add = 0;
    uint32_t stepMul = 214013u, stepAdd = 2531011u;
    for (; draws; draws >>= 1) {
        if (draws & 1) {
            mul *= stepMul;
            add = add * stepMul + stepAdd;
        }
        stepAdd *= stepMul + 1;
        stepMul *= stepMul;
    }
    g_state = g_state * mul + add;
}

uint64_t RandCalls() {
    return g_calls;
}

}  // namespace sys
