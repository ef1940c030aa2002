// The real window under a (virtual) X display: the demo opens with its title, keys remapped in
// the configuration file drive it through real key events, F12 saves a screenshot, a bad line
// of the file is reported by its number, and closing the window ends the program with exit
// code 0, and another launch records another seed. In-process, the title changes while open
// and a key pressed during the frame's sleep is seen by that frame.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <thread>

#include "media/host.h"
#include "media/media.h"
#include "support/temp_dir.h"

// Xlib last: its macros (None, Bool, Status) would break the headers above.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace fs = std::filesystem;

namespace {

void Sleep(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// The window whose UTF-8 title (as SDL sets it) is 'title'.
Window FindWindow(Display* d, Window w, const std::string& title) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* name = nullptr;
    if (XGetWindowProperty(d, w, XInternAtom(d, "_NET_WM_NAME", False), 0, 1024, False,
                           XInternAtom(d, "UTF8_STRING", False), &type, &format, &count, &after,
                           &name) == Success &&
        name) {
        const bool same = title == std::string(reinterpret_cast<char*>(name), count);
        XFree(name);
        if (same) return w;
    }
    Window root, parent, *children = nullptr, found = 0;
    unsigned int n = 0;
    if (XQueryTree(d, w, &root, &parent, &children, &n))
        for (unsigned int i = 0; i < n && !found; ++i) found = FindWindow(d, children[i], title);
    if (children) XFree(children);
    return found;
}

// Tests of one display take turns for the whole of their process: another test's window
// would take the keyboard focus, and with it the keys held down.
Display* OpenDisplay() {
    if (!std::getenv("DISPLAY")) return nullptr;
    // A death test's child runs under the lock its parent holds (taking it would wait forever).
    if (!std::getenv("ORVAN_TEST_DISPLAY_LOCKED")) {
        const std::string lock = "/tmp/orvan-test-display" + std::string(std::getenv("DISPLAY"));
        const int fd = open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd >= 0) flock(fd, LOCK_EX);
        setenv("ORVAN_TEST_DISPLAY_LOCKED", "1", 1);
    }
    Display* display = std::getenv("DISPLAY") ? XOpenDisplay(nullptr) : nullptr;
    // A window may vanish between finding it and using it: ignore such errors.
    if (display) XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    return display;
}

// What a window manager's close button sends.
void AskToClose(Display* d, Window w) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    XSendEvent(d, w, False, NoEventMask, &e);
    XFlush(d);
}

