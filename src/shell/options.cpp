#include "shell/options.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

bool ParseUint(const std::string& text, uint32_t* out) {
    if (text.empty() || text.size() > 10) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    errno = 0;
    unsigned long long v = std::strtoull(text.c_str(), nullptr, 10);
    if (errno || v > 0xFFFFFFFFull) return false;
    *out = static_cast<uint32_t>(v);
    return true;
}

// "F:FILE" with F a frame number of 1 or more.
std::string ParseFrameFile(const std::string& text, TFrameFile* out) {
    size_t colon = text.find(':');
    if (colon == std::string::npos) return "expected FRAME:FILE, got '" + text + "'";
    if (!ParseUint(text.substr(0, colon), &out->frame) || out->frame == 0)
        return "'" + text.substr(0, colon) + "' is not a frame number (1 or more)";
    out->path = text.substr(colon + 1);
    if (out->path.empty()) return "no file name after '" + text.substr(0, colon + 1) + "'";
    return "";
}

}  // namespace

int ParseCommandLine(int argc, char** argv, TRunOptions* options) {
    CLI::App app{"Orvan: plays a shooting-game project from its data folder."};
    app.set_version_flag("--version", "orvan 0.1");
    std::string frames, seed;
    std::vector<std::string> dumps, shots;
    bool fullscreen = false, windowed = false;
    auto* game = app.add_option("GAME", options->game,
                                "a game to play: a folder holding Data/, a Data folder, or a zip");
    auto* demo = app.add_flag("--demo", options->demo, "play the installed demo game");
    auto* data =
        app.add_option("--data", options->dataDir, "the data folder to play instead of Data/");
    game->excludes(demo)->excludes(data);
    demo->excludes(data);
    app.add_option("--config", options->configPath,
                   "the configuration file instead of $XDG_CONFIG_HOME/orvan/orvan.conf");
    app.add_option("--set", options->sets,
                   "'SECTION.NAME = VALUE': a configuration line for this run, e.g. "
                   "'window.scale = 2' or 'keyboard.fire = Space'")
        ->allow_extra_args(false);
    app.add_flag("--headless", options->headless,
                 "no window and no audio device; virtual clock; boxes on stderr");
    app.add_option("--frames", frames, "stop after frame N");
    app.add_option("--seed", seed, "seed the random generator with S instead of the clock");
    app.add_option("--input", options->inputScript, "scripted input file");
    app.add_option("--record", options->recordPath, "record the run's input to FILE");
    app.add_option("--replay", options->replayPath, "play back a recorded run");
    app.add_option("--dump-state", dumps, "F:FILE: write the world as JSON after frame F")
        ->allow_extra_args(false);
    app.add_option("--screenshot", shots, "F:FILE: write the picture as PNG after frame F")
        ->allow_extra_args(false);
    app.add_option("--scale", options->scale, "window size as a multiple of 640x480")
        ->check(CLI::Range(1, 16));
    auto* fs = app.add_flag("--fullscreen", fullscreen, "start in desktop full screen");
    auto* win = app.add_flag("--windowed", windowed, "start in a window");
    fs->excludes(win);
    AddAuthorOptions(app, options);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        int code = app.exit(e);
        return code == 0 ? 0 : 2;
    }
    auto fail = [](const std::string& message) {
        std::fprintf(stderr, "orvan: %s\n", message.c_str());
        return 2;
    };
    if (!frames.empty() && !ParseUint(frames, &options->frames))
        return fail("--frames: '" + frames + "' is not a frame count");
    if (!seed.empty()) {
        if (!ParseUint(seed, &options->seed)) return fail("--seed: '" + seed + "' is not a number");
        options->seedGiven = true;
    }
    for (const std::string& d : dumps) {
        TFrameFile f;
        std::string err = ParseFrameFile(d, &f);
        if (!err.empty()) return fail("--dump-state: " + err);
        options->dumps.push_back(f);
    }
    for (const std::string& s : shots) {
        TFrameFile f;
        std::string err = ParseFrameFile(s, &f);
        if (!err.empty()) return fail("--screenshot: " + err);
        options->screenshots.push_back(f);
    }
    if (!options->recordPath.empty() && !options->replayPath.empty())
        return fail("--record and --replay cannot be used together");
    if (!options->inputScript.empty() && !options->replayPath.empty())
        return fail("--input and --replay cannot be used together");
    if (fullscreen) options->windowMode = 0;
    if (windowed) options->windowMode = 1;
    return -1;
}
