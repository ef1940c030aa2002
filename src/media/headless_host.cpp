// The headless host: no window and no audio device. The picture stays in the back buffer
// for whoever inspects it; the mixer is pulled by the clock, 17 ms of samples per frame of
// the paced loop, so sounds end in the frame in which they would end on a sound card.
#include "media/clock_pull.h"
#include "media/core.h"
#include "sys/sys.h"

namespace media {
namespace {

class HeadlessHost final : public Host {
public:
    bool Open(const WindowConfig&) override {
        open_ = true;
        pull_.Restart(sys::TimeGetTime());
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
    void PullAudioByClock(uint32_t nowMs) override { pull_.PullUntil(nowMs); }

private:
    bool open_ = false;
    ClockPull pull_;
};

}  // namespace

std::unique_ptr<Host> CreateHeadlessHost() {
    return std::make_unique<HeadlessHost>();
}

}  // namespace media
