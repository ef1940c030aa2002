// Author mode (--author): test play with keys around the frame loop. F1 the overlay, F2
// pause and then one game frame per press, F3 slow motion (one game frame every 2nd, 4th,
// 8th pass, then off), F4 fast forward (no pacing, sound muted), F5 reload the project and
// restart at the running scene entry, F6 invincibility. F3 and F4 also end a pause. A
// project file that the editor saves is noticed by watching the data folder's kind folders
// and reloads the project as F5 does; a reload that meets a broken file keeps the old
// project running and shows why.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "sys/file_watch.h"

class TGame;

class TAuthorMode {
public:
    TAuthorMode() = default;
    ~TAuthorMode();
    TAuthorMode(const TAuthorMode&) = delete;
    TAuthorMode& operator=(const TAuthorMode&) = delete;

    // After start-up, in the data folder: the overlay's font and the folder watch.
    void Start(TGame& game);
    // One pass of the loop in author mode; false when the loop ends.
    bool Frame(TGame& game);
    // Loads the project anew from the data folder and restarts play. False, with the old
    // project still running and 'reloadError' set, when a file is broken.
    bool Reload(TGame& game);

    // Slow motion runs one game frame every kSlowFactors[slowMotion - 1] passes (0: off).
    static constexpr std::array<int, 3> kSlowFactors{2, 4, 8};

    bool overlay = false;
    bool paused = false;
    int slowMotion = 0;
    bool fastForward = false;
    bool watching = false;    // the folder watch is running
    uint32_t gameFrames = 0;  // passes that ran a game frame
    uint32_t reloads = 0;     // reloads that took effect
    std::string reloadError;  // why the last reload was refused (cp932); empty after one
                              // that worked

private:
    void HandleKeys(TGame& game);
    bool KeyPressed(const TGame& game, int scanCode) const;
    void WatchFolders(TGame& game);
    void DrawLayer(TGame& game);

    uint8_t previousKeys_[256] = {};
    bool stepRequested_ = false;
    uint32_t passesSinceGameFrame_ = 0;
    std::vector<uint32_t> picture_;  // the last game picture, without the overlay
    std::deque<uint32_t> frameTimes_;
    int font_ = -1;
    sys::FolderWatch watch_;
    int settleCountdown_ = -1;  // passes until a noticed change is loaded
};
