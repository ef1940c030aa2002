// Files and folders for project paths: '\' separators and cp932 names, resolved against the
// host's file system, which (unlike the one the projects were made on) is case-sensitive.
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "sys/sys.h"

namespace sys {
namespace {

bool Exists(const std::string& p) {
    struct stat st;
    return ::stat(p.c_str(), &st) == 0;
}

// The entry of 'dir' whose name equals 'name' ignoring ASCII case, or "" when none does.
std::string FindCaseInsensitive(const std::string& dir, const std::string& name) {
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return "";
    std::string found;
    while (dirent* e = ::readdir(d)) {
        if (::strcasecmp(e->d_name, name.c_str()) == 0) {
            found = e->d_name;
            break;
        }
    }
    ::closedir(d);
    return found;
}

// The installed memory files by the hash of their key: the path with '\\' as '/' and ASCII
// letters in lower case. Looked up without building the key, since loading a project asks
// for a few thousand names.
bool g_memoryActive = false;
std::unordered_multimap<uint64_t, const MemoryFile*>& MemoryIndex() {
    static std::unordered_multimap<uint64_t, const MemoryFile*> index;
    return index;
}

char KeyChar(char c) {
    if (c == '\\') return '/';
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

uint64_t KeyHash(const char* path) {
    uint64_t h = 14695981039346656037ull;
    for (const char* p = path; *p; ++p)
        h = (h ^ static_cast<uint8_t>(KeyChar(*p))) * 1099511628211ull;
    return h;
}

const MemoryFile* FindMemoryFile(const char* path) {
    auto range = MemoryIndex().equal_range(KeyHash(path));
    for (auto it = range.first; it != range.second; ++it) {
        const char* a = path;
        const char* b = it->second->path.c_str();
        while (*a && KeyChar(*a) == KeyChar(*b)) ++a, ++b;
        if (!*a && !*b) return it->second;
    }
    return nullptr;
}

bool ForReading(const char* mode) {
    return mode[0] == 'r' && !std::strchr(mode, '+');
}

int SystemOpen(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}
const FileWriteCalls kSystemCalls = {SystemOpen, ::write, ::fsync, ::rename};
const FileWriteCalls* g_writeCalls = &kSystemCalls;

// Makes a finished rename survive a power cut: the folder's entry is written out too. A
// folder that cannot be opened or synced changes nothing about the result.
void SyncFolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

void UseMemoryFiles(const std::vector<MemoryFile>* files) {
    MemoryIndex().clear();
    g_memoryActive = files != nullptr;
    if (!files) return;
    for (const MemoryFile& f : *files) MemoryIndex().emplace(KeyHash(f.path.c_str()), &f);
}

const FileWriteCalls* SetFileWriteCalls(const FileWriteCalls* calls) {
    const FileWriteCalls* before = g_writeCalls == &kSystemCalls ? nullptr : g_writeCalls;
    g_writeCalls = calls ? calls : &kSystemCalls;
    return before;
}

std::string HostPath(const char* projectPath) {
    if (!projectPath) return "";
    // Convert first: the second byte of a cp932 character may be 0x5C, which must not be
    // taken for a separator. UTF-8 never holds 0x5C inside a character.
    std::string text = Cp932ToUtf8(projectPath);
    for (char& c : text)
        if (c == '\\') c = '/';
    if (text.empty() || Exists(text)) return text;

    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= text.size()) {
        size_t slash = text.find('/', start);
        if (slash == std::string::npos) slash = text.size();
        parts.push_back(text.substr(start, slash - start));
        start = slash + 1;
    }
    std::string result;
    bool absolute = text[0] == '/';
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        if (part.empty()) {
            if (i == 0 && absolute) result = "/";
            continue;
        }
        std::string candidate =
            result.empty() ? part : (result.back() == '/' ? result + part : result + "/" + part);
        if (part != "." && part != ".." && !Exists(candidate)) {
            std::string match = FindCaseInsensitive(result, part);
            if (!match.empty())
                candidate = result.empty()
                                ? match
                                : (result.back() == '/' ? result + match : result + "/" + match);
        }
        result = candidate;
    }
    if (!text.empty() && text.back() == '/' && (result.empty() || result.back() != '/'))
        result += '/';
    return result;
}

bool SetCurrentDirectory(const char* path) {
    std::string p = HostPath(path);
    return !p.empty() && ::chdir(p.c_str()) == 0;
}

bool FileExists(const char* path) {
    if (g_memoryActive) return path && FindMemoryFile(path);
    return Exists(HostPath(path));
}

// Every write fails while the data folder is held in memory.
static bool RefusedInMemory() {
    if (!g_memoryActive) return false;
    errno = EROFS;
    return true;
}

bool CreateDirectory(const char* path) {
    if (RefusedInMemory()) return false;
    std::string p = HostPath(path);
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return !p.empty() && ::mkdir(p.c_str(), 0777) == 0;
}

bool MoveFile(const char* from, const char* to) {
    if (RefusedInMemory()) return false;
    std::string src = HostPath(from);
    std::string dst = HostPath(to);
    if (!Exists(src) || Exists(dst)) return false;
    // link() + unlink() never replaces an existing target, unlike rename().
    if (::link(src.c_str(), dst.c_str()) == 0) {
        ::unlink(src.c_str());
        return true;
    }
    if (errno == EEXIST) return false;
    // Hard links are not possible on every file system: fall back to rename after the
    // existence test above.
    return ::rename(src.c_str(), dst.c_str()) == 0;
}

FILE* OpenFile(const char* path, const char* mode) {
    if (g_memoryActive && (!path || !ForReading(mode))) {
        errno = EROFS;
        return nullptr;
    }
    if (g_memoryActive) {
        const MemoryFile* f = FindMemoryFile(path);
        if (!f) return nullptr;
        // fmemopen wants a buffer even for an empty file; nothing is ever written to it.
        static char empty[1];
        void* bytes =
            f->bytes.empty() ? static_cast<void*>(empty) : const_cast<uint8_t*>(f->bytes.data());
        return ::fmemopen(bytes, f->bytes.size(), "rb");
    }
    std::string p = HostPath(path);
    if (p.empty()) return nullptr;
    return std::fopen(p.c_str(), mode);
}

bool WriteFileAtomically(const char* path, const void* bytes, size_t size) {
    if (RefusedInMemory()) return false;
    std::string target = HostPath(path);
    if (target.empty()) {
        errno = ENOENT;
        return false;
    }
    const FileWriteCalls& calls = *g_writeCalls;
    std::string temp = target + ".tmp";
    int fd = calls.open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) return false;
    const char* p = static_cast<const char*>(bytes);
    size_t left = size;
    int error = 0;
    while (left > 0 && !error) {
        ssize_t n = calls.write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            // A write that makes no progress is a full disk, whatever it says.
            error = n < 0 ? errno : ENOSPC;
            break;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    if (!error && calls.fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && !error) error = errno;
    if (!error && calls.rename(temp.c_str(), target.c_str()) != 0) error = errno;
    if (error) {
        ::unlink(temp.c_str());
        errno = error;
        return false;
    }
    SyncFolderOf(target);
    return true;
}

}  // namespace sys
