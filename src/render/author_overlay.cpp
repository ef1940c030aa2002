#include "render/author_overlay.h"

#include <algorithm>
#include <cstdio>

#include "media/media.h"
#include "world/world.h"

namespace {

int Colour(uint32_t rgb) {
    return MakeColor(static_cast<int>(rgb >> 16 & 0xFF), static_cast<int>(rgb >> 8 & 0xFF),
                     static_cast<int>(rgb & 0xFF));
}

// The outline of an actor's hit box: the box spans x +- halfWidth and y +- halfHeight.
void Box(const TActor& a, int colour) {
    const int x = static_cast<int>(a.x), y = static_cast<int>(a.y);
    DrawRect(x - a.halfWidth, y - a.halfHeight, x + a.halfWidth + 1, y + a.halfHeight + 1, colour,
             0);
}

void Shade(int x1, int y1, int x2, int y2, int alpha) {
    SetBlendMode(1, alpha);
    DrawRect(x1, y1, x2, y2, MakeColor(0, 0, 0), 1);
    SetBlendMode(0, 0);
}

void Text(int font, int x, int y, const char* text, uint32_t rgb = 0xFFFFFF) {
    DrawTextWithFont(x, y, text, Colour(rgb), font, Colour(0x000000), 0);
}

template <class Pool>
int LiveCount(const Pool& actors) {
    int n = 0;
    for (const auto& a : actors) n += a.IsAlive() ? 1 : 0;
    return n;
}

// The last few seconds of frame times as bars, with a line at the 17 ms the loop aims for.
void FrameGraph(int font, int left, int bottom, const std::vector<uint32_t>& times) {
    const int height = 50, width = 200;
    const double perMs = height / 51.0;  // three frames' worth fills the graph
    Shade(left - 2, bottom - height - 14, left + width + 2, bottom + 2, 215);
    const size_t count = std::min<size_t>(times.size(), static_cast<size_t>(width));
    const size_t first = times.size() - count;
    for (size_t i = 0; i < count; ++i) {
        const uint32_t ms = times[first + i];
        const int h = std::min(height, static_cast<int>(ms * perMs + 0.5));
        const uint32_t rgb = ms > 34 ? 0xFF4040 : (ms > 18 ? 0xFFC040 : 0x40C040);
        const int x = left + width - static_cast<int>(count) + static_cast<int>(i);
        if (h > 0) DrawRect(x, bottom - h, x + 1, bottom, Colour(rgb), 1);
    }
    const int target = bottom - static_cast<int>(17 * perMs + 0.5);
    DrawRect(left, target, left + width, target + 1, Colour(0xFFFFFF), 1);
    char line[64];
    std::snprintf(line, sizeof line, "frame work ms: %u", times.empty() ? 0u : times.back());
    Text(font, left, bottom - height - 13, line);
}

}  // namespace

void DrawAuthorOverlay(const TWorld& world, const TOverlayView& view) {
    // Drawn at full brightness whatever the fade level.
    SetDrawBrightness(255, 255, 255);
    SetBlendMode(0, 0);
    char line[128];

    const int itemColour = Colour(overlay_colour::kItem);
    for (const TItem& item : world.items.items)
        if (item.IsAlive()) Box(item, itemColour);
    const int enemyColour = Colour(overlay_colour::kEnemy);
    for (const TEnemy& e : world.enemies.enemies) {
        if (!e.IsAlive()) continue;
        Box(e, enemyColour);
        // Slot and the action-list entry it is on.
        std::snprintf(line, sizeof line, "%d:%d", e.slot, e.commandIndex);
        Text(view.font, static_cast<int>(e.x) + e.halfWidth + 2,
             static_cast<int>(e.y) - e.halfHeight, line, overlay_colour::kEnemy);
    }
    const int ownShot = Colour(overlay_colour::kShipBullet);
    const int enemyShot = Colour(overlay_colour::kEnemyBullet);
    for (const TBullet& b : world.bullets.bullets)
        if (b.IsAlive()) Box(b, b.side == 1 ? ownShot : enemyShot);
    if (world.player.IsAlive()) Box(world.player, Colour(overlay_colour::kShip));

    // The numbers, over the lower part of the score panel.
    const int left = 424;
    int y = 250;
    Shade(left - 4, y - 4, 636, y + 6 * 15 + 4, 215);
    const TScene& s = world.scene;
    std::snprintf(line, sizeof line, "scene %d  wait %d%s", s.entryIndex, s.waitFrames,
                  s.stageEnded ? "  END" : "");
    Text(view.font, left, y, line);
    struct Count {
        const char* name;
        int live;
        int size;
    } counts[] = {
        {"enemies", LiveCount(world.enemies.enemies), TEnemyPool::kSize},
        {"bullets", LiveCount(world.bullets.bullets), TBulletPool::kSize},
        {"items", LiveCount(world.items.items), TItemPool::kSize},
        {"effects", LiveCount(world.effects.effects), TEffectPool::kSize},
    };
    for (const Count& c : counts) {
        y += 15;
        std::snprintf(line, sizeof line, "%-8s %4d / %d", c.name, c.live, c.size);
        Text(view.font, left, y, line);
    }
    y += 15;
    Text(view.font, left, y,
         view.status.empty() ? "F2 pause F3 slow F4 fast F5 reload" : view.status.c_str(),
         0xFFFF80);
    FrameGraph(view.font, left, 470, view.frameTimes);
}

void DrawAuthorMessage(int font, const std::string& text) {
    SetDrawBrightness(255, 255, 255);
    SetBlendMode(1, 200);
    DrawRect(0, 440, 416, 480, MakeColor(128, 0, 0), 1);
    SetBlendMode(0, 0);
    // Long messages wrap at about 64 characters a line.
    const size_t perLine = 64;
    for (size_t at = 0, line = 0; at < text.size() && line < 2; at += perLine, ++line)
        DrawTextWithFont(4, 444 + static_cast<int>(line) * 16, text.substr(at, perLine).c_str(),
                         MakeColor(255, 255, 255), font, MakeColor(0, 0, 0), 0);
}
