// Files and folders for project paths: '\' separators and cp932 names, resolved against the
// host's file system, which (unlike the one the projects were made on) is case-sensitive.
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <map>
#include <mutex>
#include <set>
#include <unordered_map>
#include <vector>

#include "sys/sys.h"

namespace sys {
namespace {

bool Exists(const std::string& p) {
    struct stat st;
    return ::stat(p.c_str(), &st) == 0;
}

// The names in a folder, in the order the folder lists them, as they stood when its time
// stamp read 'modified'; for each, whether it is a symbolic link (whose target may be gone).
struct Listing {
    dev_t device = 0;
    ino_t inode = 0;
    timespec modified{};
    std::vector<std::string> names;
    std::vector<bool> links;
};

// A project is probed for hundreds of files it does not have, and every miss looks through
// its folder: folders are read once and kept while their time stamp stays. A folder changed
// in the last two seconds is read anew each time, since a second change within the same
// tick of the file system's clock would not move the stamp.
bool Settled(const timespec& modified) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return modified.tv_sec + 2 < now.tv_sec;
}

bool ReadNames(const std::string& dir, Listing* listing) {
    DIR* d = ::opendir(dir.c_str());
    if (!d) return false;
    while (dirent* e = ::readdir(d)) {
        listing->names.emplace_back(e->d_name);
        listing->links.push_back(e->d_type == DT_LNK || e->d_type == DT_UNKNOWN);
    }
    ::closedir(d);
    return true;
}

std::string Join(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    return dir.back() == '/' ? dir + name : dir + "/" + name;
}

// The entry of 'dir' for 'name': the name itself when it exists there, else the first entry
// the folder lists that equals it ignoring ASCII case, else "".
std::string MatchIn(const std::string& dir, const std::string& name) {
    const std::string folder = dir.empty() ? "." : dir;
    struct stat st;
    if (::stat(folder.c_str(), &st) != 0) return Exists(Join(dir, name)) ? name : "";
    static std::mutex mutex;
    static std::vector<Listing> kept;
    std::lock_guard<std::mutex> guard(mutex);
    auto same = [&](const Listing& l) { return l.device == st.st_dev && l.inode == st.st_ino; };
    auto it = std::find_if(kept.begin(), kept.end(), same);
    if (it != kept.end() &&
        (it->modified.tv_sec != st.st_mtim.tv_sec || it->modified.tv_nsec != st.st_mtim.tv_nsec)) {
        kept.erase(it);
        it = kept.end();
    }
    Listing fresh;
    const Listing* listing = nullptr;
    if (it != kept.end()) {
        listing = &*it;
        // A kept listing answers for the name itself too, but for links, which may dangle.
        for (size_t i = 0; i < listing->names.size(); ++i) {
            if (listing->names[i] != name) continue;
            if (!listing->links[i] || Exists(Join(dir, name))) return name;
            break;
        }
    } else {
        if (Exists(Join(dir, name))) return name;
        if (!ReadNames(folder, &fresh)) return "";
        listing = &fresh;
        if (Settled(st.st_mtim) && kept.size() < 64) {
            fresh.device = st.st_dev;
            fresh.inode = st.st_ino;
            fresh.modified = st.st_mtim;
            kept.push_back(std::move(fresh));
            listing = &kept.back();
        }
    }
    for (const std::string& entry : listing->names)
        if (::strcasecmp(entry.c_str(), name.c_str()) == 0) return entry;
    return "";
}

// A data folder that is only read: what start-up would create or move in it is kept here.
struct ReadOnlyView {
    bool on = false;
    std::set<std::string> folders;             // created, host paths without a trailing '/'
    std::map<std::string, std::string> moved;  // host path a file was moved to -> where it lies
    std::set<std::string> gone;                // host paths a file was moved away from
};
ReadOnlyView g_view;
std::string g_programFolder;

std::string WithoutSlash(std::string p) {
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return p;
}

// Where the file named by a host path really lies in the read-only view; "" when it was
// moved away.
std::string Locate(const std::string& p) {
    if (!g_view.on) return p;
    if (g_view.gone.count(p)) return "";
    auto it = g_view.moved.find(p);
    return it == g_view.moved.end() ? p : it->second;
}

bool ExistsInView(const std::string& p) {
    if (g_view.on && g_view.folders.count(WithoutSlash(p))) return true;
    std::string real = Locate(p);
    return !real.empty() && Exists(real);
}

bool WriteAtomically(const std::string& target, const void* bytes, size_t size);


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
        std::string match = part == "." || part == ".." ? part : MatchIn(result, part);
        result = Join(result, match.empty() ? part : match);
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
    return ExistsInView(HostPath(path));
}

