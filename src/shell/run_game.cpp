#include "shell/run_game.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

#include "media/host.h"
#include "media/input_script.h"
#include "media/inspect.h"
#include "media/media.h"
#include "shell/config.h"
#include "shell/game.h"
#include "shell/launch.h"
#include "shell/replay.h"
#include "shell/state_dump.h"
#include "sys/sys.h"

namespace {

bool ReadText(const std::string& path, std::string* out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::stringstream ss;
    ss << in.rdbuf();
    *out = ss.str();
    return true;
}

bool WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
}

// Output files named on the command line are relative to the folder the program was
// started in, not to the data folder it changes into.
std::string Absolute(const std::string& path, const std::string& launchDir) {
    if (path.empty() || path[0] == '/') return path;
    return launchDir + "/" + path;
}

TTestPlay TestPlayOf(const TRunOptions& o) {
    TTestPlay t;
    t.author = o.author;
    t.play = o.play;
    t.sceneEntry = o.sceneEntry;
    t.invincible = o.invincible;
    t.lives = o.lives;
    t.power = o.power;
    return t;
}

}  // namespace

int RunGame(const TRunOptions& options) {
    char cwd[4096];
    std::string launchDir = ::getcwd(cwd, sizeof cwd) ? cwd : ".";

    // Input first: a bad script or replay ends the run before anything opens.
    media::InputScript script;
    TReplay replay;
    bool replaying = !options.replayPath.empty();
    if (!options.inputScript.empty()) {
        std::string text, error;
        if (!ReadText(options.inputScript, &text)) {
            std::fprintf(stderr, "orvan: --input: cannot read '%s'\n", options.inputScript.c_str());
            return 2;
        }
        if (!script.Parse(text, &error)) {
            std::fprintf(stderr, "orvan: --input %s: %s\n", options.inputScript.c_str(),
                         error.c_str());
            return 2;
        }
    }
    if (replaying) {
        std::string text, error;
        if (!ReadText(options.replayPath, &text)) {
            std::fprintf(stderr, "orvan: --replay: cannot read '%s'\n", options.replayPath.c_str());
            return 2;
        }
        if (!replay.Parse(text, &error)) {
            std::fprintf(stderr, "orvan: --replay %s: %s\n", options.replayPath.c_str(),
                         error.c_str());
            return 2;
        }
    }

    // The player's configuration, then the command line's lines over it.
    TConfig config;
    std::vector<std::string> messages;
    if (!LoadConfigFile(options.configPath.empty() ? DefaultConfigPath() : options.configPath,
                        &config, &messages) &&
        !options.configPath.empty()) {
        std::fprintf(stderr, "orvan: --config: cannot read '%s'\n", options.configPath.c_str());
        return 2;
    }
    for (const std::string& line : options.sets) ParseConfigOverride(line, &config, &messages);
    for (const std::string& m : messages) std::fprintf(stderr, "orvan: %s\n", m.c_str());

    // What to play. A game that is not one ends the run before anything is made for it.
    TLaunch launch;
    std::string error;
    if (!ResolveLaunch(options, &launch, &error)) {
        std::fprintf(stderr, "orvan: %s\n", error.c_str());
        if (!options.headless)
            sys::ShowMessageBox(sys::Utf8ToCp932(error).c_str(), "Orvan",
                                sys::MessageBoxIcon::Exclamation, sys::MessageBoxButtons::Ok, 0);
        return 2;
    }

    TStartup startup;
    startup.windowMode = options.windowMode != -1  ? options.windowMode
                         : config.fullscreen == -1 ? -1
                                                   : 1 - config.fullscreen;
    startup.testPlay = TestPlayOf(options);
    startup.testPlay.author = options.author || config.author;  // "author = yes" in the file
    if (!launch.dataFolder.empty()) startup.changeIntoData = false;
    if (!ApplyLaunch(launch)) {
        std::fprintf(stderr, "orvan: cannot enter '%s'\n", launch.dataFolder.c_str());
        return 2;
    }
    if (!options.dataDir.empty()) {
        if (::chdir(options.dataDir.c_str()) != 0) {
            std::fprintf(stderr, "orvan: --data: cannot enter '%s'\n", options.dataDir.c_str());
            return 2;
        }
        startup.changeIntoData = false;
    }

    if (options.headless) {
        sys::UseVirtualClock(true, 0);
        sys::SetMessageBoxesToStderr(true);
        media::SetHost(media::CreateHeadlessHost());
    } else {
        media::SdlSettings sdl;
        sdl.scale = options.scale ? options.scale : config.scale;
        sdl.integerScaling = config.integerScaling;
        sdl.vsync = config.vsync;
        sdl.controls = config.controls;
        sdl.screenshotFolder = launch.screenshots;
        sdl.controllerMappings =
            XdgHome("XDG_CONFIG_HOME", ".config") + "/orvan/gamecontrollerdb.txt";
        media::SetSdlSettings(sdl);
        media::SetHost(media::CreateSdlHost());
    }

    if (replaying) {
        startup.seedGiven = true;
        startup.seed = replay.seed;
        media::SetInputOverride([&replay](uint32_t frame, uint8_t keys[256], int* pad) {
            replay.ApplyInput(frame, keys, pad);
        });
    } else {
        startup.seedGiven = options.seedGiven;
        startup.seed = options.seed;
        if (!options.inputScript.empty()) {
            media::SetInputOverride([&script](uint32_t frame, uint8_t keys[256], int* pad) {
                script.Apply(frame, keys, pad);
            });
        }
    }
    TReplay recording;
    bool recordingOn = !options.recordPath.empty();
    if (recordingOn) {
        media::SetInputObserver([&recording](uint32_t frame, const uint8_t keys[256], int pad) {
            recording.RecordInput(frame, keys, pad);
        });
    }

    int exitCode = 0;
    {
        auto game = std::make_unique<TGame>();
        if (!startup.seedGiven) startup.seed = sys::TimeGetTime();
        startup.seedGiven = true;
        recording.seed = startup.seed;
        if (!game->Startup(startup, &exitCode)) {
            media::SetInputOverride(nullptr);
            media::SetInputObserver(nullptr);
            return exitCode;
        }
        while (game->Frame()) {
            const uint32_t frame = game->frame;
            for (const TFrameFile& d : options.dumps) {
                if (d.frame == frame && !WriteText(Absolute(d.path, launchDir), DumpState(*game)))
                    std::fprintf(stderr, "orvan: cannot write '%s'\n", d.path.c_str());
            }
            for (const TFrameFile& s : options.screenshots) {
                if (s.frame == frame && !media::WriteBackBufferPng(Absolute(s.path, launchDir)))
                    std::fprintf(stderr, "orvan: cannot write '%s'\n", s.path.c_str());
            }
            if (frame % TReplay::kChecksumEvery == 0 && (recordingOn || replaying)) {
                uint64_t sum = Checksum(DumpState(*game));
                if (recordingOn) recording.checksums[frame] = sum;
                if (replaying) {
                    auto it = replay.checksums.find(frame);
                    if (it != replay.checksums.end() && it->second != sum) {
                        std::fprintf(stderr,
                                     "orvan: the replay diverged from its recording at frame %u\n",
                                     frame);
                        exitCode = 3;
                        break;
                    }
                }
            }
            if (options.frames && frame >= options.frames) break;
            if (replaying && replay.lastFrame && frame >= replay.lastFrame) break;
        }
        if (recordingOn) {
            recording.lastFrame = game->frame;
            if (!WriteText(Absolute(options.recordPath, launchDir), recording.Serialize()))
                std::fprintf(stderr, "orvan: cannot write '%s'\n", options.recordPath.c_str());
        }
        game->Shutdown();
    }
    media::SetInputOverride(nullptr);
    media::SetInputObserver(nullptr);
    return exitCode;
}
