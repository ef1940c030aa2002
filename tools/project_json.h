// The JSON form of a project. A record is in the JSON exactly when its file exists; texts
// are UTF-8 (a text that cp932 cannot give back unchanged is kept as {"cp932": "<hex>"});
// command codes and other enumerations are names, or numbers where a value has no name.
// Images and sound files are named by path: "image", "source" and "frameImage" are
// relative to the data folder in a dump, and relative to the asset folder given to build.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "tool_project.h"

namespace tool {

using Json = nlohmann::ordered_json;

constexpr const char* kFormatName = "orvan-project";
constexpr int kFormatVersion = 1;

// The whole project as JSON.
Json ProjectToJson(const ToolProject& project);

// Fills 'out' (a fresh ToolProject) from JSON. Every asset file named must exist below
// 'assetDir'. Throws ToolError naming the path of the bad value, e.g.
// "enemies[3].actions[7].paramA: expected an integer".
void ProjectFromJson(const Json& json, const std::string& assetDir, ToolProject& out);

// Indented text in which a short object or array of plain values stays on one line.
std::string FormatJson(const Json& json);

}  // namespace tool
