// orvan-tool's pictures of a project, drawn by the game library on the headless media core:
// a sheet of every sprite, the scene script against time, and the trace of one enemy played
// alone. Each writes a PNG file and throws ToolError when it cannot.
#pragma once

#include <cstdint>
#include <string>

namespace tool {

// Every sprite that has pictures, strips cut into their frames, with number and name.
void DrawSpriteSheet(const std::string& dataDir, const std::string& outPng);

// The scene script played by the game's own scene runner (no input, the ship untouchable):
// waits as bars, appearances as marks with the enemy's picture, music and background
// changes, the boss (held until beaten: it is beaten after 'bossFrames') and the stage end.
void DrawTimeline(const std::string& dataDir, const std::string& outPng, uint32_t seed = 1,
                  uint32_t bossFrames = 600);

// Where an enemy appears: a scene appearance's place (0 left, 1 right, 2 top, 3 bottom
// edge), position along that edge, speed in tenths and angle. -1 in 'place': as the first
// appearance of the enemy in the scene script, or at the top edge's middle.
struct TracePlace {
    int32_t place = -1;
    int32_t position = 208;
    int32_t speed = 0;
    int32_t angle = 90;
};

// The enemy alone in the world for 'frames' frames from its place: its path, where bullets
// were fired, the paths of its bullets and children, over the stage background.
void DrawTrace(const std::string& dataDir, int32_t enemy, const std::string& outPng,
               uint32_t frames = 300, uint32_t seed = 1, TracePlace place = {});

}  // namespace tool
