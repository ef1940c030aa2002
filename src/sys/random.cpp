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

uint64_t RandCalls() {
    return g_calls;
}

}  // namespace sys
