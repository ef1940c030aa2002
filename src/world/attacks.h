// The five attack patterns of an action-list entry (fan, random spread, ring, spiral, double
// ring). Each volley draws its random numbers in a fixed order from the one game stream and
// hands every shot, as a speed and a heading, to a sink; the enemy's sink fires bullets or
// spawns child enemies, and tests record the shots instead.
#pragma once

#include <cstdint>

struct TActionEntry;
class TEnemy;

class TShotSink {
public:
    // One shot from the firing enemy's position; 'aim' turns a bullet toward the player.
    virtual void Shot(double speed, double heading, bool aim) = 0;
    // True once a shot of this volley has created nothing (a full pool, a number outside its
    // table): nothing frees a slot during a volley, so no later shot of it could create
    // anything either, and the volley only has to draw the random numbers those shots would.
    virtual bool Spent() const { return false; }

protected:
    ~TShotSink() = default;
};

// A draw of plus or minus 'range': rand() % (2 range + 1) - range. A negative range counts
// as 0; every call consumes exactly one random number.
int32_t RandomPlusMinus(int32_t range);

// The base heading of angle modes 0 and 2 to 5 as seen from 'shooter' (its motion and its
// remembered point); mode 1 (aimed, handled by each pattern) and unknown modes give 0.
int32_t BaseHeading(const TActionEntry& e, const TEnemy& shooter);

// Shot speed of a volley: (shotSpeed +- shotSpeedJitter) x 0.1, one draw.
double DrawShotSpeed(const TActionEntry& e);

// Fan: speed, angle jitter, count and spacing drawn once per volley, in this order; the
// shots are spread evenly around the base heading.
void FanVolley(const TActionEntry& e, const TEnemy& shooter, double playerX, double playerY,
               TShotSink& out);
// Random spread: every shot draws its own speed and angle jitter (bullets: speed first;
// enemies: jitter first). Other targets draw nothing.
void RandomSpreadVolley(const TActionEntry& e, const TEnemy& shooter, double playerX,
                        double playerY, TShotSink& out);
// Ring: one angle jitter, then one speed; a shot every 'spacing' degrees from 0 below 360.
void RingVolley(const TActionEntry& e, TShotSink& out);
// Spiral: one speed; the emission angle turns by 'spacing' before the one shot.
void SpiralVolley(const TActionEntry& e, double& emitAngle, TShotSink& out);
// Double ring: one speed; the emission angle turns by 'angleJitter'; every 'spacing' degrees
// a pair of shots turned by plus and minus the emission angle.
void DoubleRingVolley(const TActionEntry& e, double& emitAngle, TShotSink& out);
