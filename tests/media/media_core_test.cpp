// The media layer's life on the headless host: scripted input and quitting.
#include <gtest/gtest.h>

#include "media/host.h"
#include "media/inspect.h"
#include "media/media.h"
#include "sys/sys.h"

namespace {

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
        if (frame == 2) keys[0x2D] = 1;
        if (frame == 2) *pad = 0x40;
    });
    unsigned char keys[256];
    FlipScreen();  // frame 1: no key, and no joystick
    GetKeyStateAll(keys);
    EXPECT_EQ(keys[0x2D], 0);
    EXPECT_EQ(GetPadInput(1), 0);
    FlipScreen();
    GetKeyStateAll(keys);
    EXPECT_EQ(keys[0x2D], 1);
    EXPECT_EQ(GetPadInput(1), 0x40);
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

}  // namespace
