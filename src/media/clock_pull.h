// Pulls the mixer by the clock when no audio device does it: the samples of the elapsed
// milliseconds are mixed and thrown away, so that sounds end when they would on a sound card.
#pragma once

#include <cstdint>
#include <vector>

#include "media/host.h"

namespace media {

class ClockPull {
public:
    void Restart(uint32_t nowMs) {
        last_ = nowMs;
        remainder_ = 0;
    }
    // A long stall (a debugger, a suspended machine) is not made up beyond one second.
    void PullUntil(uint32_t nowMs) {
        constexpr uint32_t kCapMs = 1000;
        uint32_t elapsed = nowMs - last_;
        last_ = nowMs;
        if (elapsed > kCapMs) elapsed = kCapMs;
        // Whole sample frames for the elapsed milliseconds, carrying the remainder.
        uint64_t scaled = static_cast<uint64_t>(elapsed) * MixRate() + remainder_;
        int frames = static_cast<int>(scaled / 1000);
        remainder_ = static_cast<uint32_t>(scaled % 1000);
        if (frames <= 0) return;
        scratch_.resize(static_cast<size_t>(frames) * 2);
        PullAudio(scratch_.data(), frames);
    }

private:
    uint32_t last_ = 0;
    uint32_t remainder_ = 0;
    std::vector<int16_t> scratch_;
};

}  // namespace media
