#include "media/lock.h"

#include <chrono>

namespace media {

void MediaLock::Lock() {
    const std::thread::id me = std::this_thread::get_id();
    for (;;) {
        std::unique_lock<std::mutex> lk(section_);
        if (!held_) {
            held_ = true;
            owner_ = me;
            count_ = 1;
            return;
        }
        if (owner_ == me) {
            ++count_;
            return;
        }
        if (size_ == kMaxWaiters) {
            // The table is full: step out and try again shortly.
            lk.unlock();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            continue;
        }
        Waiter w;
        w.thread = me;
        waiters_[(head_ + size_) % kMaxWaiters] = &w;
        ++size_;
        // The releasing thread hands the lock over directly, so nobody can overtake a
        // waiter between the release and the wake-up.
        w.wake.wait(lk, [&] { return w.granted; });
        return;
    }
}

void MediaLock::Unlock() {
    bool handedOver = false;
    {
        std::lock_guard<std::mutex> lk(section_);
        if (!held_ || owner_ != std::this_thread::get_id()) return;  // not ours: ignore
        if (--count_ > 0) return;
        if (size_ > 0) {
            Waiter* next = waiters_[head_];
            waiters_[head_] = nullptr;
            head_ = (head_ + 1) % kMaxWaiters;
            --size_;
            owner_ = next->thread;
            count_ = 1;
            next->granted = true;
            next->wake.notify_one();
            handedOver = true;
        } else {
            held_ = false;
            owner_ = std::thread::id();
        }
    }
    if (handedOver) std::this_thread::yield();
}

int MediaLock::UnlockAll() {
    int holds = 0;
    while (OwnedByCurrentThread()) {
        Unlock();
        ++holds;
    }
    return holds;
}

void MediaLock::RelockAll(int holds) {
    for (int i = 0; i < holds; ++i) Lock();
}

bool MediaLock::OwnedByCurrentThread() {
    std::lock_guard<std::mutex> lk(section_);
    return held_ && owner_ == std::this_thread::get_id();
}

int MediaLock::RecursionCount() {
    std::lock_guard<std::mutex> lk(section_);
    return held_ ? count_ : 0;
}

size_t MediaLock::WaiterCount() {
    std::lock_guard<std::mutex> lk(section_);
    return size_;
}

MediaLock& TheMediaLock() {
    static MediaLock lock;
    return lock;
}

}  // namespace media
