#include "inflight/readahead.h"

#include <cerrno>
#include <system_error>

namespace mindlark {

ReadAhead::ReadAhead(Read read, int threads) : read_(std::move(read)) {
    threads_.reserve(std::size_t(threads));
    try {
        for (int i = 0; i < threads; ++i)
            threads_.emplace_back([this] { work(); });
    } catch (const std::system_error&) {
        // The threads that started read ahead; with none, take() reads each file itself.
    }
}

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
    if (threads_.empty()) {
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        ++front_;
        ++next_;
        lock.unlock();
        return read(job.first, job.second);
    }
    jobDone_.wait(lock, [this] { return jobs_.front().result.has_value(); });
    Outcome<QByteArray> result = std::move(*jobs_.front().result);
    jobs_.pop_front();
    ++front_;
    return result;
}

Outcome<QByteArray> ReadAhead::read(const QByteArray& first, const QByteArray& second) const {
    Outcome<QByteArray> result = read_(first);
    if (result.error() == ENOENT && !second.isEmpty() && second != first)
        result = read_(second);
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
        Outcome<QByteArray> result = read(first, second);
        lock.lock();
        jobs_[mine - front_].result = std::move(result);
        jobDone_.notify_all();
    }
}

}  // namespace mindlark
