#include "inflight/inflight.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace mindlark {

void runInFlight(int count, int threads, const std::function<void(int)>& job) {
    std::atomic<int> next{0};
    const auto work = [&] {
        for (int i = next++; i < count; i = next++)
            job(i);
    };
    std::vector<std::thread> started;
    const int wanted = std::min(threads, count) - 1;
    try {
        for (int i = 0; i < wanted; ++i)
            started.emplace_back(work);
    } catch (const std::system_error&) {
        // A thread that cannot start leaves its share to the others and this one.
    }
    work();
    for (std::thread& thread : started)
        thread.join();
}

}  // namespace mindlark