TEST(Window, RemappedKeysDriveTheDemoF12SavesAScreenshotAndClosingEndsIt) {
    Display* display = OpenDisplay();
    if (!display) GTEST_SKIP() << "no display";
    TempDir dir;
    dir.MakeDir("Game");
    fs::copy(ORVAN_DEMO_DATA, dir / "Game/Data", fs::copy_options::recursive);
    dir.WriteFile("config/orvan/orvan.conf",
                  "[keyboard]\nfire = J\nright = L\n[window]\nbogus = 1\n");
    std::vector<std::string> args = {ORVAN_BINARY, dir / "Game", "--windowed", "--record",
                                     dir / "run.replay"};
    constexpr int kEvery = 30, kLastDump = 3000;  // the run's state every half second
    for (int f = kEvery; f <= kLastDump; f += kEvery)
        args.insert(args.end(),
                    {"--dump-state", std::to_string(f) + ":" + (dir / std::to_string(f))});
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("ASAN_OPTIONS", "detect_leaks=0", 1);  // the window system's libraries keep theirs
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    setenv("XDG_PICTURES_DIR", (dir / "pictures").c_str(), 1);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(open((dir / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(&a[0]);
        argv.push_back(nullptr);
        execv(ORVAN_BINARY, argv.data());
        _exit(127);
    }
    ASSERT_GT(pid, 0);

    // The newest state the run has written (a file still being written is read again later).
    nlohmann::json last;
    int next = kEvery;
    auto inPlayOnTheRight = [&] {
        for (; next <= kLastDump && dir.Exists(std::to_string(next)); next += kEvery) {
            auto state = nlohmann::json::parse(dir.ReadFile(std::to_string(next)), nullptr, false);
            if (state.is_discarded()) break;
            last = state;
        }
        return !last.is_null() && last["states"][0] == 11 && last["player"]["x"] > 300.0;
    };
    auto screenshots = [&] {  // whole pictures in the pictures folder
        size_t n = 0;
        std::error_code none;  // no folder yet
        for (const auto& e : fs::directory_iterator(dir / "pictures/Orvan", none))
            n += e.path().extension() == ".png" && fs::file_size(e.path()) > 1000;
        return n;
    };
    const std::string title = "Orvan \xE3\x83\x87\xE3\x83\xA2";  // Orvan デモ
    Window window = 0;
    for (int i = 0; i < 200 && !window; ++i, Sleep(50))
        window = FindWindow(display, DefaultRootWindow(display), title);
    if (window) {
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
        XSync(display, False);
        Sleep(300);
        // J (fire) starts the game from the title menu and shoots; L (right) steers the ship.
        // Both are held until the ship is seen in play far to the right: a build with
        // sanitizers runs the game far slower than real time.
        const KeyCode keys[] = {XKeysymToKeycode(display, XK_j), XKeysymToKeycode(display, XK_l)};
        for (KeyCode k : keys) XTestFakeKeyEvent(display, k, True, 0);
        XSync(display, False);
        for (int i = 0; i < 450 && !inPlayOnTheRight(); ++i) Sleep(200);
        const KeyCode shot = XKeysymToKeycode(display, XK_F12);
        XTestFakeKeyEvent(display, shot, True, 0);
        XTestFakeKeyEvent(display, shot, False, 0);
        for (KeyCode k : keys) XTestFakeKeyEvent(display, k, False, 0);
        XSync(display, False);
        for (int i = 0; i < 100 && screenshots() == 0; ++i) Sleep(100);
    }
    // SDL may replace its first window by one that suits the renderer, so the close request
    // goes to whatever window carries the title until the program has ended.
    int status = 0;
    bool exited = false;
    for (int i = 0; i < 400 && !exited; ++i, Sleep(50)) {
        exited = waitpid(pid, &status, WNOHANG) == pid;
        if (Window w =
                exited || i % 10 ? 0 : FindWindow(display, DefaultRootWindow(display), title))
            AskToClose(display, w);
    }
    if (!exited) kill(pid, SIGKILL), waitpid(pid, &status, 0);
    // Another launch seeds from the clock anew.
    RunResult again =
        RunOrvan({dir / "Game", "--windowed", "--frames", "3", "--record", dir / "again.replay"});
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_PICTURES_DIR");
    XCloseDisplay(display);
    EXPECT_EQ(again.exitCode, 0) << again.err;
    auto seed = [&](const char* replay) {  // "orvan-replay 1\nseed N"
        const std::string text = dir.ReadFile(replay);
        return text.substr(0, text.find("\nframes"));
    };
    EXPECT_NE(seed("again.replay"), seed("run.replay"));
    const std::string err = dir.ReadFile("stderr");
    ASSERT_NE(window, 0u) << "no window titled " << title << "; stderr: " << err;
    EXPECT_TRUE(exited && WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    // The bad line was named; the rest of the file applied: the game saw its own codes for
    // fire (0x2D) and right (0xCD) from J and L.
    EXPECT_NE(err.find("orvan.conf:5: 'bogus' is not a setting of [window]"), std::string::npos)
        << err;
    EXPECT_NE(dir.ReadFile("run.replay").find(" 2d cd\n"), std::string::npos);
    EXPECT_TRUE(inPlayOnTheRight()) << last;  // GamePlay, and the ship left x 208
    EXPECT_EQ(screenshots(), 1u);             // in the pictures folder
}

// Polls for a window with the title while the program's own events are handled.
Window AwaitWindow(Display* d, const std::string& title) {
    for (int i = 0; i < 100; ++i, Sleep(20)) {
        ProcessMessage();
        XSync(d, False);
        if (Window w = FindWindow(d, DefaultRootWindow(d), title)) return w;
    }
    return 0;
}

// Opens the window in this process, changes its title and presses X during a frame's
// sleep; returns what went wrong, or nothing.
std::string TitleAndKeyCheck(Display* display) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    media::SetHost(media::CreateSdlHost());
    SetWindowTitle("first");
    ChangeWindowMode(1);
    if (MediaInit() != 0) return "MediaInit failed";
    if (!AwaitWindow(display, "first")) return "no window titled first";
    SetWindowTitle("second");
    Window window = AwaitWindow(display, "second");
    if (!window) return "the caption did not change";
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    AwaitWindow(display, "second");
    // One frame in the game's order: flip, messages, then the pacing sleep, during which X
    // goes down; the keys read after the sleep must hold it.
    const KeyCode x = XKeysymToKeycode(display, XK_x);
    unsigned char keys[256];
    std::string problems;
    for (bool down : {true, false}) {
        FlipScreen();
        if (ProcessMessage() != 0) return "the window closed";
        XTestFakeKeyEvent(display, x, down, 0);
        XSync(display, False);
        Sleep(17);
        GetKeyStateAll(keys);
        if (keys[0x2D] != (down ? 1 : 0))
            problems += down ? "press not seen; " : "release not seen; ";
    }
    MediaEnd();
    return problems;
}

TEST(Window, TakesANewTitleWhileOpenAndSeesAKeyPressedDuringTheFramesSleep) {
    Display* display = OpenDisplay();
    if (!display) GTEST_SKIP() << "no display";
    // In a child process that ends without exit handlers: the window system's libraries
    // (D-Bus, the GL drivers) keep allocations for the life of the process, and the leak
    // checker of the sanitizer build would count them against this test.
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            const std::string why = TitleAndKeyCheck(display);
            std::fprintf(stderr, "%s", why.c_str());
            _exit(why.empty() ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
    XCloseDisplay(display);
}

}  // namespace
