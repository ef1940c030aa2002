// Author mode's overlay, drawn over the finished game picture: the hit boxes of every actor,
// each enemy's slot and action-list entry, the scene entry and its wait, the pools' fill,
// a graph of recent frame times, and author mode's own status. It only reads the world.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TWorld;

struct TOverlayView {
    int font = -1;                     // a font handle of the media layer
    std::vector<uint32_t> frameTimes;  // milliseconds per pass of the loop, oldest first
    std::string status;                // e.g. "PAUSE  INVINCIBLE" (ASCII)
};

void DrawAuthorOverlay(const TWorld& world, const TOverlayView& view);

// A message across the bottom of the play field (a refused reload), white on dark red.
// 'text' is ASCII or cp932.
void DrawAuthorMessage(int font, const std::string& text);

// The overlay's colours, for tests that look at its pixels.
namespace overlay_colour {
constexpr uint32_t kShip = 0x00FF00;
constexpr uint32_t kEnemy = 0xFF8000;
constexpr uint32_t kEnemyBullet = 0xFF40FF;
constexpr uint32_t kShipBullet = 0x00FFFF;
constexpr uint32_t kItem = 0xFFFF00;
}  // namespace overlay_colour
