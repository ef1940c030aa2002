// The program's icon for the desktop, in the layout of an icon theme.
#pragma once

#include <string>
#include <vector>

namespace demo {

// Writes FOLDER/NxN/apps/orvan.png for each size. False when a file cannot be written.
bool WriteIcons(const std::string& folder, const std::vector<int>& sizes);

}  // namespace demo
