// The demo played on and on with random input that never quits: no crash, and memory that
// stays flat. The suite plays a few thousand frames; scripts/soak sets ORVAN_SOAK_MINUTES to
// play for that long, with a memory sample every minute.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "media/host.h"
#include "support/game_runner.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kSuiteFrames = 6000;
// What RSS may grow by after the first minute (or the first half of the suite's frames).
constexpr long kGrowthBoundKb = 8 * 1024;

long RssKb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:" && status >> value) return value;
    }
    return 0;
}

// Random keys in three phases: moves and bombs without the decision key; the cursor of any
// open menu walked up to its first item; moves that never go down, with the decision key.
// Every menu's quit item is below its first, and pause is never pressed, so the game can
// start, end and return to the title but never quit.
class NeverQuitInput {
public:
    void Apply(uint8_t keys[256]) {
        if (left_ == 0) Next();
        --left_;
        if (phase_ == 1) {
            keys[kUp] = 1;
            return;
        }
        std::uniform_int_distribution<int> coin(0, 9);
        if (coin(random_) < 3) bits_ = std::uniform_int_distribution<int>(0, 31)(random_);
        keys[kUp] = (bits_ & 1) != 0;
        keys[kLeft] = (bits_ & 2) != 0;
        keys[kRight] = (bits_ & 4) != 0;
        keys[kZ] = (bits_ & 8) != 0 && coin(random_) == 0;
        if (phase_ == 0) keys[kDown] = (bits_ & 16) != 0;
        if (phase_ == 2) keys[kX] = 1;
    }

private:
    static constexpr int kUp = 0xC8, kDown = 0xD0, kLeft = 0xCB, kRight = 0xCD, kX = 0x2D,
                         kZ = 0x2C;
    void Next() {
        phase_ = (phase_ + 1) % 3;
        const int lengths[3][2] = {{20, 150}, {20, 20}, {30, 400}};
        left_ = std::uniform_int_distribution<int>(lengths[phase_][0], lengths[phase_][1])(random_);
    }
    std::mt19937 random_{20240601};
    int phase_ = 2;
    int left_ = 0;
    int bits_ = 0;
};

TEST(Soak, TheDemoPlaysOnWithRandomInputAndFlatMemory) {
    const char* minutesText = std::getenv("ORVAN_SOAK_MINUTES");
    const double minutes = minutesText ? std::atof(minutesText) : 0.0;
    TempDir dir;
    fs::copy(ORVAN_DEMO_DATA, dir / "Data", fs::copy_options::recursive);
    GameRunner run(dir / "Data", 7);
    NeverQuitInput input;
    media::SetInputOverride([&input](uint32_t, uint8_t keys[256], int*) { input.Apply(keys); });
    ASSERT_TRUE(run.Start());

    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    long baseline = 0, peak = 0;
    int games = 0, sample = 0;
    for (;;) {
        const bool starting = run.Front() == kGameStart;
        ASSERT_TRUE(run.Frame()) << "the game ended in frame " << run.game().frame;
        games += starting;
        const uint32_t frame = run.game().frame;
        if (minutes > 0) {
            const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
            if (elapsed >= 60.0 * (sample + 1) || elapsed >= 60.0 * minutes) {
                ++sample;
                const long rss = RssKb();
                if (sample == 1) baseline = rss;
                peak = std::max(peak, rss);
                std::printf("soak: %5.1f min  frame %9u  games %5d  rss %6.1f MB\n", elapsed / 60.0,
                            frame, games, rss / 1024.0);
                std::fflush(stdout);
            }
            if (elapsed >= 60.0 * minutes) break;
        } else {
            if (frame == kSuiteFrames / 2) baseline = RssKb();
            if (frame % 100 == 0 && frame >= kSuiteFrames / 2) peak = std::max(peak, RssKb());
            if (frame >= kSuiteFrames) break;
        }
    }
    EXPECT_GE(games, 2) << "the random input should start games and get back to the title";
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizer holds freed memory back for a while: RSS says nothing here.
    baseline = peak;
#endif
    EXPECT_LE(peak - baseline, kGrowthBoundKb)
        << "RSS grew from " << baseline << " kB to " << peak << " kB";
}

}  // namespace
