#include "media/input_script.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace media {

bool LookUpInputName(const std::string& rawName, int* scanCode, int* padBits) {
    std::string name;
    for (char c : rawName) name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    *scanCode = -1;
    *padBits = 0;
    struct Key {
        const char* name;
        int code;
    };
    static const Key keys[] = {{"ESC", 0x01},  {"Z", 0x2C},    {"X", 0x2D},    {"UP", 0xC8},
                               {"DOWN", 0xD0}, {"LEFT", 0xCB}, {"RIGHT", 0xCD}};
    for (const Key& k : keys) {
        if (name == k.name) {
            *scanCode = k.code;
            return true;
        }
    }
    // F1..F10 are 0x3B..0x44, F11 and F12 0x57 and 0x58 (author mode's keys).
    if (name.size() >= 2 && name.size() <= 3 && name[0] == 'F' &&
        std::isdigit(static_cast<unsigned char>(name[1])) &&
        (name.size() == 2 || std::isdigit(static_cast<unsigned char>(name[2])))) {
        int n = std::atoi(name.c_str() + 1);
        if (n < 1 || n > 12 || name[1] == '0') return false;
        *scanCode = n <= 10 ? 0x3B + n - 1 : 0x57 + n - 11;
        return true;
    }
    if (name == "PADDOWN") {
        *padBits = 0x1;
        return true;
    }
    if (name == "PADLEFT") {
        *padBits = 0x2;
        return true;
    }
    if (name == "PADRIGHT") {
        *padBits = 0x4;
        return true;
    }
    if (name == "PADUP") {
        *padBits = 0x8;
        return true;
    }
    if (name.size() > 3 && name.compare(0, 3, "PAD") == 0) {
        const std::string digits = name.substr(3);
        if (digits.size() > 2) return false;
        for (char c : digits)
            if (!std::isdigit(static_cast<unsigned char>(c))) return false;
        int n = std::atoi(digits.c_str());
        if (n < 1 || n > 24) return false;
        *padBits = 0x10 << (n - 1);
        return true;
    }
    return false;
}

namespace {

bool ParseFrame(const std::string& s, uint32_t* out) {
    if (s.empty() || s.size() > 10) return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    errno = 0;
    unsigned long long v = std::strtoull(s.c_str(), nullptr, 10);
    if (errno || v > 0xFFFFFFFFull) return false;
    *out = static_cast<uint32_t>(v);
    return true;
}

}  // namespace

bool InputScript::Parse(const std::string& text, std::string* error) {
    spans_.clear();
    std::istringstream in(text);
    std::string line;
    int lineNumber = 0;
    auto fail = [&](const std::string& why) {
        if (error) *error = "line " + std::to_string(lineNumber) + ": " + why;
        spans_.clear();
        return false;
    };
    while (std::getline(in, line)) {
        ++lineNumber;
        size_t hash = line.find('#');
        if (hash != std::string::npos) line.resize(hash);
        std::istringstream words(line);
        std::string range;
        if (!(words >> range)) continue;  // blank or comment only
        Span span;
        size_t dash = range.find('-');
        if (dash == std::string::npos) {
            if (!ParseFrame(range, &span.first)) return fail("bad frame number '" + range + "'");
            span.last = span.first;
        } else {
            if (!ParseFrame(range.substr(0, dash), &span.first) ||
                !ParseFrame(range.substr(dash + 1), &span.last))
                return fail("bad frame range '" + range + "'");
            if (span.last < span.first) return fail("range '" + range + "' ends before it starts");
        }
        std::string name;
        bool any = false;
        while (words >> name) {
            int code = -1, bits = 0;
            if (!LookUpInputName(name, &code, &bits))
                return fail("unknown input name '" + name + "'");
            if (code >= 0) span.keys.push_back(static_cast<uint8_t>(code));
            span.pad |= bits;
            any = true;
        }
        if (!any) return fail("no input names after '" + range + "'");
        spans_.push_back(std::move(span));
    }
    return true;
}

void InputScript::Apply(uint32_t frame, uint8_t keys[256], int* pad) const {
    for (const Span& s : spans_) {
        if (frame < s.first || frame > s.last) continue;
        for (uint8_t k : s.keys) keys[k] = 1;
        *pad |= s.pad;
    }
}

}  // namespace media
