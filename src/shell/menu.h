// TMenu: the one menu object behind the title, configuration, pause and game-over menus.
// It is refilled whenever a menu opens, moves its cursor with its own repeat delay, reports
// a decision, and draws itself as a framed translucent window with a pulsing cursor bar.
#pragma once

#include <cstdint>
#include <vector>

#include "base/font.h"
#include "base/sprite_image.h"
#include "base/tstring.h"

class TApp;
struct TProject;
struct TSetting;

class TMenu {
public:
    // Loads "Frame.png" (a missing one ends the run through the error file), creates the
    // menu font and keeps the three links.
    void Setup(TApp* app, TProject* project, TSetting* setting);

    void FillTitle();
    void FillConfig();
    void FillPause();
    void FillGameOver();

    // Cursor movement and decision detection, once per frame while the menu is active.
    void Run();
    // The decided item, or -1. Taking a decision plays the decision sound.
    int32_t TakeDecision();
    void ClearDecision() { decision = 0; }
    void Draw();
    // Shut-down: the frame pictures and the items are let go.
    void Release();

    // Item access by index; replacing a text does not lay the menu out again.
    TString& Item(size_t i) { return items[i]; }
    size_t ItemCount() const { return items.size(); }

    TApp* app = nullptr;
    TProject* project = nullptr;
    TSetting* setting = nullptr;
    TSpriteImage frameImage;  // 3 x 3 cells of 10 x 13 pixels
    int32_t longestLength = 0;
    int32_t longestItem = 0;
    int32_t widthCells = 0;
    TFont font;
    int32_t cursor = 0;
    int32_t repeatCounter = 0;
    int32_t highlight = 100;
    int32_t highlightFalling = 0;
    uint8_t decision = 0;
    double x = 0.0;
    double y = 0.0;
    std::vector<TString> items;

private:
    void Fill(std::vector<TString> newItems, double atX, double atY);
    void LayOut();
};

// The fixed texts of the menus, in cp932.
TString ConfigWindowItem(bool windowed);
TString ConfigFpsItem(bool showFps);
