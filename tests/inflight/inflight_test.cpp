// Jobs and reads in flight: each done once, results in the order asked for,
// whether threads start or not.
#include "inflight/inflight.h"
#include "inflight/readahead.h"

#include <gtest/gtest.h>

#include <QHash>

#include <atomic>
#include <cerrno>
#include <thread>
#include <vector>

namespace mindlark {
namespace {

TEST(InFlight, EveryJobRunsOnceWhateverTheThreads) {
    for (const auto& [count, threads] : {std::pair{0, 4}, {7, 1}, {7, 16}, {200, 32}}) {
        std::vector<std::atomic<int>> runs(static_cast<std::size_t>(count));
        runInFlight(count, threads, [&](int i) { ++runs[std::size_t(i)]; });
        for (const std::atomic<int>& run : runs)
            EXPECT_EQ(run, 1) << count << " jobs on " << threads;
    }
    // One thread is the caller's: what a job throws reaches it.
    const auto caller = std::this_thread::get_id();
    EXPECT_THROW(runInFlight(2, 1,
                             [&](int) {
                                 if (std::this_thread::get_id() == caller)
                                     throw std::runtime_error("on the caller's thread");
                             }),
                 std::runtime_error);
}

TEST(ReadAhead, ResultsComeInTheOrderAskedAndASecondNameStandsInForAMissingFirst) {
    const QHash<QByteArray, QByteArray> files{{"a", "1"}, {"B", "2"}, {"c", "3"}};
    const ReadAhead::Read read = [&](const QByteArray& name) -> Outcome<QByteArray> {
        if (!files.contains(name))
            return Failure::ofErrno(ENOENT);
        return files.value(name);
    };
    for (const int threads : {0, 1, 8}) {
        ReadAhead ahead(read, threads);
        for (const auto& [first, second] :
             {std::pair<QByteArray, QByteArray>{"c", {}}, {"b", "B"}, {"x", "y"}, {"a", "a"}})
            ahead.request(first, second);
        QList<QByteArray> got;
        for (int i = 0; i < 4; ++i) {
            const Outcome<QByteArray> result = ahead.take();
            got += result.ok() ? result.value() : QByteArray::number(result.error());
        }
        EXPECT_EQ(got, (QList<QByteArray>{"3", "2", QByteArray::number(ENOENT), "1"})) << threads;
    }
}

}  // namespace
}  // namespace mindlark
