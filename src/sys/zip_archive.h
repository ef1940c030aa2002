// A zip archive read from bytes that come from outside: its central directory is checked
// whole before anything is unpacked. Entries are stored or deflated; names are UTF-8 when the
// archive says so (the language-encoding flag, or Info-ZIP's Unicode path field) and cp932
// otherwise, as Japanese Windows writes them. A name that would leave the target folder,
// an encrypted entry, an unknown method, entries that overlap (the trick of compact zip
// bombs) or more unpacked bytes than the archive's size allows are refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace sys {

struct ZipEntry {
    std::string name;  // UTF-8, '/' separated, relative, without "." or ".." parts
    bool folder = false;
    uint16_t method = 0;  // 0 stored, 8 deflated
    uint32_t crc = 0;
    uint64_t size = 0;        // unpacked
    uint64_t packedSize = 0;  // in the archive
    uint64_t dataOffset = 0;  // of the packed bytes
};

// Limits against the archive's own size: at most this many unpacked bytes per archive byte
// (beyond a floor that every small game fits in), and an absolute ceiling.
constexpr uint64_t kZipUnpackedFloor = 64ull << 20;
constexpr uint64_t kZipUnpackedPerByte = 32;
constexpr uint64_t kZipUnpackedCeiling = 2ull << 30;
constexpr size_t kZipMaxEntries = 65535;

// Reads the central directory of 'size' bytes at 'data'. False with a message (English,
// UTF-8) when the archive is not one this program unpacks.
bool ReadZipDirectory(const uint8_t* data, size_t size, std::vector<ZipEntry>* entries,
                      std::string* error);

// Unpacks one entry; 'sink' receives the bytes in pieces. False with a message when the
// packed data is damaged, its size or checksum differs from the directory's, or the sink
// refuses (returns false).
using ZipSink = std::function<bool(const uint8_t* bytes, size_t count)>;
bool UnpackZipEntry(const uint8_t* data, size_t size, const ZipEntry& entry, const ZipSink& sink,
                    std::string* error);

// The archive file mapped into memory; unpacks into a folder on disk.
class ZipFile {
public:
    ZipFile() = default;
    ~ZipFile();
    ZipFile(const ZipFile&) = delete;
    ZipFile& operator=(const ZipFile&) = delete;

    // Maps the file and reads its directory.
    bool Open(const std::string& hostPath, std::string* error);
    const std::vector<ZipEntry>& entries() const { return entries_; }
    // Unpacks every entry below 'folder' (an existing, empty folder): regular files and
    // folders only, never replacing anything.
    bool UnpackTo(const std::string& folder, std::string* error) const;

private:
    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
    std::vector<ZipEntry> entries_;
};

}  // namespace sys
