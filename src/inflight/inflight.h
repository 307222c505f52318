#pragma once

#include <functional>

namespace mindlark {

// Runs job(0) to job(count - 1) and returns once all have ended, up to `threads`
// of them at once, so that where each waits on a file server their waits
// overlap. With one thread, or where no thread can be started, they run one
// after another on the caller's thread. Jobs must not throw.
void runInFlight(int count, int threads, const std::function<void(int)>& job);

}  // namespace mindlark
