// Runs the whole game in-process on the headless host with scripted input, frame by frame,
// for tests of the states, menus and world. Each runner starts as a fresh process would: the
// shot timer and frame timing, which are process-wide, are reset, and Dump counts the random
// draws from the start.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/input_script.h"
#include "shell/game.h"

class ScopedCwd;

class GameRunner {
public:
    // 'dataDir' is the host path of the data folder; the runner changes into it.
    explicit GameRunner(const std::string& dataDir, uint32_t seed = 1);
    ~GameRunner();

    // Input script text ("FIRST-LAST NAME..." lines); call before Start or between frames.
    void SetInput(const std::string& script);
    // Start-up; false when the program would end at once.
    bool Start();
    // One pass of the frame loop; false when the loop ended.
    bool Frame();
    // Runs until game.frame reaches 'frame' (or the loop ends); returns whether it is there.
    bool RunTo(uint32_t frame);
    // Runs until the front state is 'code' (at most 'limit' frames); true when reached.
    bool RunUntilState(int32_t code, uint32_t limit = 2000);

    TGame& game() { return *game_; }
    // Test play and author mode for Start (all off unless set).
    TTestPlay testPlay;
    int32_t Front() const { return game_->states.empty() ? -1 : game_->states.front(); }
    std::vector<int32_t> Queue() const {
        return std::vector<int32_t>(game_->states.begin(), game_->states.end());
    }
    bool ended() const { return ended_; }
    // The state dump of the last frame, as `--dump-state` writes it.
    std::string Dump() const;

private:
    std::unique_ptr<ScopedCwd> cwd_;
    std::unique_ptr<TGame> game_;
    media::InputScript script_;
    uint32_t seed_;
    uint64_t drawsBefore_ = 0;
    bool ended_ = false;
};
