#include "shell/config.h"

#include <strings.h>

#include <cstdint>
#include <fstream>
#include <sstream>

#include "shell/launch.h"

namespace {

// The game's actions: the scan code and the pad bits the game reads for each.
struct TAction {
    const char* name;
    uint8_t key;
    int padBits;
};
constexpr TAction kActions[] = {
    {"up", 0xC8, 0x8},    {"down", 0xD0, 0x1},  {"left", 0xCB, 0x2},   {"right", 0xCD, 0x4},
    {"fire", 0x2D, 0x40}, {"bomb", 0x2C, 0x10}, {"pause", 0x01, 0x20},
};

const char* ActionOfKey(uint8_t code) {
    for (const TAction& a : kActions)
        if (a.key == code) return a.name;
    return nullptr;
}

std::string Trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t\r"), b = s.find_last_not_of(" \t\r");
    return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

bool Same(const std::string& a, const char* b) {
    return ::strcasecmp(a.c_str(), b) == 0;
}

std::string ParseBool(const std::string& v, bool* out) {
    for (const char* yes : {"yes", "true", "on", "1"})
        if (Same(v, yes)) return *out = true, "";
    for (const char* no : {"no", "false", "off", "0"})
        if (Same(v, no)) return *out = false, "";
    return "'" + v + "' is not yes or no";
}

// A comma-separated list of names; "none" or nothing binds nothing.
std::string ParseNames(const std::string& v, int (*lookup)(const std::string&), const char* what,
                       std::vector<int>* out) {
    if (v.empty() || Same(v, "none")) return "";
    std::stringstream list(v);
    std::string name;
    while (std::getline(list, name, ',')) {
        int id = lookup(Trim(name));
        if (id < 0) return "'" + Trim(name) + "' is not a " + what;
        out->push_back(id);
    }
    return "";
}

// One setting: its section, its name, and what a value does (a message when it is bad).
struct TEntry {
    const char* section;
    const char* name;
    std::string (*apply)(const std::string& value, const TAction* action, TConfig* config);
    const TAction* action;
};

std::string ApplyScale(const std::string& v, const TAction*, TConfig* c) {
    if (v.size() > 2 || v.find_first_not_of("0123456789") != std::string::npos || v.empty() ||
        std::stoi(v) > 16)
        return "the scale is a whole number from 0 to 16, not '" + v + "'";
    c->scale = std::stoi(v);
    return "";
}
std::string ApplyIntegerScaling(const std::string& v, const TAction*, TConfig* c) {
    return ParseBool(v, &c->integerScaling);
}
std::string ApplyVsync(const std::string& v, const TAction*, TConfig* c) {
    return ParseBool(v, &c->vsync);
}
std::string ApplyAuthor(const std::string& v, const TAction*, TConfig* c) {
    return ParseBool(v, &c->author);
}
std::string ApplyFullscreen(const std::string& v, const TAction*, TConfig* c) {
    bool on = false;
    std::string error = ParseBool(v, &on);
    if (error.empty()) c->fullscreen = on ? 1 : 0;
    return error;
}

std::string ApplyKeys(const std::string& v, const TAction* action, TConfig* c) {
    std::vector<int> keys;
    std::string error = ParseNames(v, media::HostKeyFromName, "key", &keys);
    if (!error.empty()) return error;
    media::ControlMap& map = c->controls;
    for (uint8_t& code : map.keyCode)
        if (code == action->key) code = 0;
    std::string taken;
    for (int k : keys) {
        const char* other = ActionOfKey(map.keyCode[k]);
        if (other && other != action->name) taken = other;
        map.keyCode[k] = action->key;
    }
    return taken.empty() ? "" : "takes a key that " + taken + " had (applied)";
}

std::string ApplyScreenshotKey(const std::string& v, const TAction*, TConfig* c) {
    std::vector<int> keys;
    std::string error = ParseNames(v, media::HostKeyFromName, "key", &keys);
    if (error.empty() && keys.size() > 1) error = "the screenshot takes one key";
    if (error.empty()) c->controls.screenshotKey = keys.empty() ? -1 : keys[0];
    return error;
}

std::string ApplyPad(const std::string& v, const TAction* action, TConfig* c) {
    std::vector<int> inputs;
    std::string error = ParseNames(v, media::PadInputFromName, "pad button or stick", &inputs);
    if (!error.empty()) return error;
    for (int& bits : c->controls.padBits) bits &= ~action->padBits;
    for (int i : inputs) c->controls.padBits[i] |= action->padBits;
    return "";
}

std::vector<TEntry> Entries() {
    std::vector<TEntry> entries = {
        {"", "author", ApplyAuthor, nullptr},
        {"window", "scale", ApplyScale, nullptr},
        {"window", "integer_scaling", ApplyIntegerScaling, nullptr},
        {"window", "fullscreen", ApplyFullscreen, nullptr},
        {"window", "vsync", ApplyVsync, nullptr},
        {"keyboard", "screenshot", ApplyScreenshotKey, nullptr},
    };
    for (const TAction& a : kActions) {
        entries.push_back({"keyboard", a.name, ApplyKeys, &a});
        entries.push_back({"pad", a.name, ApplyPad, &a});
    }
    return entries;
}

}  // namespace

