// Files and folders for project paths: '\' separators and cp932 names, resolved against the
// host's file system, which (unlike the one the projects were made on) is case-sensitive.
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
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

}  // namespace

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
    return Exists(HostPath(path));
}

bool CreateDirectory(const char* path) {
    std::string p = HostPath(path);
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return !p.empty() && ::mkdir(p.c_str(), 0777) == 0;
}

bool MoveFile(const char* from, const char* to) {
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
    std::string p = HostPath(path);
    if (p.empty()) return nullptr;
    return std::fopen(p.c_str(), mode);
}

bool WriteFileAtomically(const char* path, const void* bytes, size_t size) {
    std::string target = HostPath(path);
    if (target.empty()) return false;
    std::string temp = target + ".tmp";
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) return false;
    const char* p = static_cast<const char*>(bytes);
    size_t left = size;
    bool ok = true;
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    if (ok && ::fsync(fd) != 0) ok = false;
    if (::close(fd) != 0) ok = false;
    if (!ok || ::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace sys
