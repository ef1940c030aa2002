#include "shell/replay.h"

#include <cstdio>
#include <sstream>

void TReplay::RecordInput(uint32_t frame, const uint8_t keys[256], int pad) {
    if (frame > lastFrame) lastFrame = frame;
    TReplayFrame f;
    for (int i = 0; i < 256; ++i)
        if (keys[i]) f.keys.push_back(static_cast<uint8_t>(i));
    f.pad = pad;
    if (f.keys.empty() && f.pad == 0) {
        input.erase(frame);
        return;
    }
    input[frame] = std::move(f);
}

void TReplay::ApplyInput(uint32_t frame, uint8_t keys[256], int* pad) const {
    auto it = input.find(frame);
    if (it == input.end()) return;
    for (uint8_t k : it->second.keys) keys[k] = 1;
    *pad |= it->second.pad;
}

std::string TReplay::Serialize() const {
    std::ostringstream out;
    out << "orvan-replay 1\n";
    out << "seed " << seed << "\n";
    out << "frames " << lastFrame << "\n";
    for (const auto& [frame, f] : input) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%x", static_cast<unsigned>(f.pad));
        out << "i " << frame << " " << buf;
        for (uint8_t k : f.keys) {
            std::snprintf(buf, sizeof buf, " %02x", k);
            out << buf;
        }
        out << "\n";
    }
    for (const auto& [frame, sum] : checksums) {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(sum));
        out << "c " << frame << " " << buf << "\n";
    }
    return out.str();
}

bool TReplay::Parse(const std::string& text, std::string* error) {
    std::istringstream in(text);
    std::string line;
    int lineNumber = 0;
    auto fail = [&](const std::string& why) {
        if (error) *error = "line " + std::to_string(lineNumber) + ": " + why;
        return false;
    };
    if (!std::getline(in, line) || line != "orvan-replay 1") {
        lineNumber = 1;
        return fail("not an orvan replay (version 1)");
    }
    ++lineNumber;
    input.clear();
    checksums.clear();
    while (std::getline(in, line)) {
        ++lineNumber;
        std::istringstream words(line);
        std::string tag;
        if (!(words >> tag)) continue;
        if (tag == "seed") {
            if (!(words >> seed)) return fail("bad seed");
        } else if (tag == "frames") {
            if (!(words >> lastFrame)) return fail("bad frame count");
        } else if (tag == "i") {
            uint32_t frame;
            std::string pad;
            if (!(words >> frame >> pad)) return fail("bad input line");
            TReplayFrame f;
            f.pad = static_cast<int>(std::strtol(pad.c_str(), nullptr, 16));
            std::string key;
            while (words >> key) {
                long k = std::strtol(key.c_str(), nullptr, 16);
                if (k < 0 || k > 255) return fail("bad key code '" + key + "'");
                f.keys.push_back(static_cast<uint8_t>(k));
            }
            input[frame] = std::move(f);
        } else if (tag == "c") {
            uint32_t frame;
            std::string sum;
            if (!(words >> frame >> sum)) return fail("bad checksum line");
            checksums[frame] = std::strtoull(sum.c_str(), nullptr, 16);
        } else {
            return fail("unknown entry '" + tag + "'");
        }
    }
    return true;
}

uint64_t Checksum(const std::string& text) {
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}
