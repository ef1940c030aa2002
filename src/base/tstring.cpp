#include "base/tstring.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/check.h"

TString::TString(const char* text) {
    Assign(text ? text : "");
}

TString::TString(const TString& other) {
    Assign(other);
}

TString::TString(TString&& other) noexcept : buffer_(other.buffer_) {
    other.buffer_ = nullptr;
}

TString& TString::operator=(const TString& other) {
    if (this != &other) Assign(other);
    return *this;
}

TString& TString::operator=(TString&& other) noexcept {
    if (this != &other) {
        std::free(buffer_);
        buffer_ = other.buffer_;
        other.buffer_ = nullptr;
    }
    return *this;
}

TString::~TString() {
    std::free(buffer_);
    buffer_ = nullptr;
}

TString& TString::Assign(const TString& other) {
    if (this == &other) return *this;
    Assign(other.c_str());
    return *this;
}

char* TString::Assign(const char* text) {
    if (!text) text = "";
    size_t n = std::strlen(text) + 1;
    // The text may live inside our own buffer: copy it out before reallocating.
    if (buffer_ && text >= buffer_ && text < buffer_ + std::strlen(buffer_) + 1) {
        char* copy = static_cast<char*>(std::malloc(n));
        if (!copy) {
            CHECK_FAILED("Base.cpp", 143);
            return buffer_;
        }
        std::memcpy(copy, text, n);
        std::free(buffer_);
        buffer_ = copy;
        return buffer_;
    }
    if (!Resize(n)) return buffer_;
    std::memcpy(buffer_, text, n);
    return buffer_;
}

bool TString::Resize(size_t n) {
    if (n == 0) n = 1;
    char* p = buffer_ ? static_cast<char*>(std::realloc(buffer_, n))
                      : static_cast<char*>(std::calloc(n, 1));
    if (!p) {
        CHECK_FAILED("Base.cpp", 143);
        return false;
    }
    buffer_ = p;
    return true;
}

TString& TString::Format(const char* format, ...) {
    char local[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(local, sizeof local, format ? format : "", args);
    va_end(args);
    local[sizeof local - 1] = '\0';
    Assign(local);
    return *this;
}

size_t TString::Length() const {
    return buffer_ ? std::strlen(buffer_) : 0;
}

bool TString::operator==(const char* text) const {
    return std::strcmp(c_str(), text ? text : "") == 0;
}
