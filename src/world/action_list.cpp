// The action-list interpreter: one step per enemy per frame, before the enemy moves. A frame
// either executes the current entry (its command, the acceleration, its extra action) or
// advances to the next entry and does nothing else.
#include <cstdint>

#include "player/player.h"
#include "project/codes.h"
#include "project/project.h"
#include "project/sound_entry.h"
#include "sys/sys.h"
#include "world/enemy.h"

namespace {

// Headings of commands 2 to 9, in command order.
constexpr double kFixedHeadings[] = {180, 0, 270, 90, 225, 315, 135, 45};

}  // namespace

void TEnemy::BuildLoopRecords() {
    // clear() keeps the capacity: after the first start of a list nothing is allocated.
    loopRecords.clear();
    const auto& actions = definition->actions;
    for (size_t i = 0; i < actions.size(); ++i) {
        if (actions[i].command != kReturnToLabel) continue;
        int32_t repeat = actions[i].paramB;
        loopRecords.push_back({static_cast<int32_t>(i), repeat, repeat});
    }
}

int32_t TEnemy::LabelIndex(int32_t label) const {
    const auto& actions = definition->actions;
    for (size_t i = 0; i < actions.size(); ++i) {
        if (actions[i].command == kLabel && actions[i].paramA == label) {
            return static_cast<int32_t>(i);
        }
    }
    // A label nobody carries sends the list back to the start.
    return 0;
}

TLoopRecord* TEnemy::LoopRecord(int32_t index) {
    for (TLoopRecord& record : loopRecords) {
        if (record.index == index) return &record;
    }
    return nullptr;
}

void TEnemy::PrepareEntry(const TActionEntry& e) {
    switch (e.command) {
        case kWait:
            savedSpeed = GetSpeed();
            break;
        case kMoveToRandomPoint:
            randomX = sys::Rand() % 417;
            randomY = sys::Rand() % 481;
            break;
        case kReturnToLabel: {
            TLoopRecord* record = LoopRecord(commandIndex);
            if (record == nullptr) break;
            // B times back to the label, then once through (the count is reloaded for the
            // next time the list comes here). A count of 0 or less never jumps.
            if (record->remaining > 0) {
                --record->remaining;
                commandIndex = LabelIndex(e.paramA);
            } else {
                record->remaining = record->initial;
            }
            break;
        }
        default:
            break;
    }
}

void TEnemy::PrepareFirstEntry() {
    const auto& actions = definition->actions;
    // A return to a label at entry 0 is left alone: preparing it now would jump before
    // anything ran. The list never advances onto entry 0, so such a return never jumps.
    if (actions.empty() || actions[0].command == kReturnToLabel) return;
    PrepareEntry(actions[0]);
}

bool TEnemy::CountFrame(int32_t limit) {
    if (commandFrames < INT32_MAX) ++commandFrames;
    return commandFrames > limit;
}

void TEnemy::RunActionList() {
    const auto& actions = definition->actions;
    const int32_t size = static_cast<int32_t>(actions.size());
    // A finished list stands still for good: no acceleration, no attacks.
    if (listFinished || size == 0) {
        Halt();
        return;
    }
    if (advancePending) {
        ++commandIndex;
        if (commandIndex >= size) {
            listFinished = true;
            return;
        }
        PrepareEntry(actions[commandIndex]);
        commandFrames = 0;
        advancePending = false;
        return;
    }
    // A copy: an attack may restart this very slot (after a vanish), which must not change
    // the entry being run.
    const TActionEntry e = actions[commandIndex];
    ExecuteCommand(e);
    // The new speed shows only when a later command recomputes the velocity.
    if (accelerating) SetSpeed(GetSpeed() + acceleration);
    RunExtra(e);
}

void TEnemy::ExecuteCommand(const TActionEntry& e) {
    bool done = true;
    switch (e.command) {
        case kSetSpeed:
            SetSpeed(e.paramA * 0.1);
            break;
        case kSetAngle:
            SetAngle(e.paramA);
            break;
        case kFaceLeft:
        case kFaceRight:
        case kFaceUp:
        case kFaceDown:
        case kFaceUpLeft:
        case kFaceUpRight:
        case kFaceDownLeft:
        case kFaceDownRight:
            SetAngle(kFixedHeadings[e.command - kFaceLeft]);
            break;
        case kFaceRandom:
            SetAngle(sys::Rand() % 360 + 1);
            break;
        case kFaceRemembered:
            SetAngle(AngleTo(rememberedX, rememberedY) + 90.0);
            break;
        case kStartAccelerating:
            accelerating = true;
            acceleration = e.paramA * 0.01;
            break;
        case kStopAccelerating:
            accelerating = false;
            break;
        case kWait:
            Halt();
            done = CountFrame(e.paramA);
            // The saved speed comes back without moving: the enemy stands until a command
            // recomputes its velocity.
            if (done) SetSpeed(savedSpeed);
            break;
        case kMoveOn:
            ApplyHeading();
            done = CountFrame(e.paramA);
            break;
        case kHomeOnPlayer:
            SteerToward(player->x, player->y);
            done = CountFrame(e.paramA);
            break;
        case kFollowPlayerX:
            SteerTowardX(player->x, player->y);
            done = CountFrame(e.paramA);
            break;
        case kFollowPlayerY:
            SteerTowardY(player->x, player->y);
            done = CountFrame(e.paramA);
            break;
        case kMoveToPoint:
        case kMoveToRandomPoint: {
            double tx = e.command == kMoveToPoint ? e.paramA : randomX;
            double ty = e.command == kMoveToPoint ? e.paramB : randomY;
            double dx = tx - x, dy = ty - y;
            done = !(GetSpeed() * GetSpeed() < dx * dx + dy * dy);
            if (!done) {
                SteerToward(tx, ty);
            } else {
                // On the point; the velocity of the last step stays and the motion step of
                // this frame still applies it.
                x = tx;
                y = ty;
            }
            break;
        }
        case kJumpToPoint:
            x = e.paramA;
            y = e.paramB;
            break;
        case kTurnCounterclockwise:
            Turn(-static_cast<double>(e.paramA));
            break;
        case kTurnClockwise:
            Turn(e.paramA);
            break;
        case kCurveCounterclockwise:
        case kCurveClockwise: {
            // k x 0.1 degrees per pixel travelled: the radius does not depend on the speed.
            int32_t k = e.paramB / 10;
            TurnBySpeed(e.command == kCurveClockwise ? k : -static_cast<double>(k));
            if (turnFrames < INT32_MAX) ++turnFrames;
            done = GetSpeed() * 0.1 * k * turnFrames >= e.paramA;
            if (done) turnFrames = 0;
            break;
        }
        case kVanish:
            Kill();
            watched = false;
            break;
        default:
            // Labels, returns (they act when the list arrives on them) and unknown codes
            // finish at once.
            break;
    }
    if (done) advancePending = true;
}

void TEnemy::RunExtra(const TActionEntry& e) {
    switch (e.extra) {
        case kRememberPlayer:
            rememberedX = player->x;
            rememberedY = player->y;
            break;
        case kFan:
            if (VolleyDue(e)) FireFan(e);
            break;
        case kRandomSpread:
            if (VolleyDue(e)) FireRandomSpread(e);
            break;
        case kRing:
            if (VolleyDue(e)) FireRing(e);
            break;
        case kSpiral:
            if (VolleyDue(e)) FireSpiral(e);
            break;
        case kDoubleRing:
            if (VolleyDue(e)) FireDoubleRing(e);
            break;
        case kPlaySound:
            PlaySoundNumber(*project, e.target);
            break;
        default:
            break;
    }
}
