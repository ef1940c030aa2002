// The paced frame loop on the real SDL window (needs a display: run under xvfb-run).
// BM_PacedFrames: 300 frames of TApp::BeginFrame (flip, messages, sleep to 17 ms, keys,
// brightness, clear); the mean interval must stay within 17 +- 1 ms.
// BM_KeyToPicture: real key presses (XTest) at random moments; the time from the press to
// the key read that sees it, and on to the flip that shows the frame drawn from that read.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>
#include <vector>

#include "base/app.h"
#include "media/host.h"
#include "media/media.h"
#include "sys/sys.h"

// Xlib last: its macros would break the headers above.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

bool OpenWindow(benchmark::State& state, TApp& app, const char* title) {
    if (!std::getenv("DISPLAY")) {
        state.SkipWithError("no display: run under xvfb-run");
        return false;
    }
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    media::SetHost(media::CreateSdlHost());
    app.Init(title, true);
    return true;
}

}  // namespace

static void BM_PacedFrames(benchmark::State& state) {
    TApp app;
    if (!OpenWindow(state, app, "frame pacing")) return;
    const int kFrames = 300;
    double meanMs = 0, worstMs = 0;
    for (auto _ : state) {
        app.BeginFrame();
        uint32_t start = sys::TimeGetTime();
        uint32_t previous = start;
        uint32_t worst = 0;
        for (int i = 0; i < kFrames; ++i) {
            app.BeginFrame();
            uint32_t now = sys::TimeGetTime();
            if (now - previous > worst) worst = now - previous;
            previous = now;
        }
        meanMs = static_cast<double>(previous - start) / kFrames;
        worstMs = worst;
    }
    state.counters["mean_interval_ms"] = meanMs;
    state.counters["worst_interval_ms"] = worstMs;
    MediaEnd();
}
BENCHMARK(BM_PacedFrames)->Iterations(3)->Unit(benchmark::kMillisecond);

static void BM_KeyToPicture(benchmark::State& state) {
    TApp app;
    if (!OpenWindow(state, app, "key latency")) return;
    Display* display = XOpenDisplay(nullptr);
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    // Without a window manager the keyboard goes where the focus is put.
    for (int i = 0; i < 10; ++i) app.BeginFrame();
    Window focus = 0;
    {
        Window root = DefaultRootWindow(display), parent, *children = nullptr;
        unsigned int n = 0;
        if (XQueryTree(display, root, &root, &parent, &children, &n) && n) focus = children[n - 1];
        if (children) XFree(children);
    }
    XSetInputFocus(display, focus, RevertToParent, CurrentTime);
    XSync(display, False);
    for (int i = 0; i < 10; ++i) app.BeginFrame();
    const KeyCode x = XKeysymToKeycode(display, XK_x);

    const int kPresses = 60;
    std::vector<double> toRead, toFlip;
    double flipMs = 0;
    for (auto _ : state) {
        toRead.clear();
        toFlip.clear();
        std::mt19937 random(7);
        for (int press = 0; press < kPresses; ++press) {
            // The press comes from another connection at a random moment of the loop.
            std::atomic<bool> sent{false};
            Clock::time_point sentAt;
            int delayUs = std::uniform_int_distribution<int>(0, 34000)(random);
            std::thread sender([&] {
                Display* d = XOpenDisplay(nullptr);
                std::this_thread::sleep_for(std::chrono::microseconds(delayUs));
                sentAt = Clock::now();
                XTestFakeKeyEvent(d, x, True, 0);
                XSync(d, False);
                sent = true;
                XCloseDisplay(d);
            });
            Clock::time_point readAt{};
            for (int frame = 0; frame < 20 && readAt == Clock::time_point{}; ++frame) {
                app.BeginFrame();
                if (sent && app.keys[0x2D]) readAt = Clock::now();
                DrawRect(0, 0, 640, 480, MakeColor(40, 40, 40), 1);  // the frame's drawing
            }
            sender.join();
            Clock::time_point flipStart = Clock::now();
            FlipScreen();  // what the next BeginFrame does first
            Clock::time_point flipEnd = Clock::now();
            toRead.push_back(Ms(readAt - sentAt));
            toFlip.push_back(Ms(flipEnd - sentAt));
            flipMs += Ms(flipEnd - flipStart);
            XTestFakeKeyEvent(display, x, False, 0);
            XSync(display, False);
            for (int i = 0; i < 3; ++i) app.BeginFrame();
        }
    }
    auto mean = [](const std::vector<double>& v) {
        double sum = 0;
        for (double d : v) sum += d;
        return v.empty() ? 0 : sum / v.size();
    };
    auto worst = [](const std::vector<double>& v) {
        double w = 0;
        for (double d : v) w = std::max(w, d);
        return w;
    };
    state.counters["press_to_read_mean_ms"] = mean(toRead);
    state.counters["press_to_read_worst_ms"] = worst(toRead);
    state.counters["press_to_flip_mean_ms"] = mean(toFlip);
    state.counters["press_to_flip_worst_ms"] = worst(toFlip);
    state.counters["flip_mean_ms"] = flipMs / (kPresses * state.iterations());
    XCloseDisplay(display);
    MediaEnd();
}
BENCHMARK(BM_KeyToPicture)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
