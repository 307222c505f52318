#include "accounts/jobs.h"

#include <algorithm>
#include <atomic>
#include <system_error>

namespace mindlark {

std::vector<std::thread> startThreads(int count, const std::function<void()>& work) {
    std::vector<std::thread> threads;
    threads.reserve(std::size_t(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        try {
            threads.emplace_back(work);
        } catch (const std::system_error&) {
            break;  // out of threads or memory for their stacks: the rest is done without
        }
    }
    return threads;
}

void runJobs(std::size_t count, int inFlight, const std::function<void(std::size_t)>& job) {
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < count; i = next++)
            job(i);
    };
    const std::size_t helpers = std::min(count, std::size_t(std::max(inFlight, 1))) - (count > 0);
    std::vector<std::thread> threads = startThreads(int(helpers), work);
    work();
    for (std::thread& thread : threads)
        thread.join();
}

}  // namespace mindlark
