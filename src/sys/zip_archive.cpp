// The zip reader: the end record (and its zip64 form), the central directory, the local
// headers only for where each entry's data starts, and inflation through zlib.
#include "sys/zip_archive.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "sys/sys.h"

namespace sys {
namespace {

uint16_t U16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t U32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint64_t U64(const uint8_t* p) {
    return U32(p) | static_cast<uint64_t>(U32(p + 4)) << 32;
}

constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kEnd64Signature = 0x06064b50;
constexpr uint32_t kLocator64Signature = 0x07064b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr size_t kEndSize = 22, kCentralSize = 46, kLocalSize = 30;

bool ValidUtf8(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = s[i];
        const size_t n = c < 0x80                ? 0
                         : c >= 0xC2 && c < 0xE0 ? 1
                         : (c & 0xF0) == 0xE0    ? 2
                         : c >= 0xF0 && c < 0xF5 ? 3
                                                 : 9;
        if (n == 9 || s.size() - i <= n) return false;
        for (size_t k = 1; k <= n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n + 1;
    }
    return true;
}

// The stored name as a relative UTF-8 path: "" for a name that only names the archive's
// root; false for one that would leave the folder it is unpacked into.
bool CleanName(const std::string& raw, bool utf8, std::string* out, bool* folder) {
    std::string name = utf8 ? raw : Cp932ToUtf8(raw);
    if ((utf8 && !ValidUtf8(name)) || name.find('\0') != std::string::npos) return false;
    std::replace(name.begin(), name.end(), '\\', '/');  // some Windows tools write these
    if (name.empty() || name[0] == '/') return false;
    *folder = name.back() == '/';
    out->clear();
    size_t start = 0;
    while (start < name.size()) {
        size_t slash = name.find('/', start);
        if (slash == std::string::npos) slash = name.size();
        std::string part = name.substr(start, slash - start);
        start = slash + 1;
        if (part == "..") return false;
        if (part.empty() || part == ".") continue;
        if (!out->empty()) *out += '/';
        *out += part;
    }
    return true;
}

// Walks the extra fields of a central record; 'f' gets (id, bytes, length).
template <typename F>
void ForEachExtra(const uint8_t* p, size_t length, F f) {
    for (size_t at = 0; at + 4 <= length;) {
        uint16_t id = U16(p + at), n = U16(p + at + 2);
        if (at + 4 + n > length) return;
        f(id, p + at + 4, n);
        at += 4 + size_t(n);
    }
}

}  // namespace

bool ReadZipDirectory(const uint8_t* data, size_t size, std::vector<ZipEntry>* entries,
                      std::string* error) {
    entries->clear();
    auto fail = [&](const std::string& message) {
        *error = message;
        entries->clear();
        return false;
    };
    if (size < kEndSize) return fail("it is not a zip archive");
    // The end record is the last one whose comment fits in the file.
    const size_t lowest = size > kEndSize + 0xFFFF ? size - kEndSize - 0xFFFF : 0;
    size_t end = size - kEndSize;
    while (!(U32(data + end) == kEndSignature && end + kEndSize + U16(data + end + 20) <= size)) {
        if (end == lowest) return fail("it is not a zip archive");
        --end;
    }

    const uint8_t* e = data + end;
    uint64_t count = U16(e + 10), dirSize = U32(e + 12), dirOffset = U32(e + 16);
    uint64_t dirEnd = end;
    if (U16(e + 4) != 0 || U16(e + 6) != 0 || U16(e + 8) != count)
        return fail("it is split over several disks");
    if (count == 0xFFFF || dirSize == 0xFFFFFFFF || dirOffset == 0xFFFFFFFF) {
        if (end < 20 || U32(e - 20) != kLocator64Signature) return fail("its zip64 end is missing");
        uint64_t at = U64(e - 20 + 8);
        if (at > end - 20 || end - 20 - at < 56 || U32(data + at) != kEnd64Signature)
            return fail("its zip64 end is damaged");
        count = U64(data + at + 32);
        dirSize = U64(data + at + 40);
        dirOffset = U64(data + at + 48);
        dirEnd = at;
    }
    if (dirOffset > dirEnd || dirSize > dirEnd - dirOffset)
        return fail("its directory lies outside the file");
    if (count > kZipMaxEntries || count > dirSize / kCentralSize)
        return fail("it holds more entries than it can");

    struct Span {
        uint64_t from, to;
    };
    std::vector<Span> spans;
    uint64_t total = 0;
    const uint64_t limit =
        size >= kZipUnpackedCeiling
            ? kZipUnpackedCeiling
            : std::min(kZipUnpackedCeiling, kZipUnpackedFloor + kZipUnpackedPerByte * size);
    const uint8_t* p = data + dirOffset;
    const uint8_t* dirStop = p + dirSize;
    for (uint64_t i = 0; i < count; ++i) {
        if (dirStop - p < static_cast<ptrdiff_t>(kCentralSize) || U32(p) != kCentralSignature)
            return fail("its directory is damaged");
        const uint16_t madeBy = U16(p + 4), flags = U16(p + 8), method = U16(p + 10);
        const uint32_t attributes = U32(p + 38);
        const size_t nameLength = U16(p + 28), extraLength = U16(p + 30);
        const size_t recordLength = kCentralSize + nameLength + extraLength + U16(p + 32);
        if (size_t(dirStop - p) < recordLength) return fail("its directory is damaged");
        ZipEntry entry;
        entry.method = method;
        entry.crc = U32(p + 16);
        entry.packedSize = U32(p + 20);
        entry.size = U32(p + 24);
        uint64_t local = U32(p + 42);
        const std::string raw(reinterpret_cast<const char*>(p + kCentralSize), nameLength);
        std::string unicodeName;
        bool damaged = false;
        ForEachExtra(p + kCentralSize + nameLength, extraLength,
                     [&](uint16_t id, const uint8_t* x, size_t n) {
                         if (id == 0x0001) {  // zip64: the 64-bit forms of the saturated fields
                             size_t at = 0;
                             for (uint64_t* v : {&entry.size, &entry.packedSize, &local}) {
                                 if (*v != 0xFFFFFFFF) continue;
                                 if (at + 8 > n) {
                                     damaged = true;
                                     return;
                                 }
                                 *v = U64(x + at);
                                 at += 8;
                             }
                         }
                         // Info-ZIP's Unicode path: used while it still belongs to the name.
                         if (id == 0x7075 && n >= 5 && x[0] == 1 &&
                             U32(x + 1) == crc32(0, p + kCentralSize, uInt(nameLength)))
                             unicodeName.assign(reinterpret_cast<const char*>(x + 5), n - 5);
                     });
        if (damaged) return fail("its directory is damaged");
        p += recordLength;

        bool folder = false;
        const bool utf8 = (flags & 0x0800) || !unicodeName.empty();
        if (!CleanName(unicodeName.empty() ? raw : unicodeName, utf8, &entry.name, &folder))
            return fail("it holds a name that cannot be unpacked safely: " +
                        (utf8 ? raw : Cp932ToUtf8(raw)));
        // Links are not unpacked: a game needs none, and they could point anywhere.
        if ((madeBy >> 8) == 3 && ((attributes >> 16) & 0170000) == 0120000) continue;
        if (entry.name.empty()) continue;
        entry.folder = folder;
        if (flags & 0x0001) return fail(entry.name + " is encrypted");
        if (method != 0 && method != 8)
            return fail(entry.name + " is packed with a method this program cannot read (" +
                        std::to_string(method) + ")");
        if (method == 0 && entry.size != entry.packedSize)
            return fail("the sizes of " + entry.name + " disagree");

        if (local > dirOffset || dirOffset - local < kLocalSize ||
            U32(data + local) != kLocalSignature)
            return fail("the data of " + entry.name + " is missing");
        entry.dataOffset = local + kLocalSize + U16(data + local + 26) + U16(data + local + 28);
        if (entry.dataOffset > dirOffset || entry.packedSize > dirOffset - entry.dataOffset)
            return fail("the data of " + entry.name + " runs past its end");
        spans.push_back({local, entry.dataOffset + entry.packedSize});
        total += entry.size;
        if (entry.size > limit || total > limit)
            return fail("it would unpack to more than " + std::to_string(limit >> 20) +
                        " MiB, too much for its size");
        entries->push_back(std::move(entry));
    }
    // Entries that share their packed bytes are how small archives claim huge contents.
    std::sort(spans.begin(), spans.end(),
              [](const Span& a, const Span& b) { return a.from < b.from; });
    for (size_t i = 1; i < spans.size(); ++i)
        if (spans[i].from < spans[i - 1].to) return fail("its entries overlap");
    return true;
}

bool UnpackZipEntry(const uint8_t* data, size_t size, const ZipEntry& entry, const ZipSink& sink,
                    std::string* error) {
    if (entry.dataOffset > size || entry.packedSize > size - entry.dataOffset) {
        *error = "the data of " + entry.name + " runs past its end";
        return false;
    }
    const uint8_t* in = data + entry.dataOffset;
    error->clear();  // a sink that refuses may leave its own message
    uLong crc = crc32(0, nullptr, 0);
    uint64_t produced = 0;
    auto take = [&](const uint8_t* bytes, size_t n) {
        produced += n;
        if (produced > entry.size) return false;  // more than the directory said
        crc = crc32(crc, bytes, uInt(n));
        return sink(bytes, n);
    };
    bool ok = true;
    if (entry.method == 0) {
        for (uint64_t at = 0; ok && at < entry.packedSize; at += 1u << 20)
            ok = take(in + at, size_t(std::min<uint64_t>(1u << 20, entry.packedSize - at)));
    } else {
        z_stream z{};
        if (inflateInit2(&z, -MAX_WBITS) != Z_OK) {
            *error = "zlib could not start";
            return false;
        }
        uint8_t out[1 << 16];
        uint64_t left = entry.packedSize;
        for (;;) {
            if (z.avail_in == 0 && left > 0) {
                z.next_in = const_cast<uint8_t*>(in + (entry.packedSize - left));
                z.avail_in = uInt(std::min<uint64_t>(left, 1u << 30));
                left -= z.avail_in;
            }
            z.next_out = out;
            z.avail_out = sizeof out;
            const int rc = inflate(&z, Z_NO_FLUSH);
            const size_t n = sizeof out - z.avail_out;
            if (n && !take(out, n)) ok = false;
            // Any other result, Z_BUF_ERROR included (the input ran out), is damage.
            if (!ok || rc != Z_OK) {
                ok = ok && rc == Z_STREAM_END;
                break;
            }
        }
        inflateEnd(&z);
    }
    if (!ok || produced != entry.size || crc != entry.crc) {
        if (error->empty()) *error = "the data of " + entry.name + " is damaged";
        return false;
    }
    return true;
}

ZipFile::~ZipFile() {
    if (data_) ::munmap(const_cast<uint8_t*>(data_), size_);
}

bool ZipFile::Open(const std::string& hostPath, std::string* error) {
    int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size == 0) {
        *error = fd < 0 ? std::strerror(errno) : "it is not a zip archive";
        if (fd >= 0) ::close(fd);
        return false;
    }
    void* map = ::mmap(nullptr, size_t(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);
    if (map == MAP_FAILED) {
        *error = std::strerror(errno);
        return false;
    }
    data_ = static_cast<const uint8_t*>(map);
    size_ = size_t(st.st_size);
    return ReadZipDirectory(data_, size_, &entries_, error);
}

bool ZipFile::UnpackTo(const std::string& folder, std::string* error) const {
    // Parents are made as the names need them; a part that exists must be a real folder.
    auto makeParents = [&](const std::string& name) {
        for (size_t slash = name.find('/'); slash != std::string::npos;
             slash = name.find('/', slash + 1)) {
            std::string part = folder + "/" + name.substr(0, slash);
            struct stat st;
            if (::mkdir(part.c_str(), 0755) != 0 &&
                (errno != EEXIST || ::lstat(part.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)))
                return false;
        }
        return true;
    };
    for (const ZipEntry& entry : entries_) {
        const std::string path = folder + "/" + entry.name;
        error->clear();
        if (entry.folder) {
            struct stat st;
            if (makeParents(entry.name + "/")) continue;
            if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) continue;
            *error = "cannot make the folder " + entry.name;
            return false;
        }
        int fd =
            makeParents(entry.name)
                ? ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644)
                : -1;
        if (fd < 0) {
            *error = errno == EEXIST ? "it holds " + entry.name + " twice"
                                     : "cannot write " + entry.name + ": " + std::strerror(errno);
            return false;
        }
        bool ok = UnpackZipEntry(
            data_, size_, entry,
            [&](const uint8_t* bytes, size_t n) {
                while (n > 0) {
                    ssize_t w = ::write(fd, bytes, n);
                    if (w < 0 && errno == EINTR) continue;
                    if (w <= 0) {
                        *error = "cannot write " + entry.name + ": " + std::strerror(errno);
                        return false;
                    }
                    bytes += w;
                    n -= size_t(w);
                }
                return true;
            },
            error);
        if (::close(fd) != 0) ok = false;
        if (!ok) {
            if (error->empty()) *error = "cannot write " + entry.name;
            return false;
        }
    }
    return true;
}

}  // namespace sys
