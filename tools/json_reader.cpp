#include "json_reader.h"

#include <cmath>
#include <cstring>

#include "sys/sys.h"
#include "tool_project.h"

namespace tool {

namespace {

std::string Child(const std::string& path, const std::string& key) {
    return path.empty() ? key : path + "." + key;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Hex text to bytes; false when it is not an even number of hex digits.
bool FromHex(const std::string& hex, std::string& bytes) {
    if (hex.size() % 2) return false;
    bytes.clear();
    for (size_t i = 0; i < hex.size(); i += 2) {
        int hi = HexDigit(hex[i]), lo = HexDigit(hex[i + 1]);
        if (hi < 0 || lo < 0) return false;
        bytes.push_back(static_cast<char>(hi * 16 + lo));
    }
    return true;
}

}  // namespace

void JsonValue::Fail(const std::string& message) const {
    throw ToolError((path_.empty() ? std::string("(top)") : path_) + ": " + message);
}

int32_t JsonValue::Int() const {
    return IntIn(INT32_MIN, INT32_MAX);
}

int32_t JsonValue::IntIn(int64_t low, int64_t high) const {
    bool in32 = low >= INT32_MIN && high <= INT32_MAX;
    if (value_.is_number_unsigned()) {
        uint64_t v = value_.get<uint64_t>();
        if (v <= static_cast<uint64_t>(high) && static_cast<int64_t>(v) >= low)
            return static_cast<int32_t>(v);
    } else if (value_.is_number_integer()) {
        int64_t v = value_.get<int64_t>();
        if (v >= low && v <= high) return static_cast<int32_t>(v);
    } else {
        Fail("expected an integer");
    }
    if (in32 && low == INT32_MIN && high == INT32_MAX) Fail("expected a 32-bit integer");
    Fail("expected an integer from " + std::to_string(low) + " to " + std::to_string(high));
}

uint8_t JsonValue::Flag() const {
    if (value_.is_boolean()) return value_.get<bool>() ? 1 : 0;
    if (!value_.is_number_integer()) Fail("expected true, false or a byte");
    return static_cast<uint8_t>(IntIn(0, 255));
}

int32_t JsonValue::Enum(const NameTable& table) const {
    if (value_.is_string()) {
        if (auto v = table.Value(value_.get<std::string>())) return *v;
        Fail("\"" + value_.get<std::string>() + "\" is not " + table.what + " (" + table.List() +
             ")");
    }
    if (!value_.is_number_integer()) Fail(std::string("expected ") + table.what + " or an integer");
    return Int();
}

double JsonValue::Real() const {
    if (value_.is_number()) return value_.get<double>();
    if (value_.is_object() && value_.size() == 1 && value_.contains("bits") &&
        value_["bits"].is_string()) {
        std::string bytes;
        if (FromHex(value_["bits"].get<std::string>(), bytes) && bytes.size() == 8) {
            uint64_t bits = 0;
            for (unsigned char c : bytes) bits = bits << 8 | c;
            double v;
            std::memcpy(&v, &bits, sizeof v);
            return v;
        }
    }
    Fail("expected a number");
}

TString JsonValue::Text() const {
    std::string bytes;
    if (value_.is_string()) {
        std::string utf8 = value_.get<std::string>();
        if (utf8.find('\0') != std::string::npos) Fail("a text cannot hold a zero character");
        bytes = sys::Utf8ToCp932(utf8);
        if (sys::Cp932ToUtf8(bytes) != utf8) Fail("cannot be written in cp932: \"" + utf8 + "\"");
    } else if (value_.is_object() && value_.size() == 1 && value_.contains("cp932") &&
               value_["cp932"].is_string()) {
        if (!FromHex(value_["cp932"].get<std::string>(), bytes))
            JsonValue(value_["cp932"], Child(path_, "cp932")).Fail("expected hex digits");
        if (bytes.find('\0') != std::string::npos) Fail("a text cannot hold a zero byte");
    } else {
        Fail("expected a text");
    }
    return TString(bytes.c_str());
}

std::string JsonValue::String() const {
    if (!value_.is_string()) Fail("expected a text");
    return value_.get<std::string>();
}

void JsonValue::ExpectArray() const {
    if (!value_.is_array()) Fail("expected an array");
}

size_t JsonValue::Size() const {
    ExpectArray();
    return value_.size();
}

JsonValue JsonValue::At(size_t index) const {
    return JsonValue(value_[index], path_ + "[" + std::to_string(index) + "]");
}

JsonObject::JsonObject(const JsonValue& value) : value_(value.json()), path_(value.path()) {
    if (!value_.is_object()) value.Fail("expected an object");
}

bool JsonObject::Has(const std::string& key) const {
    return value_.contains(key);
}

JsonValue JsonObject::Get(const std::string& key) {
    if (!Has(key)) JsonValue(value_, path_).Fail("\"" + key + "\" is missing");
    used_.insert(key);
    return JsonValue(value_[key], Child(path_, key));
}

void JsonObject::Int(const std::string& key, int32_t& out) {
    if (Has(key)) out = Get(key).Int();
}

void JsonObject::Flag(const std::string& key, uint8_t& out) {
    if (Has(key)) out = Get(key).Flag();
}

void JsonObject::Enum(const std::string& key, const NameTable& table, int32_t& out) {
    if (Has(key)) out = Get(key).Enum(table);
}

void JsonObject::Text(const std::string& key, TString& out) {
    if (Has(key)) out = Get(key).Text();
}

void JsonObject::Finish() const {
    for (auto it = value_.begin(); it != value_.end(); ++it)
        if (!used_.count(it.key()))
            JsonValue(it.value(), Child(path_, it.key())).Fail("unknown field");
}

}  // namespace tool
