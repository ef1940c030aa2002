// The frame-rate display: measures over windows of at least one second and prints
// "FPS:%0d" while the display flag is on.
#pragma once

void UpdateFrameRateDisplay(bool showFps);
