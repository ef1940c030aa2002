// TGame: everything RunGame owns for the whole run (the project, the menu, the world and
// the state queue), its start-up order, one pass of the frame loop, and shut-down.
#pragma once

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <memory>
#include <vector>

#include "base/app.h"
#include "shell/menu.h"
#include "shell/program_files.h"
#include "shell/screen_image.h"
#include "world/world.h"

struct TProject;

// Codes of the state queue.
enum TStateCode : int32_t {
    kBoot = 0,
    kQuit = 1,
    kTitleFadeIn = 2,
    kTitleFadeOut = 3,
    kTitleMenuOpen = 4,
    kTitleMenu = 5,
    kConfigMenuOpen = 6,
    kConfigMenu = 7,
    kGameFadeIn = 8,
    kGameFadeOut = 9,
    kGameStart = 10,
    kGamePlay = 11,
    kPause = 12,
    kGameOverFadeIn = 13,
    kGameOverFadeOut = 14,
    kGameOverOpen = 15,
    kGameOverMenu = 16,
};

// Test play and author mode: all off in a plain run.
struct TTestPlay {
    bool play = false;        // skip the title: the first frame starts a game
    int32_t sceneEntry = -1;  // every game's script starts here (-1: the project's start)
    bool invincible = false;  // the ship takes no hits
    int32_t lives = -1;       // spare ships at the start of a game (-1: the project's)
    int32_t power = -1;       // shot level at the start of a game (-1: 0 as always)
    bool author = false;      // author keys, overlay, reload, watching the data folder
};

class TAuthorMode;

struct TStartup {
    bool changeIntoData = true;  // false when the caller already chose the data folder
    bool seedGiven = false;
    uint32_t seed = 0;
    int windowMode = -1;  // -1 as "Setting.bin" says
    TTestPlay testPlay;
};

class TGame {
public:
    TGame();
    ~TGame();
    TGame(const TGame&) = delete;
    TGame& operator=(const TGame&) = delete;

    // Start-up. False when the program must end at once (a legacy project), with the
    // exit code in *exitCode.
    bool Startup(const TStartup& startup, int* exitCode);
    // One pass of the frame loop; false when the loop ends (nothing ran in this pass).
    bool Frame();
    // What a pass runs once the frame has begun: the frame-rate text and the front state.
    void RunFrameState();
    // Test play: the queue becomes a new game that fades in at once (Boot's work done now).
    void StartTestPlay();
    void Shutdown();

    // ---- What RunGame owns.
    TApp app;
    TSetting setting;
    std::unique_ptr<TProject> project;
    TMenu menu;
    TWorld world;
    TScreenImage titlePicture;
    TScreenImage gameOverPicture;
    std::deque<int32_t> states;

    int32_t titleDelay = 0;
    int32_t configDelay = 0;
    int32_t toggleCounter = 0;
    uint32_t frame = 0;                 // passes of the loop that ran a state
    std::vector<int> frameSoundStarts;  // sound handles started by this frame's state
    TTestPlay testPlay;
    std::unique_ptr<TAuthorMode> author;  // only with --author

private:
    void Push(std::initializer_list<int32_t> codes);
    void Pop() { states.pop_front(); }
    void RunState(int32_t code);

    void Boot();
    void Quit();
    void FadeIn(void (TGame::*picture)());
    void FadeOut(void (TGame::*picture)());
    void TitleMenuOpen();
    void TitleMenu();
    void ConfigMenuOpen();
    void ConfigMenu();
    void GameStart();
    void GamePlay();
    void Pause();
    void GameOverOpen();
    void GameOverMenu();

    void StepAndDrawTitle();
    void DrawTitle();
    void StepAndDrawGameOver();
    void DrawGamePicture();

    bool shutDown_ = false;
};
