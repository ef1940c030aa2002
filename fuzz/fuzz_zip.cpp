// Zip archives that players hand to `orvan GAME`: the central directory is read, then every
// entry is unpacked into memory (bounded by what the directory allowed).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sys/zip_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<sys::ZipEntry> entries;
    std::string error;
    if (!sys::ReadZipDirectory(data, size, &entries, &error)) return 0;
    for (const sys::ZipEntry& e : entries) {
        if (e.size > (1u << 24)) continue;  // keeps each run short; the limits are tested apart
        size_t got = 0;
        sys::UnpackZipEntry(
            data, size, e, [&](const uint8_t*, size_t n) { return (got += n) <= e.size; }, &error);
    }
    return 0;
}
