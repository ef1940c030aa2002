#include "project/byte_reader.h"

#include <cstdio>
#include <cstring>

#include "sys/sys.h"

bool ByteReader::Take(size_t n, const uint8_t*& p) {
    if (stopped_ || n > size_ - pos_) {
        stopped_ = true;
        return false;
    }
    p = data_ + pos_;
    pos_ += n;
    return true;
}

bool ByteReader::ReadU8(uint8_t& out) {
    const uint8_t* p;
    if (!Take(1, p)) return false;
    out = p[0];
    return true;
}

bool ByteReader::ReadU32(uint32_t& out) {
    const uint8_t* p;
    if (!Take(4, p)) return false;
    out = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
          static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
    return true;
}

bool ByteReader::ReadI32(int32_t& out) {
    uint32_t u;
    if (!ReadU32(u)) return false;
    out = static_cast<int32_t>(u);
    return true;
}

bool ByteReader::ReadF64(double& out) {
    const uint8_t* p;
    if (!Take(8, p)) return false;
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = bits << 8 | p[i];
    std::memcpy(&out, &bits, sizeof out);
    return true;
}

bool ByteReader::ReadString(TString& out) {
    uint32_t length;
    if (!ReadU32(length)) return false;
    const uint8_t* p;
    if (!Take(length, p)) return false;
    // The editor always stores the terminator; a string without one is taken whole.
    const void* zero = length ? std::memchr(p, 0, length) : nullptr;
    size_t n = zero ? static_cast<const uint8_t*>(zero) - p : length;
    TString text;
    if (!text.Resize(n + 1)) return true;  // the failed allocation has been reported
    std::memcpy(text.data(), p, n);
    text.data()[n] = '\0';
    out = std::move(text);
    return true;
}

bool ByteReader::ReadBlock(size_t n, ByteReader& block) {
    const uint8_t* p;
    if (!Take(n, p)) return false;
    block = ByteReader(p, n);
    return true;
}

size_t ByteReader::ReservableCount(int64_t count, size_t elementSize) const {
    if (count <= 0 || elementSize == 0) return 0;
    size_t fits = Remaining() / elementSize;
    return static_cast<uint64_t>(count) < fits ? static_cast<size_t>(count) : fits;
}

bool ReadWholeFile(const char* path, std::vector<uint8_t>& bytes) {
    bytes.clear();
    FILE* f = sys::OpenFile(path, "rb");
    if (!f) return false;
    // Unbuffered: fread then fills our buffer straight from the file.
    std::setvbuf(f, nullptr, _IONBF, 0);
    size_t chunk = 4096;
    for (;;) {
        size_t used = bytes.size();
        bytes.resize(used + chunk);
        size_t got = std::fread(bytes.data() + used, 1, chunk, f);
        bytes.resize(used + got);
        if (got < chunk) break;
        if (chunk < (size_t{1} << 20)) chunk *= 2;
    }
    bool ok = !std::ferror(f);
    std::fclose(f);
    if (!ok) bytes.clear();
    return ok;
}
