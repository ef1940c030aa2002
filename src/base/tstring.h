// TString: the game's own heap string of cp932 bytes. Every TString owns its buffer alone,
// so it is freely copied, passed and returned by value.
#pragma once

#include <cstddef>

class TString {
public:
    TString() = default;
    TString(const char* text);  // NOLINT: converting on purpose, like the game's own calls
    TString(const TString& other);
    TString(TString&& other) noexcept;
    TString& operator=(const TString& other);
    TString& operator=(TString&& other) noexcept;
    virtual ~TString();

    // Copies the other string (with its terminator); returns this string.
    TString& Assign(const TString& other);
    // Copies a C string; returns the buffer.
    char* Assign(const char* text);
    // Reallocates to n bytes (contents kept up to n), or allocates n zero bytes when no
    // buffer exists yet. A failed allocation is a checked failure; the string then keeps
    // its old buffer (or none).
    bool Resize(size_t n);
    // printf-style formatting into a 1024-byte buffer, then Assign. A longer result is cut
    // at 1023 bytes: never past the buffer.
    TString& Format(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // The text, or "" when no buffer has been made yet.
    const char* c_str() const { return buffer_ ? buffer_ : ""; }
    char* data() { return buffer_; }
    bool HasBuffer() const { return buffer_ != nullptr; }
    size_t Length() const;
    bool operator==(const char* text) const;
    bool operator==(const TString& other) const { return *this == other.c_str(); }
    bool operator!=(const char* text) const { return !(*this == text); }

private:
    char* buffer_ = nullptr;
};
