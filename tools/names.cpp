#include "names.h"

namespace tool {

std::optional<std::string> NameTable::Name(int64_t value) const {
    if (value < 0 || value >= static_cast<int64_t>(names.size()) || !*names[value]) return {};
    return std::string(names[value]);
}

std::optional<int32_t> NameTable::Value(const std::string& name) const {
    for (size_t i = 0; i < names.size(); ++i)
        if (*names[i] && name == names[i]) return static_cast<int32_t>(i);
    return {};
}

std::string NameTable::List() const {
    std::string out;
    for (const char* n : names) {
        if (!*n) continue;
        if (!out.empty()) out += ", ";
        out += n;
    }
    return out;
}

const NameTable kActionCommands{"an action command",
                                {"setSpeed",
                                 "setAngle",
                                 "faceLeft",
                                 "faceRight",
                                 "faceUp",
                                 "faceDown",
                                 "faceUpLeft",
                                 "faceUpRight",
                                 "faceDownLeft",
                                 "faceDownRight",
                                 "faceRandom",
                                 "faceRemembered",
                                 "startAccelerating",
                                 "stopAccelerating",
                                 "wait",
                                 "moveOn",
                                 "homeOnPlayer",
                                 "moveToPoint",
                                 "moveToRandomPoint",
                                 "jumpToPoint",
                                 "turnCounterclockwise",
                                 "turnClockwise",
                                 "curveCounterclockwise",
                                 "curveClockwise",
                                 "vanish",
                                 "label",
                                 "returnToLabel",
                                 "followPlayerX",
                                 "followPlayerY"}};

const NameTable kExtraActions{
    "an extra action",
    {"none", "rememberPlayer", "fan", "randomSpread", "ring", "spiral", "doubleRing", "playSound"}};

const NameTable kSceneCommands{
    "a scene command",
    {"wait", "backgroundImage", "backgroundSpeed", "enemyAppearance", "music", "stopSounds",
     "playSound", "destroyEnemies", "endOfStage"}};

const NameTable kPlaces{"a place", {"left", "right", "top", "bottom"}};
const NameTable kTargets{"a target", {"bullet", "enemy"}};
const NameTable kAngleModes{"an angle mode",
                            {"down", "player", "forward", "backward", "remembered", "value"}};
const NameTable kItemAttributes{"an item attribute", {"score", "power", "life", "bomb"}};
const NameTable kShotResponses{"a shot response", {"damage", "passThrough", "immune"}};
const NameTable kImageDirections{"an image direction", {"upright", "motion", "player"}};

int ActionParamCount(int32_t command) {
    switch (command) {
        case kSetSpeed:
        case kSetAngle:
        case kStartAccelerating:
        case kWait:
        case kMoveOn:
        case kHomeOnPlayer:
        case kTurnCounterclockwise:
        case kTurnClockwise:
        case kLabel:
        case kFollowPlayerX:
        case kFollowPlayerY:
            return 1;
        case kMoveToPoint:
        case kJumpToPoint:
        case kCurveCounterclockwise:
        case kCurveClockwise:
        case kReturnToLabel:
            return 2;
        default:
            return 0;
    }
}

const std::vector<const char*>& SceneParamNames(int32_t command) {
    static const std::vector<const char*> kNone;
    static const std::vector<const char*> kFrames{"frames"};
    static const std::vector<const char*> kSprite{"sprite"};
    static const std::vector<const char*> kSpeed{"speed"};
    static const std::vector<const char*> kSound{"sound"};
    static const std::vector<const char*> kAppearance{"enemy", "place", "position",
                                                      "speed", "angle", "waitUntilDeath"};
    switch (command) {
        case kSceneWait:
            return kFrames;
        case kBackgroundImage:
            return kSprite;
        case kBackgroundSpeed:
            return kSpeed;
        case kEnemyAppearance:
            return kAppearance;
        case kMusic:
        case kScenePlaySound:
            return kSound;
        default:
            return kNone;
    }
}

}  // namespace tool
