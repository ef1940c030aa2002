// Every picture of the demo game, drawn in code.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"

namespace demo {

struct Picture {
    std::string file;  // written into the asset folder under this name
    Canvas canvas;
};

std::vector<Picture> DrawAllPictures();

// The pieces, by the file that draws them.
// art_ship.cpp
void DrawShip(Canvas& c, int ox, int oy, int tilt, int flame);
Canvas ShipStrip(int tilt);
Canvas Explosion();
Canvas Bomb();
Canvas PlayerShot();
Canvas RoundBullet(int size, Color rim, Color core);
Canvas Needle();
// art_enemies.cpp
Canvas Dart();
Canvas SaucerStrip();
Canvas Gunship();
Canvas Carrier();
Canvas MineStrip();
Canvas Boss(bool damaged);
Canvas Interceptor();
Canvas Zigzag();
Canvas Phantom();
Canvas Barrier();
Canvas ItemPicture(int attribute);
// art_screens.cpp
Canvas Starfield(int width, int height, uint32_t seed, Color base, Color nebulaA, Color nebulaB);
Canvas TitleScreen();
Canvas GameOverScreen();
Canvas ScorePanel();
Canvas MenuFrame();

}  // namespace demo
