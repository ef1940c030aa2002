// The media lock: one process-wide recursive lock that every media operation takes on entry
// and releases on return. It records its owner and a recursion count; other threads queue
// in first-come order in a bounded waiter table and are handed the lock in that order.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>

namespace media {

class MediaLock {
public:
    static constexpr size_t kMaxWaiters = 4096;

    void Lock();
    void Unlock();
    // Lets go of every hold the calling thread has and returns how many there were, so
    // that another thread (the audio callback) can get in while this one waits for it.
    int UnlockAll();
    void RelockAll(int holds);
    // For tests and diagnostics.
    bool OwnedByCurrentThread();
    int RecursionCount();
    size_t WaiterCount();

private:
    struct Waiter {
        std::condition_variable wake;
        bool granted = false;
        std::thread::id thread;
    };

    std::mutex section_;  // guards every field below
    bool held_ = false;
    std::thread::id owner_;
    int count_ = 0;
    Waiter* waiters_[kMaxWaiters] = {};  // ring buffer, first-come order
    size_t head_ = 0;
    size_t size_ = 0;
};

// The process-wide instance.
MediaLock& TheMediaLock();

class MediaLockGuard {
public:
    MediaLockGuard() { TheMediaLock().Lock(); }
    ~MediaLockGuard() { TheMediaLock().Unlock(); }
    MediaLockGuard(const MediaLockGuard&) = delete;
    MediaLockGuard& operator=(const MediaLockGuard&) = delete;
};

}  // namespace media
