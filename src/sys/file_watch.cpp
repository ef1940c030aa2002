#include "sys/file_watch.h"

#if defined(__linux__)
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace sys {

#if defined(__linux__)

FolderWatch::~FolderWatch() {
    if (fd_ >= 0) ::close(fd_);
}

bool FolderWatch::Start(const std::vector<std::string>& folders) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0) return false;
    // A save that writes in place ends with a close; one that writes a new file and renames
    // it over the old ends with a move. A new file counts once its writer closes it.
    const uint32_t mask = IN_CLOSE_WRITE | IN_MOVED_TO | IN_DELETE | IN_MOVED_FROM;
    int watched = 0;
    for (const std::string& f : folders)
        if (::inotify_add_watch(fd_, f.c_str(), mask) >= 0) ++watched;
    if (watched == 0) {
        ::close(fd_);
        fd_ = -1;
    }
    return fd_ >= 0;
}

std::vector<std::string> FolderWatch::TakeChanges() {
    std::vector<std::string> names;
    if (fd_ < 0) return names;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n <= 0) break;  // EAGAIN: nothing more now
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
            if (e->len > 0) names.emplace_back(e->name);
            at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
        }
    }
    return names;
}

#else

FolderWatch::~FolderWatch() = default;
bool FolderWatch::Start(const std::vector<std::string>&) {
    return false;
}
std::vector<std::string> FolderWatch::TakeChanges() {
    return {};
}

#endif

}  // namespace sys
