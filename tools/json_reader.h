// Reading JSON values with the path of each value, so that every error names where it is:
// "enemies[3].actions[7].paramA: expected an integer".
#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "base/tstring.h"
#include "names.h"
#include "project_json.h"

namespace tool {

class JsonValue {
public:
    JsonValue(const Json& value, std::string path) : value_(value), path_(std::move(path)) {}

    const Json& json() const { return value_; }
    const std::string& path() const { return path_; }
    [[noreturn]] void Fail(const std::string& message) const;

    int32_t Int() const;
    // An integer in [low, high].
    int32_t IntIn(int64_t low, int64_t high) const;
    // A byte flag: true, false or 0..255.
    uint8_t Flag() const;
    // A name of the table, or any 32-bit integer.
    int32_t Enum(const NameTable& table) const;
    double Real() const;
    // A text as the game stores it (cp932).
    TString Text() const;
    std::string String() const;
    size_t Size() const;  // of an array
    JsonValue At(size_t index) const;
    void ExpectArray() const;

private:
    const Json& value_;
    std::string path_;
};

// An object whose keys are taken one by one; Finish() reports any key nobody asked for.
class JsonObject {
public:
    explicit JsonObject(const JsonValue& value);

    const std::string& path() const { return path_; }
    bool Has(const std::string& key) const;
    JsonValue Get(const std::string& key);  // the key must be there

    void Int(const std::string& key, int32_t& out);
    void Flag(const std::string& key, uint8_t& out);
    void Enum(const std::string& key, const NameTable& table, int32_t& out);
    void Text(const std::string& key, TString& out);
    void Finish() const;

private:
    const Json& value_;
    std::string path_;
    std::set<std::string> used_;
};

}  // namespace tool
