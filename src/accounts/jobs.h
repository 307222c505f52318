#pragma once

#include <cstddef>
#include <functional>
#include <thread>
#include <vector>

// Work kept in flight on a few threads, where each step waits on a file server.
namespace mindlark {

// Starts up to `count` threads running `work`: as many as the system lets start,
// perhaps none, so that a caller short of threads does the work itself rather
// than fail. The caller joins them.
std::vector<std::thread> startThreads(int count, const std::function<void()>& work);

// Runs job(0) to job(count - 1), each once and in no set order, at most
// `inFlight` at a time: on threads of its own and on the caller's, which works
// too (alone when `inFlight` is 1 or less, or no thread can start). Returns once
// every job is done; a job must not throw.
void runJobs(std::size_t count, int inFlight, const std::function<void(std::size_t)>& job);

}  // namespace mindlark
