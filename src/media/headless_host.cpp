// The headless host: no window and no audio device. The picture stays in the back buffer
// for whoever inspects it; the mixer is pulled by the clock, 17 ms of samples per frame of
// the paced loop, so sounds end in the frame in which they would end on a sound card.
#include <vector>

#include "media/core.h"
#include "sys/sys.h"

namespace media {
namespace {

class HeadlessHost final : public Host {
public:
    bool Open(const WindowConfig&) override {
        open_ = true;
        lastPull_ = sys::TimeGetTime();
        remainder_ = 0;
        return true;
    }
    void Close() override { open_ = false; }
    void Present(const uint32_t*, int, int) override {}
    bool ProcessEvents() override { return open_; }
    void ReadInput(uint8_t keys[256], int* pad) override {
        for (int i = 0; i < 256; ++i) keys[i] = 0;
        *pad = 0;
    }
    int AudioRate() const override { return 0; }
    void AfterFrame(uint32_t nowMs) override {
        uint32_t elapsed = nowMs - lastPull_;
        lastPull_ = nowMs;
        // Whole sample frames for the elapsed milliseconds, carrying the remainder.
        uint64_t scaled = static_cast<uint64_t>(elapsed) * MixRate() + remainder_;
        int frames = static_cast<int>(scaled / 1000);
        remainder_ = static_cast<uint32_t>(scaled % 1000);
        if (frames <= 0) return;
        scratch_.resize(static_cast<size_t>(frames) * 2);
        PullAudio(scratch_.data(), frames);
    }

private:
    bool open_ = false;
    uint32_t lastPull_ = 0;
    uint32_t remainder_ = 0;
    std::vector<int16_t> scratch_;
};

}  // namespace

std::unique_ptr<Host> CreateHeadlessHost() { return std::make_unique<HeadlessHost>(); }

}  // namespace media
