// TActor: everything that moves during play. Positions, velocities, speeds and angles are
// doubles in play-field pixels (416 x 480, y downward); headings are in degrees with 0 to
// the right and 90 down; bearings are measured clockwise from straight up.
#pragma once

#include <cstdint>

// An actor that is to stand still gets this speed, never exactly 0.
constexpr double kStopSpeed = 0.000001;
constexpr double kDegToRad = 0.0174532925;
constexpr double kRadToDeg = 57.295779578552306;
constexpr int kFieldWidth = 416;
constexpr int kFieldHeight = 480;

class TActor {
public:
    virtual ~TActor() = default;

    // The ten operations shared by every class, in their fixed order.
    virtual bool IsAlive() const { return alive; }
    virtual void Activate() { alive = true; }
    // Frees the slot; nothing else (no sound, no score, no effect).
    virtual void Kill() { alive = false; }
    virtual void Update() = 0;
    // Speed and angle alone never change the motion until the velocity is recomputed.
    virtual void SetSpeed(double s) { speed = s; }
    virtual double GetSpeed() const { return speed; }
    virtual void SetAngle(double a) { angle = a; }
    // The bearing from the point to this actor, above 0 up to 360; +90 gives the heading
    // from the actor toward the point.
    virtual double AngleTo(double px, double py) const;
    // The bearing of the velocity, -180 to 180; -90 gives the heading of motion.
    virtual double MotionBearing() const;
    // angle += d, normalised once: below 0 gains 360, then above 360 loses 360.
    virtual void Turn(double d);

    void ApplyHeading();  // velocity from angle and speed
    void Halt();          // stop speed, then ApplyHeading
    // Velocity toward the point at the current speed; angle unchanged. On the point itself
    // the velocity is left as it is.
    void SteerToward(double px, double py);
    void SteerTowardX(double px, double py);  // writes vx only
    void SteerTowardY(double px, double py);  // writes vy only
    void TurnBySpeed(double k);               // angle += k * speed * 0.1, normalised
    // Strict box test; false when either actor is free.
    bool Overlaps(const TActor& other) const;
    void Move() {
        x += vx;
        y += vy;
    }

    double vx = 0.0;
    double vy = 0.0;
    double angle = 0.0;
    double speed = 0.0;
    bool alive = false;
    int32_t halfWidth = 0;
    int32_t halfHeight = 0;
    double x = 0.0;
    double y = 0.0;
};

// An animation cursor over one sprite.
struct TAnimationCursor {
    int32_t frame = 0;
    int32_t frameCounter = 0;
    int32_t frameCount = 0;
    int32_t framesPerStep = 0;
    bool animate = false;
};
