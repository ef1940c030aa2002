// The media core: life cycle, window settings, the frame (flip, messages, keys, brightness,
// clear, debug text) and input. Every operation takes the media lock.
#include "media/core.h"

#include <cstdio>
#include <cstring>

#include "media/draw_list.h"
#include "media/inspect.h"
#include "media/media.h"
#include "sys/sys.h"

namespace media {
namespace {

std::unique_ptr<Host>& HostSlot() {
    static std::unique_ptr<Host> host;
    return host;
}
InputOverride g_override;
InputObserver g_observer;
FILE* g_log = nullptr;
bool g_logTruncated = false;

}  // namespace

Core& TheCore() {
    static Core core;
    return core;
}

Surface BackSurface() {
    Core& c = TheCore();
    // With pixels off every operation clips against an empty screen.
    if (!c.pixelsWritten) return Surface{c.backBuffer.data(), 0, 0, kScreenWidth};
    return Surface{c.backBuffer.data(), kScreenWidth, kScreenHeight, kScreenWidth};
}

void SetPixelsWritten(bool on) {
    MediaLockGuard g;
    TheCore().pixelsWritten = on;
}

void SetHost(std::unique_ptr<Host> host) {
    MediaLockGuard g;
    HostSlot() = std::move(host);
}

Host& CurrentHost() {
    std::unique_ptr<Host>& h = HostSlot();
    if (!h) h = CreateSdlHost();
    return *h;
}

void SetInputOverride(InputOverride source) {
    MediaLockGuard g;
    g_override = std::move(source);
}

void SetInputObserver(InputObserver observer) {
    MediaLockGuard g;
    g_observer = std::move(observer);
}

void Log(const char* format, ...) {
    MediaLockGuard g;
    if (!TheCore().logEnabled) return;
    if (!g_log) {
        // The first line of a run replaces an older log.
        g_log = sys::OpenProgramFile("AppLog.txt", g_logTruncated ? "ab" : "wb");
        g_logTruncated = true;
        if (!g_log) return;
    }
    char line[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    std::fprintf(g_log, "%s\n", line);
    std::fflush(g_log);
}

void CloseLog() {
    if (g_log) std::fclose(g_log);
    g_log = nullptr;
}

uint32_t ColourToXrgb(int colour) {
    Core& c = TheCore();
    uint32_t v = static_cast<uint32_t>(colour);
    if (c.depth == 16) {
        uint32_t r = (v >> 11) & 0x1F, g = (v >> 5) & 0x3F, b = v & 0x1F;
        r = (r << 3) | (r >> 2);
        g = (g << 2) | (g >> 4);
        b = (b << 3) | (b >> 2);
        return (r << 16) | (g << 8) | b;
    }
    return v & 0xFFFFFF;
}

const uint32_t* BackBuffer() {
    MediaLockGuard g;
    FlushDrawing();
    return TheCore().backBuffer.data();
}
void CopyBackBuffer(std::vector<uint32_t>& out) {
    MediaLockGuard g;
    out = TheCore().backBuffer;
}
void PutBackBuffer(const std::vector<uint32_t>& pixels) {
    MediaLockGuard g;
    std::vector<uint32_t>& back = TheCore().backBuffer;
    if (pixels.size() == back.size()) back = pixels;
}
int ScreenWidth() {
    return kScreenWidth;
}
int ScreenHeight() {
    return kScreenHeight;
}
uint32_t PresentedFrames() {
    MediaLockGuard g;
    return TheCore().presented;
}
std::string DebugText() {
    MediaLockGuard g;
    std::string out;
    for (size_t i = 0; i < TheCore().debugLines.size(); ++i) {
        if (i) out += '\n';
        out += TheCore().debugLines[i];
    }
    return out;
}
std::string WindowTitleUtf8() {
    MediaLockGuard g;
    return sys::Cp932ToUtf8(TheCore().titleCp932);
}
bool MediaRunning() {
    MediaLockGuard g;
    return TheCore().running;
}
void TakeSoundStarts(std::vector<int>& out) {
    MediaLockGuard g;
    std::vector<int>& starts = TheCore().soundStarts;
    out.assign(starts.begin(), starts.end());
    starts.clear();
}
std::vector<int> TakeSoundStarts() {
    MediaLockGuard g;
    std::vector<int> out;
    out.swap(TheCore().soundStarts);
    return out;
}

}  // namespace media

using media::MediaLockGuard;
using media::TheCore;

int SetAppLogEnabled(int enabled) {
    MediaLockGuard g;
    TheCore().logEnabled = enabled != 0;
    if (!enabled) media::CloseLog();
    return 0;
}

int AddLogLine(const char* text) {
    media::Log("%s", text ? text : "");
    return 0;
}

int GetScreenColorDepth() {
    MediaLockGuard g;
    return TheCore().depth;
}

int SetScreenMode(int width, int height, int colourDepth, int refreshRate) {
    MediaLockGuard g;
    media::Core& c = TheCore();
    int w = width == -1 ? c.width : width;
    int h = height == -1 ? c.height : height;
    int d = colourDepth == -1 ? c.depth : colourDepth;
    if (w <= 0 || h <= 0) return -1;
    if (d != 8 && d != 16 && d != 32) return -1;
    // The back buffer is fixed at 640 x 480: another size is refused.
    if (w != media::kScreenWidth || h != media::kScreenHeight) return -1;
    c.width = w;
    c.height = h;
    c.depth = d;
    if (refreshRate != -1) c.refreshRate = refreshRate;
    return 0;
}

int SetWindowTitle(const char* text) {
    MediaLockGuard g;
    media::Core& c = TheCore();
    c.titleCp932 = text ? text : "";
    if (c.running) media::CurrentHost().SetTitle(sys::Cp932ToUtf8(c.titleCp932));
    return 0;
}

int ChangeWindowMode(int windowed) {
    MediaLockGuard g;
    TheCore().windowed = windowed != 0;
    return 0;
}

int MediaInit() {
    MediaLockGuard g;
    media::Core& c = TheCore();
    if (c.running) return 0;
    media::WindowConfig config;
    config.titleUtf8 = sys::Cp932ToUtf8(c.titleCp932);
    config.windowed = c.windowed;
    config.width = c.width;
    config.height = c.height;
    if (!media::CurrentHost().Open(config)) {
        media::Log("MediaInit: the window could not be opened");
        return -1;
    }
    c.running = true;
    c.closing = false;
    c.presented = 0;
    media::ListClear();
    media::Log("MediaInit: %dx%d, %d bits, %s", c.width, c.height, c.depth,
               c.windowed ? "windowed" : "full screen");
    return 0;
}

int SetDrawTarget(int screen) {
    MediaLockGuard g;
    if (screen != -2 && screen != -4) return -1;  // only the back buffer is offered
    TheCore().drawTarget = screen;
    return 0;
}

int SetDrawFilterMode(int mode) {
    MediaLockGuard g;
    TheCore().filterMode = mode;
    return 0;
}

int SetDefaultFontSize(int size) {
    MediaLockGuard g;
    TheCore().defaultFontSize = size == -1 ? 16 : size;
    return 0;
}

int SetDefaultFontThickness(int thickness) {
    MediaLockGuard g;
    TheCore().defaultFontThickness = thickness == -1 ? 6 : thickness;
    return 0;
}

int SetDefaultFontName(const char* faceName, int charset) {
    MediaLockGuard g;
    TheCore().defaultFontName = faceName ? faceName : "";
    TheCore().defaultFontCharset = charset;
    return 0;
}

int SetDefaultFontType(int type) {
    MediaLockGuard g;
    TheCore().defaultFontType = type == -1 ? 0 : type;
    return 0;
}

int MediaEnd() {
    MediaLockGuard g;
    media::Core& c = TheCore();
    if (!c.running) return 0;
    media::ReleaseAllSounds();
    media::ReleaseAllImages();
    media::ReleaseAllFonts();
    media::CurrentHost().Close();
    c.running = false;
    c.closing = true;
    media::Log("MediaEnd");
    media::CloseLog();
    return 0;
}

int FlipScreen() {
    MediaLockGuard g;
    media::Core& c = TheCore();
    if (!c.running) return -1;
    media::FlushDrawing();
    if (!c.debugLines.empty()) media::DrawDebugText(c.debugLines);
    media::CurrentHost().Present(c.backBuffer.data(), media::kScreenWidth, media::kScreenHeight);
    ++c.presented;
    media::CurrentHost().PullAudioByClock(sys::TimeGetTime());
    return 0;
}

int ProcessMessage() {
    // Not under the lock while the host waits for the window to become active again: the
    // audio thread must still reach the mixer.
    {
        MediaLockGuard g;
        media::Core& c = TheCore();
        if (!c.running || c.closing) return -1;
    }
    if (sys::QuitPosted()) return -1;
    bool open = media::CurrentHost().ProcessEvents();
    MediaLockGuard g;
    if (!open || sys::QuitPosted()) {
        TheCore().closing = true;
        return -1;
    }
    return 0;
}

int GetKeyStateAll(unsigned char* buffer) {
    MediaLockGuard g;
    media::Core& c = TheCore();
    uint8_t keys[256] = {};
    int pad = 0;
    if (c.running) media::CurrentHost().ReadInput(keys, &pad);
    if (media::g_override) {
        std::memset(keys, 0, sizeof keys);
        pad = 0;
        media::g_override(c.presented, keys, &pad);
    }
    if (media::g_observer) media::g_observer(c.presented, keys, pad);
    std::memcpy(c.keys, keys, sizeof keys);
    c.pad = pad;
    if (buffer) std::memcpy(buffer, keys, sizeof keys);
    return 0;
}

int SetDrawBrightness(int r, int g, int b) {
    MediaLockGuard guard;
    auto clamp = [](int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); };
    TheCore().brightR = clamp(r);
    TheCore().brightG = clamp(g);
    TheCore().brightB = clamp(b);
    return 0;
}

