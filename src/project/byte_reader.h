// Little-endian reading of a whole project file held in memory. A reader knows how many
// bytes remain; the first read that does not fit stops it for good, so that the field it
// was reading and every field after it keep their defaults.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/tstring.h"

class ByteReader {
public:
    ByteReader() : ByteReader(nullptr, 0) {}
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    explicit ByteReader(const std::vector<uint8_t>& bytes)
        : ByteReader(bytes.data(), bytes.size()) {}

    size_t Remaining() const { return stopped_ ? 0 : size_ - pos_; }
    // False once a read has run past the end of the data.
    bool Ok() const { return !stopped_; }

    // Each read either fills 'out' completely and returns true, or leaves it as it was,
    // stops the reader and returns false.
    bool ReadU8(uint8_t& out);
    bool ReadI32(int32_t& out);
    bool ReadU32(uint32_t& out);
    bool ReadF64(double& out);
    // A stored string: a uint32 length L, then L bytes. The text runs to the first zero
    // byte, or over all L bytes when there is none; L = 0 is the empty text.
    bool ReadString(TString& out);
    // The next n bytes as a reader of their own, for a fixed-size element that is taken
    // whole or not at all.
    bool ReadBlock(size_t n, ByteReader& block);

    // How many elements of 'elementSize' bytes a count read from the file may reserve room
    // for: never more than the bytes left could hold. Negative counts give 0.
    size_t ReservableCount(int64_t count, size_t elementSize) const;

private:
    bool Take(size_t n, const uint8_t*& p);

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool stopped_ = false;
};

// Reads the whole project file at 'path' into 'bytes' (replacing what it held). False when
// the file does not open or cannot be read; 'bytes' is then empty.
bool ReadWholeFile(const char* path, std::vector<uint8_t>& bytes);
