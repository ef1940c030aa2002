// The real window under a (virtual) X display: it opens with the project's title, takes a
// new title while open, reads keys as they are at the moment the frame reads them, and
// closing it ends the program with exit code 0. Real launches seed from the clock.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "media/host.h"
#include "media/media.h"
#include "support/png_writer.h"
#include "support/project_writer.h"
#include "support/temp_dir.h"

// Xlib last: its macros (None, Bool, Status) would break the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

std::string WindowName(Display* d, Window w) {
    Atom netName = XInternAtom(d, "_NET_WM_NAME", False);
    Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::string name;
    if (XGetWindowProperty(d, w, netName, 0, 1024, False, utf8, &type, &format, &count, &after,
                           &data) == Success &&
        data) {
        name.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    return name;
}

Window FindWindow(Display* d, Window root, const std::string& title) {
    if (WindowName(d, root) == title) return root;
    Window parent, *children = nullptr;
    unsigned int n = 0;
    Window found = 0;
    if (XQueryTree(d, root, &root, &parent, &children, &n)) {
        for (unsigned int i = 0; i < n && !found; ++i) found = FindWindow(d, children[i], title);
        if (children) XFree(children);
    }
    return found;
}

// What a window manager's close button sends.
void AskToClose(Display* d, Window w) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, w, False, NoEventMask, &e);
    XFlush(d);
}

// Polls for a window with the title while the program's own events are handled.
Window AwaitWindow(Display* d, const std::string& title) {
    for (int i = 0; i < 100; ++i) {
        ProcessMessage();
        XSync(d, False);
        if (Window w = FindWindow(d, DefaultRootWindow(d), title)) return w;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return 0;
}

std::string RecordedSeed(const std::string& replay) {
    size_t at = replay.find("seed ");
    return at == std::string::npos ? "" : replay.substr(at, replay.find('\n', at) - at);
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
        std::this_thread::sleep_for(std::chrono::milliseconds(17));
        GetKeyStateAll(keys);
        if (keys[0x2D] != (down ? 1 : 0))
            problems += down ? "press not seen; " : "release not seen; ";
    }
    MediaEnd();
    return problems;
}

}  // namespace

TEST(Window, TakesANewTitleWhileOpenAndSeesAKeyPressedDuringTheFramesSleep) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    Display* display = XOpenDisplay(nullptr);
    if (!display) GTEST_SKIP() << "the display cannot be opened";
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    // In a child process that ends without exit handlers: the window system's libraries
    // (D-Bus, the GL drivers) keep allocations for the life of the process, and the leak
    // checker of the sanitizer build would count them against this test.
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            std::string why = TitleAndKeyCheck(display);
            std::fprintf(stderr, "%s", why.c_str());
            _exit(why.empty() ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
    XCloseDisplay(display);
}

TEST(Window, TwoLaunchesRecordDifferentSeeds) {
    TempDir dir;
    dir.WriteFile("Frame.png", EncodeArgbPng(30, 39, std::vector<uint32_t>(30 * 39, 0xFF808080u)));
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("ASAN_OPTIONS", "detect_leaks=0", 1);  // the system's video libraries keep theirs
    std::string seeds[2];
    for (int run = 0; run < 2; ++run) {
        std::string replay = dir / ("run" + std::to_string(run) + ".replay");
        RunResult r =
            RunOrvan({"--data", dir.path(), "--windowed", "--frames", "3", "--record", replay});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        seeds[run] = RecordedSeed(dir.ReadFile("run" + std::to_string(run) + ".replay"));
        ASSERT_FALSE(seeds[run].empty());
    }
    unsetenv("SDL_VIDEODRIVER");
    EXPECT_NE(seeds[0], seeds[1]);
}

TEST(Window, OpensWithTheProjectTitleAndClosesCleanly) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    Display* display = XOpenDisplay(nullptr);
    if (!display) GTEST_SKIP() << "the display cannot be opened";
    // A window may vanish between finding it and asking it to close: ignore such errors.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });

    TempDir dir;
    ProjectWriter w(dir.path());
    const std::string title = "Orvan \xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88";  // テスト
    w.KindFolders().Global({0, Cp932(title.c_str()), 0});
    w.File("Frame.png", EncodeArgbPng(30, 39, std::vector<uint32_t>(30 * 39, 0xFF808080u)));

    pid_t pid = fork();
    if (pid == 0) {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        // The window system's own libraries (D-Bus, the GL drivers) keep allocations for the
        // life of the process; the headless runs check this program's leaks.
        setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
        int devnull = open("/dev/null", O_WRONLY);
        dup2(devnull, 2);
        execl(ORVAN_BINARY, ORVAN_BINARY, "--data", dir.path().c_str(), "--windowed", nullptr);
        _exit(127);
    }
    ASSERT_GT(pid, 0);

    // SDL may replace its first window by one that suits the renderer, so the close request
    // is repeated on whatever window carries the title until the program has ended.
    Window window = 0;
    bool found = false;
    int status = 0;
    bool exited = false;
    for (int i = 0; i < 400 && !exited; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        exited = waitpid(pid, &status, WNOHANG) == pid;
        if (exited || i % 10 != 0) continue;
        window = FindWindow(display, DefaultRootWindow(display), title);
        if (window) {
            found = true;
            AskToClose(display, window);
        }
    }
    EXPECT_TRUE(found) << "no window titled " << title;
    if (!exited) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    XCloseDisplay(display);
    ASSERT_TRUE(exited) << "the program did not end after its window was closed";
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
