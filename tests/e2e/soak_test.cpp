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

constexpr uint32_t kSuiteFrames = 6000;
// What RSS may grow by after the first minute (or the first half of the suite's frames).
constexpr long kGrowthBoundKb = 8 * 1024;

long RssKb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key)
        if (key == "VmRSS:" && status >> value) return value;
    return 0;
}

// Random keys in phases of random length: moves and bombs without the decision key; then 20
// frames of UP, which walk any open menu's cursor to its first item; then moves that never
// go down, with the decision key held. Every menu's quit item lies below its first, and pause
// is never pressed, so games start, end and return to the title, but the program never quits.
struct NeverQuitInput {
    std::mt19937 random{20240601};
    int phase = 2, left = 0, bits = 0;
    int Between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); }
    void Apply(uint8_t keys[256]) {
        if (left-- == 0) {
            phase = (phase + 1) % 3;
            left = phase == 1 ? 20 : Between(20, phase == 0 ? 150 : 400);
        }
        if (Between(0, 9) < 3) bits = Between(0, 31);
        keys[0xC8] = phase == 1 || (bits & 1);                    // up
        keys[0xCB] = (bits >> 1) & 1;                             // left
        keys[0xCD] = (bits >> 2) & 1;                             // right
        keys[0x2C] = phase != 1 && (bits & 8) && !Between(0, 9);  // bomb, now and then
        keys[0xD0] = phase == 0 && (bits & 16);                   // down
        keys[0x2D] = phase == 2;                                  // fire and decide
    }
};

TEST(Soak, TheDemoPlaysOnWithRandomInputAndFlatMemory) {
    const char* minutesText = std::getenv("ORVAN_SOAK_MINUTES");
    const double minutes = minutesText ? std::atof(minutesText) : 0.0;
    TempDir dir;
    std::filesystem::copy(ORVAN_DEMO_DATA, dir / "Data", std::filesystem::copy_options::recursive);
    GameRunner run(dir / "Data", 7);
    NeverQuitInput input;
    media::SetInputOverride([&input](uint32_t, uint8_t keys[256], int*) { input.Apply(keys); });
    ASSERT_TRUE(run.Start());

    const auto start = std::chrono::steady_clock::now();
    long baseline = 0, peak = 0;
    int games = 0, samples = 0;
    for (bool done = false; !done;) {
        games += run.Front() == kGameStart;
        ASSERT_TRUE(run.Frame()) << "the game ended in frame " << run.game().frame;
        const uint32_t frame = run.game().frame;
        if (minutes <= 0) {
            if (frame == kSuiteFrames / 2) baseline = RssKb();
            if (frame % 100 == 0 && frame > kSuiteFrames / 2) peak = std::max(peak, RssKb());
            done = frame >= kSuiteFrames;
            continue;
        }
        const double elapsed =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        done = elapsed >= 60.0 * minutes;
        if (elapsed < 60.0 * (samples + 1) && !done) continue;
        const long rss = RssKb();
        if (++samples == 1) baseline = rss;
        peak = std::max(peak, rss);
        std::printf("soak: %5.1f min  frame %9u  games %5d  rss %6.1f MB\n", elapsed / 60.0, frame,
                    games, rss / 1024.0);
        std::fflush(stdout);
    }
    EXPECT_GE(games, 2) << "the random input should start games and get back to the title";
#if defined(__SANITIZE_ADDRESS__)
    baseline = peak;  // the sanitizer holds freed memory back for a while: RSS says nothing
#endif
    EXPECT_LE(peak - baseline, kGrowthBoundKb) << "RSS grew from " << baseline << " to " << peak;
}

}  // namespace