// Every write fails while the data folder is held in memory.
static bool RefusedInMemory() {
    if (!g_memoryActive) return false;
    errno = EROFS;
    return true;
}

bool CreateDirectory(const char* path) {
    if (RefusedInMemory()) return false;
    std::string p = WithoutSlash(HostPath(path));
    if (p.empty()) return false;
    if (g_view.on) {
        if (ExistsInView(p)) return false;
        g_view.folders.insert(p);
        return true;
    }
    return ::mkdir(p.c_str(), 0777) == 0;
}

bool MoveFile(const char* from, const char* to) {
    if (RefusedInMemory()) return false;
    std::string src = HostPath(from);
    std::string dst = HostPath(to);
    if (g_view.on) {
        // The file stays where it is; later opens of the new name find it there.
        std::string real = Locate(src);
        if (real.empty() || !Exists(real) || ExistsInView(dst)) return false;
        g_view.moved.erase(src);
        g_view.gone.insert(src);
        g_view.gone.erase(dst);
        g_view.moved[dst] = real;
        return true;
    }
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
    std::string p = Locate(HostPath(path));
    if (p.empty()) return nullptr;
    if (g_view.on && std::strpbrk(mode, "wa+")) {
        errno = EROFS;
        return nullptr;
    }
    return std::fopen(p.c_str(), mode);
}

bool WriteFileAtomically(const char* path, const void* bytes, size_t size) {
    if (RefusedInMemory()) return false;
    std::string target = HostPath(path);
    if (target.empty() || g_view.on) {
        errno = target.empty() ? ENOENT : EROFS;
        return false;
    }
    return WriteAtomically(target, bytes, size);
}

void SetDataFolderReadOnly(bool readOnly) {
    g_view = ReadOnlyView();
    g_view.on = readOnly;
}

void SetProgramFilesFolder(const std::string& hostFolder) {
    g_programFolder = hostFolder;
}

std::string ProgramFilePath(const char* name) {
    if (g_programFolder.empty()) return name;
    return g_programFolder + "/" + name;
}

FILE* OpenProgramFile(const char* name, const char* mode) {
    if (g_programFolder.empty()) return OpenFile(name, mode);
    FILE* f = std::fopen(ProgramFilePath(name).c_str(), mode);
    // A file the game brought along in its data folder is read when there is none of ours.
    if (!f && !std::strpbrk(mode, "wa+")) f = OpenFile(name, mode);
    return f;
}

bool WriteProgramFile(const char* name, const void* bytes, size_t size) {
    if (g_programFolder.empty()) return WriteFileAtomically(name, bytes, size);
    return WriteAtomically(ProgramFilePath(name), bytes, size);
}

bool MakeFolders(const std::string& hostPath) {
    for (size_t i = 1; i <= hostPath.size(); ++i) {
        if (i < hostPath.size() && hostPath[i] != '/') continue;
        std::string part = hostPath.substr(0, i);
        if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
    }
    struct stat st;
    return ::stat(hostPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

namespace {

bool WriteAtomically(const std::string& target, const void* bytes, size_t size) {
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

}  // namespace

}  // namespace sys
