// Items dropped by dying enemies: they drift, fly to the player once it comes near, and
// are collected on contact with their attribute's effect.
#pragma once

#include <array>

#include "world/actor.h"

struct TProject;
class TPlayer;
class TScorePanel;

class TItem final : public TActor {
public:
    void Start(double x, double y, int32_t kind);
    void Update() override;

    int32_t kind = 0;
    TProject* project = nullptr;
    TPlayer* player = nullptr;
    TScorePanel* scorePanel = nullptr;
    int32_t frame = 0;
    int32_t frameCounter = 0;
    int32_t frameCount = 0;
    int32_t framesPerStep = 0;
    bool animate = false;
    bool attracted = false;  // flies at the player until it ends
};

class TItemPool {
public:
    static constexpr int kSize = 256;

    void SetupAll(TProject* project, TPlayer* player, TScorePanel* scorePanel);
    void KillAll();
    void UpdateAll();
    // First free item; a full pool or a kind outside 0..255 drops nothing. True when an
    // item started.
    bool Drop(double x, double y, int32_t kind);

    std::array<TItem, kSize> items;
};
