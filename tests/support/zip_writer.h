// ZipWriter: zip archives for fixtures, byte by byte, lies included (sizes that are not the
// data's, entries that share their data) for the hostile cases.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ZipItem {
    std::string name;  // the stored bytes: cp932, or UTF-8 with the flag below
    std::string data;
    bool deflate = false;
    bool utf8Flag = false;
    int64_t claimedSize = -1;  // the unpacked size the directory states; -1: the real one
    int sharesDataWith = -1;   // the index of an earlier item whose local entry this one names
};

std::string MakeZip(const std::vector<ZipItem>& items);
// Every file below 'folder', stored under 'prefix' + its relative path.
std::vector<ZipItem> ZipItemsOfFolder(const std::string& folder, const std::string& prefix);
