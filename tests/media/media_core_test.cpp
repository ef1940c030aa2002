// The media layer's life on the headless host: scripted input and quitting; and its one
// recursive lock, held by one thread at a time and served first come first served.
#include <gtest/gtest.h>

#include <thread>

#include "media/host.h"
#include "media/input_script.h"
#include "media/lock.h"
#include "media/media.h"
#include "sys/sys.h"

namespace {

using media::InputScript;

class HeadlessMedia : public testing::Test {
protected:
    void SetUp() override {
        media::SetHost(media::CreateHeadlessHost());
        ASSERT_EQ(MediaInit(), 0);
    }
    void TearDown() override {
        MediaEnd();
        media::SetInputOverride(nullptr);
        sys::ClearQuit();
    }
};

TEST_F(HeadlessMedia, InputOverrideFeedsTheFrameBeingRead) {
    media::SetInputOverride([](uint32_t frame, uint8_t keys[256], int* pad) {
        if (frame == 2) keys[0x2D] = 1, *pad = 0x40;
    });
    unsigned char keys[256];
    for (int frame = 1; frame <= 2; ++frame) {  // frame 1: no key, and no joystick
        FlipScreen();
        GetKeyStateAll(keys);
        EXPECT_EQ(keys[0x2D], frame - 1);
        EXPECT_EQ(GetPadInput(1), frame == 2 ? 0x40 : 0);
    }
    EXPECT_EQ(GetPadInput(0x1001), 0x40);
}

TEST_F(HeadlessMedia, QuitRequestAndMediaEndStopTheLoop) {
    EXPECT_EQ(ProcessMessage(), 0);
    sys::PostQuitMessage(1);
    EXPECT_EQ(ProcessMessage(), -1);
    sys::ClearQuit();
    EXPECT_EQ(MediaEnd(), 0);
    EXPECT_EQ(ProcessMessage(), -1);
    EXPECT_EQ(FlipScreen(), -1);
    EXPECT_EQ(MediaEnd(), 0);  // a second call changes nothing
}

TEST(InputScript, HoldsNamesOverTheirSpansAndReportsTheLineOfABadEntry) {
    InputScript s;
    std::string error;
    ASSERT_TRUE(s.Parse("# start the game\n10-12 X\n11 up pad3 # both\n20 PADUP PAD24\n", &error))
        << error;
    // Frame by frame: X (scan code 0x2D), Up (0xC8) and the pad bits.
    const struct {
        uint32_t frame;
        int x, up, pad;
    } frames[] = {{9, 0, 0, 0},  {10, 1, 0, 0}, {11, 1, 1, 0x40},
                  {12, 1, 0, 0}, {13, 0, 0, 0}, {20, 0, 0, 0x8 | 0x10 << 23}};
    for (auto [frame, x, up, pad] : frames) {
        uint8_t keys[256] = {};
        int bits = 0;
        s.Apply(frame, keys, &bits);
        EXPECT_EQ(keys[0x2D], x) << frame;
        EXPECT_EQ(keys[0xC8], up) << frame;
        EXPECT_EQ(bits, pad) << frame;
    }
    // A bad entry is reported by its line; F1..F12 are names.
    EXPECT_FALSE(s.Parse("1 X\n\n5-3 Z\n", &error));
    EXPECT_NE(error.find("line 3"), std::string::npos);
    EXPECT_FALSE(s.Parse("1 X\n2 JUMP\n", &error));
    EXPECT_NE(error.find("line 2"), std::string::npos);
    EXPECT_NE(error.find("JUMP"), std::string::npos);
    for (const char* bad : {"abc X\n", "7\n", "1 PAD25\n", "99999999999 X\n"})
        EXPECT_FALSE(s.Parse(bad, &error)) << bad;
    const std::pair<const char*, int> keys[] = {{"F1", 0x3B},  {"f6", 0x40},  {"F10", 0x44},
                                                {"F11", 0x57}, {"F12", 0x58}, {"F13", -1},
                                                {"F0", -1},    {"F01", -1}};
    for (auto [name, code] : keys) {
        int got = 0, pad = 0;
        EXPECT_EQ(media::LookUpInputName(name, &got, &pad), code != -1) << name;
        EXPECT_EQ(got, code) << name;
    }
}

TEST(MediaLock, IsRecursiveExcludesOthersAndServesThemInArrivalOrder) {
    media::MediaLock lock;
    lock.Lock();
    lock.Lock();
    EXPECT_EQ(lock.RecursionCount(), 2);
    std::vector<int> order;  // guarded by the lock itself
    std::vector<std::thread> threads;
    for (int i = 0; i < 6; ++i) {
        threads.emplace_back([&, i] {
            lock.Lock();
            order.push_back(i);
            lock.Unlock();
        });
        // Each thread queues before the next one starts.
        for (int k = 0; k < 5000 && lock.WaiterCount() != size_t(i + 1); ++k)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    lock.Unlock();
    EXPECT_TRUE(lock.OwnedByCurrentThread());
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(order.empty());  // still held once
    lock.Unlock();
    EXPECT_FALSE(lock.OwnedByCurrentThread());
    for (auto& t : threads) t.join();
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

}  // namespace