int ClearScreen() {
    MediaLockGuard g;
    media::ListClear();
    return 0;
}

int ClearScreenPrint() {
    MediaLockGuard g;
    TheCore().debugLines.clear();
    return 0;
}

int PrintToScreen(const char* format, ...) {
    MediaLockGuard g;
    char text[4096];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format ? format : "", args);
    va_end(args);
    std::vector<std::string>& lines = TheCore().debugLines;
    if (lines.empty()) lines.emplace_back();
    for (const char* p = text; *p; ++p) {
        if (*p == '\n') {
            if (lines.size() >= 80) break;
            lines.emplace_back();
            continue;
        }
        if (lines.back().size() < 255) lines.back() += *p;
    }
    return 0;
}

int GetPadInput(int pad) {
    MediaLockGuard g;
    media::Core& c = TheCore();
    int number = pad & 0xFFF;
    if (number != 1) return 0;  // only the first joystick is read
    int bits = c.pad;
    if (pad & 0x1000) {
        // Combined mode: the keyboard's arrows and numeric pad join the stick.
        if (c.keys[0xD0] || c.keys[0x50]) bits |= 0x1;
        if (c.keys[0xCB] || c.keys[0x4B]) bits |= 0x2;
        if (c.keys[0xCD] || c.keys[0x4D]) bits |= 0x4;
        if (c.keys[0xC8] || c.keys[0x48]) bits |= 0x8;
    }
    return bits;
}
