// Watching the folders of a project for files that an editor writes, renames or deletes,
// so that author mode can reload the project. Linux only (inotify); elsewhere Start fails
// and nothing is ever reported.
#pragma once

#include <string>
#include <vector>

namespace sys {

class FolderWatch {
public:
    FolderWatch() = default;
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Watches each of 'folders' (host paths, not their subfolders); a folder that does not
    // exist is left out. False when nothing can be watched.
    bool Start(const std::vector<std::string>& folders);
    // Never blocks: the names (relative to their folder) of the files that were written to
    // the end, moved in, created or deleted since the last call.
    std::vector<std::string> TakeChanges();
    bool Active() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

}  // namespace sys
