#include "base/app.h"

#include "base/check.h"
#include "base/paths.h"
#include "media/media.h"
#include "sys/sys.h"

TFrameTiming& FrameTiming() {
    static TFrameTiming timing;
    return timing;
}

void TApp::Init(TString windowTitle, bool windowed) {
    SetAppLogEnabled(1);
    SetScreenMode(640, 480, GetScreenColorDepth(), 60);
    SetWindowTitle(windowTitle.c_str());
    ChangeWindowMode(windowed ? 1 : 0);
    if (MediaInit() == -1) CHECK_FAILED("TMedia.cpp", 67);
    SetDrawTarget(-2);
    SetDrawFilterMode(0);
    SetDefaultFontSize(13);
    SetDefaultFontThickness(1);
    SetDefaultFontName(Sjis("ＭＳ ゴシック").c_str(), -1);
    SetDefaultFontType(2);
    sys::TimeBeginPeriod(1);
}

bool TApp::BeginFrame() {
    if (!BeginHostFrame(true)) return false;
    BeginDraw();
    return true;
}

bool TApp::BeginHostFrame(bool pace) {
    FlipScreen();
    if (ProcessMessage() == -1 || quitRequest) return false;
    // A slow frame is not made up: there is no catching up and no frame skipping.
    TFrameTiming& t = FrameTiming();
    uint32_t elapsed = sys::TimeGetTime() - t.lastFrameTime;
    t.lastDuration = elapsed;
    if (pace && elapsed < 17) sys::Sleep(17 - elapsed);
    t.lastFrameTime = sys::TimeGetTime();
    GetKeyStateAll(keys);
    return true;
}

void TApp::BeginDraw() {
    SetDrawBrightness(fade, fade, fade);
    ClearScreen();
    ClearScreenPrint();
}
