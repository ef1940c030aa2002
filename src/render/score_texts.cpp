#include "render/score_texts.h"

#include <cstdio>

namespace {
// Room for any unsigned 32-bit number with its terminator.
constexpr size_t kCapacity = 16;
}  // namespace

void TScoreTexts::Format(uint32_t best, uint32_t score, int32_t bombs, int32_t lives) {
    Put(best_, "%09u", best);
    Put(score_, "%09u", score);
    Put(bombs_, "%02u", static_cast<unsigned>(bombs));
    Put(lives_, "%02u", lives < 0 ? 0u : static_cast<unsigned>(lives));
}

void TScoreTexts::Put(TString& text, const char* format, unsigned value) {
    // Only this function writes the texts, so a buffer that exists has kCapacity bytes.
    if (!text.HasBuffer() && !text.Resize(kCapacity)) return;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    std::snprintf(text.data(), kCapacity, format, value);
#pragma GCC diagnostic pop
}