void ParseConfig(const std::string& text, const std::string& name, TConfig* config,
                 std::vector<std::string>* messages) {
    static const std::vector<TEntry> entries = Entries();
    std::stringstream in(text);
    std::string line, section;
    bool knownSection = true;
    for (int number = 1; std::getline(in, line); ++number) {
        auto report = [&](const std::string& what) {
            messages->push_back(name + ":" + std::to_string(number) + ": " + what);
        };
        size_t hash = line.find('#');
        line = Trim(line.substr(0, hash));
        if (line.empty()) continue;
        if (line.front() == '[') {
            if (line.back() != ']') {
                report("a section's name ends with ']'");
                knownSection = false;
                continue;
            }
            section = Trim(line.substr(1, line.find(']') - 1));
            knownSection = (section.empty() || [&] {
                for (const TEntry& e : entries)
                    if (Same(section, e.section)) return true;
                return false;
            }());
            if (!knownSection) report("there is no section [" + section + "]");
            continue;
        }
        if (!knownSection) continue;  // reported once, at the section
        size_t equals = line.find('=');
        if (equals == std::string::npos) {
            report("expected 'name = value', got '" + line + "'");
            continue;
        }
        const std::string key = Trim(line.substr(0, equals));
        const std::string value = Trim(line.substr(equals + 1));
        const TEntry* entry = nullptr;
        for (const TEntry& e : entries)
            if (Same(section, e.section) && Same(key, e.name)) entry = &e;
        if (!entry) {
            report("'" + key + "' is not a setting" +
                   (section.empty() ? std::string() : " of [" + section + "]"));
            continue;
        }
        std::string error = entry->apply(value, entry->action, config);
        if (!error.empty()) report(key + ": " + error);
    }
}

void ParseConfigOverride(const std::string& line, TConfig* config,
                         std::vector<std::string>* messages) {
    const size_t equals = line.find('='), dot = line.find('.');
    std::string text = "[]\n" + line;
    if (dot != std::string::npos && dot < equals)
        text = "[" + line.substr(0, dot) + "]\n" + line.substr(dot + 1);
    std::vector<std::string> found;
    ParseConfig(text, "--set", config, &found);
    // The section line the override was split into is not one the player wrote.
    for (std::string& m : found)
        messages->push_back(m.replace(0, m.find(": ") + 2, "--set '" + line + "': "));
}

bool LoadConfigFile(const std::string& path, TConfig* config, std::vector<std::string>* messages) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::stringstream text;
    text << in.rdbuf();
    ParseConfig(text.str(), path, config, messages);
    return true;
}

std::string DefaultConfigPath() {
    return XdgHome("XDG_CONFIG_HOME", ".config") + "/orvan/orvan.conf";
}
