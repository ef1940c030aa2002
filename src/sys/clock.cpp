// The millisecond clock and Sleep. A real run reads the milliseconds since the system
// started; a headless run uses a virtual clock that only moves when the game sleeps, so that
// every frame of the paced loop takes exactly the 17 ms it asks for and a run is as fast as
// the machine allows.
#include <atomic>
#include <chrono>
#include <thread>

#include "sys/sys.h"

namespace sys {
namespace {

std::atomic<bool> g_virtual{false};
std::atomic<uint32_t> g_virtualNow{0};

uint32_t UptimeMs() {
    // The steady clock counts from the system's start, so its value differs from launch to
    // launch: the random generator is seeded from it. It wraps after 49.7 days, and the
    // game only ever takes unsigned differences of it.
    using namespace std::chrono;
    auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<uint32_t>(ms);
}

}  // namespace

uint32_t TimeGetTime() {
    return g_virtual ? g_virtualNow.load() : UptimeMs();
}

void Sleep(uint32_t ms) {
    if (g_virtual) {
        g_virtualNow += ms;
        return;
    }
    if (ms == 0) {
        std::this_thread::yield();
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void TimeBeginPeriod(uint32_t) {}
void TimeEndPeriod(uint32_t) {}

void UseVirtualClock(bool on, uint32_t start) {
    g_virtualNow = start;
    g_virtual = on;
}

bool VirtualClockActive() {
    return g_virtual;
}

}  // namespace sys
