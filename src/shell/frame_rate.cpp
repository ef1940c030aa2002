#include "shell/frame_rate.h"

#include "base/app.h"
#include "media/media.h"
#include "sys/sys.h"

void UpdateFrameRateDisplay(bool showFps) {
    if (!showFps) return;
    TFrameTiming& t = FrameTiming();
    uint32_t now = sys::TimeGetTime();
    if (!t.measuring) {
        // This frame starts a new window and is not counted.
        t.measureStart = sys::TimeGetTime();
        t.measuring = true;
    } else {
        ++t.framesCounted;
        if (now - t.measureStart >= 1000) {
            t.displayedRate = t.framesCounted;
            t.framesCounted = 0;
            t.measuring = false;
        }
    }
    PrintToScreen("FPS:%0d", static_cast<int>(t.displayedRate));
}
