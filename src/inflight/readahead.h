#pragma once

#include <QByteArray>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "outcome/outcome.h"

namespace mindlark {

// Reads small files on a few threads of its own, so that many reads are in
// flight at once where each waits on a file server; the results come back in the
// order the files were asked for. Each file is read by the function given.
class ReadAhead {
public:
    // Reads a file by name, failing with ENOENT when there is none.
    using Read = std::function<Outcome<QByteArray>(const QByteArray& name)>;
    // Reads with `read` on `threads` threads, or on as many as could start; with
    // none, each file is read when its result is taken.
    ReadAhead(Read read, int threads);
    // Waits for the reads under way, drops the rest.
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // Asks for the file named `first`, or `second` when there is none by that
    // name (both encoded names relative to the directory).
    void request(QByteArray first, QByteArray second);
    // The result of the oldest request not yet taken, once it is read.
    Outcome<QByteArray> take();

private:
    struct Job {
        QByteArray first;
        QByteArray second;
        std::optional<Outcome<QByteArray>> result;
    };
    void work();
    // Reads `first`, or `second` when there is none by that name.
    Outcome<QByteArray> read(const QByteArray& first, const QByteArray& second) const;

    const Read read_;
    std::mutex mutex_;
    std::condition_variable jobAdded_;
    std::condition_variable jobDone_;
    std::deque<Job> jobs_;   // jobs_[0] is the oldest not yet taken
    std::size_t front_ = 0;  // the number of jobs_[0], counting every job ever asked for
    std::size_t next_ = 0;   // the number of the next job a thread begins
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace mindlark
