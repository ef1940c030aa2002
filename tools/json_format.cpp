// FormatJson: nlohmann's indented form puts every number on a line of its own, which makes
// action lists and map cells unreadable; short containers are kept on one line instead.
#include "project_json.h"

namespace tool {

namespace {

constexpr size_t kLineWidth = 100;

std::string OneLine(const Json& j) {
    if (j.is_object()) {
        std::string s = "{";
        bool first = true;
        for (auto it = j.begin(); it != j.end(); ++it) {
            s += first ? "" : ", ";
            first = false;
            s += Json(it.key()).dump() + ": " + OneLine(it.value());
        }
        return s + "}";
    }
    if (j.is_array()) {
        std::string s = "[";
        for (size_t i = 0; i < j.size(); ++i) s += (i ? ", " : "") + OneLine(j[i]);
        return s + "]";
    }
    return j.dump();
}

void Write(const Json& j, size_t indent, size_t used, std::string& out) {
    bool container = j.is_object() || j.is_array();
    if (!container || j.empty()) {
        out += OneLine(j);
        return;
    }
    std::string line = OneLine(j);
    if (used + line.size() <= kLineWidth) {
        out += line;
        return;
    }
    std::string pad(indent + 2, ' ');
    out += j.is_object() ? "{\n" : "[\n";
    size_t i = 0;
    for (auto it = j.begin(); it != j.end(); ++it, ++i) {
        out += pad;
        size_t start = out.size() - pad.size();
        if (j.is_object()) out += Json(it.key()).dump() + ": ";
        Write(it.value(), indent + 2, out.size() - start + 1, out);
        out += i + 1 < j.size() ? ",\n" : "\n";
    }
    out += std::string(indent, ' ') + (j.is_object() ? "}" : "]");
}

}  // namespace

std::string FormatJson(const Json& json) {
    std::string out;
    Write(json, 0, 0, out);
    return out + "\n";
}

}  // namespace tool
