#include "world/actor.h"

#include <cmath>

double TActor::AngleTo(double px, double py) const {
    return std::atan2(px - x, -(py - y)) * kRadToDeg + 180.0;
}

double TActor::MotionBearing() const {
    return std::atan2(vx, -vy) * kRadToDeg;
}

void TActor::Turn(double d) {
    angle += d;
    // Normalised once only: an angle of exactly 360 stays 360.
    if (angle < 0) angle += 360.0;
    if (angle > 360) angle -= 360.0;
}

void TActor::ApplyHeading() {
    vx = std::cos(angle * kDegToRad) * speed;
    vy = std::sin(angle * kDegToRad) * speed;
}

void TActor::Halt() {
    SetSpeed(kStopSpeed);
    ApplyHeading();
}

void TActor::SteerToward(double px, double py) {
    double dx = px - x, dy = py - y;
    double d = std::sqrt(dx * dx + dy * dy);
    // Standing on the target leaves the velocity as it is (the direction is undefined).
    if (d == 0.0) return;
    vx = dx / d * speed;
    vy = dy / d * speed;
}

void TActor::SteerTowardX(double px, double py) {
    double dx = px - x, dy = py - y;
    double d = std::sqrt(dx * dx + dy * dy);
    if (d == 0.0) return;
    vx = dx / d * speed;
}

void TActor::SteerTowardY(double px, double py) {
    double dx = px - x, dy = py - y;
    double d = std::sqrt(dx * dx + dy * dy);
    if (d == 0.0) return;
    vy = dy / d * speed;
}

void TActor::TurnBySpeed(double k) {
    angle += k * speed * 0.1;
    if (angle < 0) angle += 360.0;
    if (angle > 360) angle -= 360.0;
    ApplyHeading();
}

bool TActor::Overlaps(const TActor& other) const {
    if (!other.IsAlive() || !IsAlive()) return false;
    return other.x + other.halfWidth > x - halfWidth && other.x - other.halfWidth < x + halfWidth &&
           other.y + other.halfHeight > y - halfHeight &&
           other.y - other.halfHeight < y + halfHeight;
}
