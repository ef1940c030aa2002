#include "support/game_runner.h"

#include <stdexcept>

#include "base/app.h"
#include "media/host.h"
#include "player/player.h"
#include "shell/state_dump.h"
#include "support/temp_dir.h"
#include "sys/sys.h"

GameRunner::GameRunner(const std::string& dataDir, uint32_t seed) : seed_(seed) {
    cwd_ = std::make_unique<ScopedCwd>(dataDir);
    sys::ClearQuit();
    sys::UseVirtualClock(true, 0);
    sys::SetMessageBoxesToStderr(true);
    media::SetHost(media::CreateHeadlessHost());
    PlayerShotTimer() = 0;
    FrameTiming() = {};
    media::SetInputOverride(
        [this](uint32_t frame, uint8_t keys[256], int* pad) { script_.Apply(frame, keys, pad); });
    game_ = std::make_unique<TGame>();
}

GameRunner::~GameRunner() {
    game_.reset();
    media::SetInputOverride(nullptr);
    sys::UseVirtualClock(false);
    sys::ClearQuit();
}

void GameRunner::SetInput(const std::string& script) {
    std::string error;
    if (!script_.Parse(script, &error)) throw std::runtime_error("bad input script: " + error);
}

bool GameRunner::Start() {
    TStartup startup;
    startup.changeIntoData = false;
    startup.seedGiven = true;
    startup.seed = seed_;
    startup.testPlay = testPlay;
    int exitCode = 0;
    bool ok = game_->Startup(startup, &exitCode);
    drawsBefore_ = sys::RandCalls();
    if (!ok) ended_ = true;
    return ok;
}

bool GameRunner::Frame() {
    if (ended_) return false;
    if (!game_->Frame()) ended_ = true;
    return !ended_;
}

bool GameRunner::RunTo(uint32_t frame) {
    while (game_->frame < frame)
        if (!Frame()) return false;
    return true;
}

bool GameRunner::RunUntilState(int32_t code, uint32_t limit) {
    for (uint32_t i = 0; i < limit; ++i) {
        if (Front() == code) return true;
        if (!Frame()) return false;
    }
    return Front() == code;
}

std::string GameRunner::Dump() const {
    std::string dump = DumpState(*game_);
    const size_t at = dump.find("\"randCalls\": ") + 13;
    return dump.replace(at, dump.find(',', at) - at,
                        std::to_string(sys::RandCalls() - drawsBefore_));
}
