// The names the JSON form of a project gives to command codes and other enumerated
// values. A value without a name is written as its number, so nothing is lost.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "project/codes.h"

namespace tool {

// One enumeration: names[i] is the name of value i (an empty name has none).
struct NameTable {
    const char* what;  // "an action command", for error messages
    std::vector<const char*> names;

    // The name of 'value', or nothing when it has none.
    std::optional<std::string> Name(int64_t value) const;
    // The value named 'name', or nothing.
    std::optional<int32_t> Value(const std::string& name) const;
    // "a, b, c" for error messages.
    std::string List() const;
};

extern const NameTable kActionCommands;   // 0..28
extern const NameTable kExtraActions;     // 0..7
extern const NameTable kSceneCommands;    // 0..8
extern const NameTable kPlaces;           // enemy appearance place 0..3
extern const NameTable kTargets;          // what an attack creates 0..1
extern const NameTable kAngleModes;       // 0..5
extern const NameTable kItemAttributes;   // 0..3
extern const NameTable kShotResponses;    // 0..2
extern const NameTable kImageDirections;  // 0..2

// How many of paramA and paramB (0, 1 or 2) an action command reads.
int ActionParamCount(int32_t command);
// True for the five attack patterns.
inline bool IsAttack(int32_t extra) {
    return extra >= kFan && extra <= kDoubleRing;
}

// The names of the words p1..p6 that a scene command reads, in order; empty for the
// commands without parameters and for unknown codes.
const std::vector<const char*>& SceneParamNames(int32_t command);

}  // namespace tool
