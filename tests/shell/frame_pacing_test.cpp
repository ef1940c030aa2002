// Frame pacing and the frame-rate display on the virtual clock.
#include <gtest/gtest.h>

#include "base/app.h"
#include "media/host.h"
#include "media/inspect.h"
#include "media/media.h"
#include "shell/frame_rate.h"
#include "sys/sys.h"

class FramePacing : public testing::Test {
protected:
    void SetUp() override {
        sys::UseVirtualClock(true, 1000);
        media::SetHost(media::CreateHeadlessHost());
        ASSERT_EQ(MediaInit(), 0);
        FrameTiming() = TFrameTiming{};
        FrameTiming().lastFrameTime = sys::TimeGetTime();
    }
    void TearDown() override {
        MediaEnd();
        sys::UseVirtualClock(false);
    }
    TApp app;
};

// Each frame sleeps out the rest of 17 ms after its work; a slow frame is neither made up
// by a sleep nor caught up on afterwards; a quit request ends the loop before pacing.
TEST_F(FramePacing, EachFrameSleepsOutTheRestOf17MillisecondsAndASlowFrameIsNotMadeUp) {
    uint32_t start = sys::TimeGetTime();
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(app.BeginFrame());
    EXPECT_EQ(sys::TimeGetTime() - start, 170u);
    for (auto [work, duration] : {std::pair{5u, 17u}, {40u, 40u}, {0u, 17u}}) {
        start = sys::TimeGetTime();
        sys::Sleep(work);
        ASSERT_TRUE(app.BeginFrame());
        EXPECT_EQ(FrameTiming().lastDuration, work);
        EXPECT_EQ(sys::TimeGetTime() - start, duration) << work;
    }
    start = sys::TimeGetTime();
    app.quitRequest = 1;
    EXPECT_FALSE(app.BeginFrame());
    EXPECT_EQ(sys::TimeGetTime(), start);
}

// Frame 1 starts the window and is not counted; 59 frames of 17 ms fill 1003 ms. With the
// display off nothing is measured and the value is kept.
TEST_F(FramePacing, FrameRateShowsZeroUntilASecondHasBeenMeasured) {
    for (int frame = 1; frame <= 61; ++frame) {
        ASSERT_TRUE(app.BeginFrame());
        UpdateFrameRateDisplay(frame <= 60);
        ASSERT_EQ(media::DebugText(), frame == 61 ? "" : frame == 60 ? "FPS:59" : "FPS:0") << frame;
        if (frame == 60) EXPECT_FALSE(FrameTiming().measuring);
    }
    EXPECT_EQ(FrameTiming().displayedRate, 59u);
    EXPECT_FALSE(FrameTiming().measuring);
}
