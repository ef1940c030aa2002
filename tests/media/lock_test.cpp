// The media layer's one recursive lock: held by one thread at a time, served first come
// first served.
#include "media/lock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>
#include <vector>

using media::MediaLock;

namespace {

void WaitFor(const std::function<bool()>& cond) {
    for (int i = 0; i < 5000 && !cond(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TEST(MediaLock, IsRecursiveExcludesOthersAndServesThemInArrivalOrder) {
    MediaLock lock;
    lock.Lock();
    lock.Lock();
    EXPECT_EQ(lock.RecursionCount(), 2);
    std::vector<int> order;  // guarded by the lock itself
    std::vector<std::thread> threads;
    for (int i = 0; i < 6; ++i) {
        threads.emplace_back([&, i] {
            lock.Lock();
            order.push_back(i);
            lock.Unlock();
        });
        // Each thread queues before the next one starts.
        WaitFor([&] { return lock.WaiterCount() == static_cast<size_t>(i + 1); });
    }
    lock.Unlock();
    EXPECT_TRUE(lock.OwnedByCurrentThread());
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(order.empty());  // still held once
    lock.Unlock();
    EXPECT_FALSE(lock.OwnedByCurrentThread());
    for (auto& t : threads) t.join();
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

}  // namespace
