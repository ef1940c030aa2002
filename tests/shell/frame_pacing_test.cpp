// Frame pacing and the frame-rate display on the virtual clock.
#include <gtest/gtest.h>

#include "base/app.h"
#include "media/host.h"
#include "media/inspect.h"
#include "media/media.h"
#include "shell/frame_rate.h"
#include "sys/sys.h"

namespace {
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
}  // namespace

TEST_F(FramePacing, EachFrameSleepsOutTheRestOf17Milliseconds) {
    uint32_t start = sys::TimeGetTime();
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(app.BeginFrame());
    EXPECT_EQ(sys::TimeGetTime() - start, 170u);
    // Work of 5 ms is made up to 17 by the sleep.
    sys::Sleep(5);
    ASSERT_TRUE(app.BeginFrame());
    EXPECT_EQ(FrameTiming().lastDuration, 5u);
    EXPECT_EQ(sys::TimeGetTime() - start, 187u);
}

TEST_F(FramePacing, ASlowFrameIsNotMadeUp) {
    ASSERT_TRUE(app.BeginFrame());
    uint32_t before = sys::TimeGetTime();
    sys::Sleep(40);  // a frame whose work took 40 ms
    ASSERT_TRUE(app.BeginFrame());
    EXPECT_EQ(FrameTiming().lastDuration, 40u);
    EXPECT_EQ(sys::TimeGetTime() - before, 40u);  // no sleep, and no catching up after it
    ASSERT_TRUE(app.BeginFrame());
    EXPECT_EQ(sys::TimeGetTime() - before, 57u);
}

TEST_F(FramePacing, FrameRateShowsZeroUntilASecondHasBeenMeasured) {
    // Frame 1 starts the window and is not counted; 59 frames of 17 ms fill 1003 ms.
    for (int frame = 1; frame <= 59; ++frame) {
        ASSERT_TRUE(app.BeginFrame());
        UpdateFrameRateDisplay(true);
        ASSERT_EQ(media::DebugText(), "FPS:0") << frame;
    }
    ASSERT_TRUE(app.BeginFrame());
    UpdateFrameRateDisplay(true);
    EXPECT_EQ(media::DebugText(), "FPS:59");
    EXPECT_FALSE(FrameTiming().measuring);
    // With the display off nothing is measured and the value is kept.
    ASSERT_TRUE(app.BeginFrame());
    UpdateFrameRateDisplay(false);
    EXPECT_EQ(media::DebugText(), "");
    EXPECT_EQ(FrameTiming().displayedRate, 59u);
    EXPECT_FALSE(FrameTiming().measuring);
}

TEST_F(FramePacing, AQuitRequestEndsTheLoopBeforePacing) {
    uint32_t before = sys::TimeGetTime();
    app.quitRequest = 1;
    EXPECT_FALSE(app.BeginFrame());
    EXPECT_EQ(sys::TimeGetTime(), before);
}
