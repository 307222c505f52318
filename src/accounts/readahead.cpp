#include "accounts/readahead.h"

#include "accounts/jobs.h"
#include "accounts/storefiles.h"

#include <cerrno>

namespace mindlark {

namespace {

Outcome<QByteArray> readEither(int directory, const QByteArray& first, const QByteArray& second) {
    Outcome<QByteArray> result = storefiles::readFileAt(directory, first);
    if (result.error() == ENOENT && !second.isEmpty() && second != first)
        result = storefiles::readFileAt(directory, second);
    return result;
}

}  // namespace

ReadAhead::ReadAhead(int directory, int threads)
    : directory_(directory), threads_(startThreads(threads, [this] { work(); })) {}

ReadAhead::~ReadAhead() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    jobAdded_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
}

void ReadAhead::request(QByteArray first, QByteArray second) {
    {
        const std::lock_guard lock(mutex_);
        jobs_.push_back(Job{std::move(first), std::move(second), std::nullopt});
    }
    jobAdded_.notify_one();
}

Outcome<QByteArray> ReadAhead::take() {
    std::unique_lock lock(mutex_);
    // Without a thread of its own, each file is read when it is asked for.
    if (threads_.empty())
        jobs_.front().result = readEither(directory_, jobs_.front().first, jobs_.front().second);
    jobDone_.wait(lock, [this] { return jobs_.front().result.has_value(); });
    Outcome<QByteArray> result = std::move(*jobs_.front().result);
    jobs_.pop_front();
    ++front_;
    return result;
}

void ReadAhead::work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        jobAdded_.wait(lock, [this] { return stopping_ || next_ < front_ + jobs_.size(); });
        if (stopping_)
            return;
        // Jobs are counted from the first ever asked for: taking results removes
        // jobs from the front while this thread reads without the mutex.
        const std::size_t mine = next_++;
        const QByteArray first = jobs_[mine - front_].first;
        const QByteArray second = jobs_[mine - front_].second;
        lock.unlock();
        Outcome<QByteArray> result = readEither(directory_, first, second);
        lock.lock();
        jobs_[mine - front_].result = std::move(result);
        jobDone_.notify_all();
    }
}

}  // namespace mindlark
