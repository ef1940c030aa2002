// The player's controls in a real window under a (virtual) X display: keys remapped in the
// configuration file drive the game through real key events, F12 saves a screenshot, and a
// bad line of the file is reported by its number while the game still starts.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <thread>

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
Window FindWindowNamed(Display* d, Window w, const std::string& title) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* name = nullptr;
    if (XGetWindowProperty(d, w, XInternAtom(d, "_NET_WM_NAME", False), 0, 1024, False,
                           XInternAtom(d, "UTF8_STRING", False), &type, &format, &count, &after,
                           &name) == Success &&
        name) {
        bool same = title == std::string(reinterpret_cast<char*>(name), count);
        XFree(name);
        if (same) return w;
    }
    Window root, parent, *children = nullptr, found = 0;
    unsigned int n = 0;
    if (XQueryTree(d, w, &root, &parent, &children, &n))
        for (unsigned int i = 0; i < n && !found; ++i)
            found = FindWindowNamed(d, children[i], title);
    if (children) XFree(children);
    return found;
}

TEST(Controls, RemappedKeysDriveTheGameAndF12SavesAScreenshot) {
    Display* display = std::getenv("DISPLAY") ? XOpenDisplay(nullptr) : nullptr;
    if (!display) GTEST_SKIP() << "no display";
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    TempDir dir;
    dir.MakeDir("Game");
    fs::copy(ORVAN_DEMO_DATA, dir / "Game/Data", fs::copy_options::recursive);
    dir.WriteFile("config/orvan/orvan.conf",
                  "[keyboard]\nfire = J\nright = L\n[window]\nbogus = 1\n");
    std::vector<std::string> args = {ORVAN_BINARY, dir / "Game", "--windowed", "--record",
                                     dir / "run.replay"};
    constexpr int kEvery = 30, kLastDump = 3000;  // the windowed run's state every half second
    for (int f = kEvery; f <= kLastDump; f += kEvery)
        args.insert(args.end(),
                    {"--dump-state", std::to_string(f) + ":" + (dir / std::to_string(f))});
    pid_t pid = fork();
    if (pid == 0) {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("ASAN_OPTIONS", "detect_leaks=0", 1);  // the window system's libraries keep theirs
        setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        setenv("XDG_PICTURES_DIR", (dir / "pictures").c_str(), 1);
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
    auto Screenshots = [&] {
        size_t n = 0;
        if (fs::is_directory(dir / "pictures/Orvan"))
            for (const auto& e : fs::directory_iterator(dir / "pictures/Orvan"))
                n += e.path().extension() == ".png" && fs::file_size(e.path()) > 1000;
        return n;
    };
    Window window = 0;  // titled "Orvan デモ"
    for (int i = 0; i < 200 && !window; ++i, Sleep(50))
        window =
            FindWindowNamed(display, DefaultRootWindow(display), "Orvan \xE3\x83\x87\xE3\x83\xA2");
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
        // F12 once the window surely takes keys.
        const KeyCode shot = XKeysymToKeycode(display, XK_F12);
        XTestFakeKeyEvent(display, shot, True, 0);
        XTestFakeKeyEvent(display, shot, False, 0);
        for (KeyCode k : keys) XTestFakeKeyEvent(display, k, False, 0);
        XSync(display, False);
        for (int i = 0; i < 100 && Screenshots() == 0; ++i) Sleep(100);
    }
    kill(pid, SIGTERM);  // SDL turns it into a quit, as closing the window would
    int status = 0;
    bool exited = false;
    for (int i = 0; i < 200 && !exited; ++i, Sleep(50))
        exited = waitpid(pid, &status, WNOHANG) == pid;
    if (!exited) kill(pid, SIGKILL), waitpid(pid, &status, 0);
    XCloseDisplay(display);
    const std::string err = dir.ReadFile("stderr");
    ASSERT_NE(window, 0u) << "no window; stderr: " << err;
    EXPECT_TRUE(exited && WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

    // The bad line was named; the rest of the file applied: the game saw its own codes for
    // fire (0x2D) and right (0xCD) from J and L.
    EXPECT_NE(err.find("orvan.conf:5: 'bogus' is not a setting of [window]"), std::string::npos)
        << err;
    EXPECT_NE(dir.ReadFile("run.replay").find(" 2d cd\n"), std::string::npos);
    EXPECT_TRUE(inPlayOnTheRight()) << last;  // GamePlay, and the ship left x 208
    EXPECT_EQ(Screenshots(), 1u);             // in the pictures folder
}

}  // namespace
