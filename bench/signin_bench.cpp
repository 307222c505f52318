// How long one sign-in attempt takes, set against the least any scan of the same
// files could cost: reading them by their exact names on disk and parsing them.
// The difference is what matching names regardless of case adds. Stores of 1,000,
// 10,000 and 100,000 users are generated through the store's own writer; the
// attempt matches the last user, so every file is read.
#include "accounts/accountstore.h"
#include "accounts/signin.h"
#include "accounts/storenames.h"
#include "numbers/numbers.h"
#include "rtf/rtf.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

namespace {

using mindlark::AccountStore;

constexpr mindlark::Field kFields[] = {mindlark::Field::Name, mindlark::Field::Age,
                                       mindlark::Field::Email, mindlark::Field::UserName,
                                       mindlark::Field::Password};

QString userNameOf(std::int64_t k) {
    return QStringLiteral("user%1").arg(k);
}
QString passwordOf(std::int64_t k) {
    return QStringLiteral("pass word %1").arg(k);
}

// One generated store per size, kept for the whole run.
class Stores {
public:
    const QString& directory(std::int64_t users) {
        auto& dir = dirs_[users];
        if (!dir) {
            dir = std::make_unique<QTemporaryDir>();
            generate(dir->path(), users);
        }
        return paths_[users] = dir->path();
    }

private:
    // Writes the users' files directly, each by the name and with the bytes the
    // store's writer gives it, then sets the store up and the counter through the
    // store itself. Replacing the counter once per user would make the file system
    // flush on every rename, and 100,000 registrations would take minutes.
    static void generate(const QString& directory, std::int64_t users) {
        QElapsedTimer timer;
        timer.start();
        {
            QFile marker(directory + "/num.qk");
            marker.open(QIODevice::WriteOnly);
            marker.write(mindlark::rtf::write("0"));
        }
        AccountStore store(directory);
        if (store.isFirstRun())
            store.setUp();
        for (std::int64_t k = 0; k < users; ++k) {
            const QString values[] = {
                QStringLiteral("Player %1").arg(k), QString::number(20 + k % 50),
                QStringLiteral("p%1@example.org").arg(k), userNameOf(k), passwordOf(k)};
            for (std::size_t i = 0; i < std::size(kFields); ++i) {
                writeNew(directory + "/QK/" + mindlark::storenames::writeName(kFields[i], k),
                         mindlark::rtf::write(values[i]));
            }
        }
        QFile counter(directory + "/QK/num.qk");
        counter.open(QIODevice::WriteOnly | QIODevice::Truncate);
        counter.write(mindlark::rtf::write(QString::number(users)));
        std::fprintf(stderr, "generated %lld users in %.1f s\n", static_cast<long long>(users),
                     double(timer.elapsed()) / 1000.0);
    }

    static void writeNew(const QString& path, const QByteArray& bytes) {
        const int fd = ::open(QFile::encodeName(path).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 || ::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size()) {
            std::perror("generating the store");
            std::exit(1);
        }
        ::close(fd);
    }

    std::map<std::int64_t, std::unique_ptr<QTemporaryDir>> dirs_;
    std::map<std::int64_t, QString> paths_;
};

Stores& stores() {
    static Stores instance;
    return instance;
}

// The plain text of the file at `path`, read with nothing but open, read and close.
QString readExactly(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    char buffer[4096];
    QByteArray data;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        data.append(buffer, n);
    }
    ::close(fd);
    return mindlark::rtf::read(data).text;
}

// One sign-in attempt through the store; returns the matched user number.
std::int64_t signInThroughTheStore(const AccountStore& store, const QString& userName,
                                   const QString& password) {
    const auto match = mindlark::signIn(store, userName, password).match;
    return match ? match->user : -1;
}

// The same files the sign-in reads (the counter, every user's user name and
// password, the name and age of the match), by their exact names on disk.
std::int64_t readTheExactNames(const QByteArray& store, const QString& userName,
                               const QString& password) {
    const std::int64_t count = mindlark::readNumberLeniently(readExactly(store + "num.qk"));
    std::int64_t found = -1;
    QString name;
    QString age;
    for (std::int64_t i = 0; i < count; ++i) {
        const QByteArray label = QByteArray::number(i);
        const QString storedUser = readExactly(store + "mup%qk " + label + "du.qk");
        const QString storedPassword = readExactly(store + "mpp%qk " + label + "dp.qk");
        if (storedUser == userName && storedPassword == password) {
            found = i;
            name = readExactly(store + "mnp%qk " + label + "dN.qk");
            age = readExactly(store + "map%qk " + label + "dA.qk");
        }
    }
    benchmark::DoNotOptimize(name);
    benchmark::DoNotOptimize(age);
    return found;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Each iteration times one sign-in and one baseline scan back to back, taking
// turns at going first, so load from elsewhere on the machine and cache effects
// fall on both alike. The reported time is the sign-in's; the counters give both
// medians and the median of the per-iteration ratios.
void SignInAgainstExactNames(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const std::int64_t users = state.range(0);
    const QString directory = stores().directory(users);
    const QByteArray exact = QFile::encodeName(directory) + "/QK/";
    const AccountStore store(directory);
    const QString userName = userNameOf(users - 1);
    const QString password = passwordOf(users - 1);
    std::vector<double> storeTimes;
    std::vector<double> baselineTimes;
    std::vector<double> ratios;
    bool storeFirst = false;
    for (auto _ : state) {
        double storeSeconds = 0;
        double baselineSeconds = 0;
        for (int turn = 0; turn < 2; ++turn) {
            const bool storeNow = (turn == 0) == storeFirst;
            const auto start = Clock::now();
            const std::int64_t found = storeNow ? signInThroughTheStore(store, userName, password)
                                                : readTheExactNames(exact, userName, password);
            const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
            if (found != users - 1)
                state.SkipWithError("the last user was not found");
            (storeNow ? storeSeconds : baselineSeconds) = seconds;
        }
        storeFirst = !storeFirst;
        state.SetIterationTime(storeSeconds);
        storeTimes.push_back(storeSeconds);
        baselineTimes.push_back(baselineSeconds);
        ratios.push_back(storeSeconds / baselineSeconds);
    }
    state.counters["store_ms"] = median(storeTimes) * 1e3;
    state.counters["baseline_ms"] = median(baselineTimes) * 1e3;
    state.counters["ratio"] = median(ratios);
    state.counters["store_us_per_user"] = median(storeTimes) * 1e6 / double(users);
}

// Fewer iterations for the larger stores keep the whole run to a minute or two.
BENCHMARK(SignInAgainstExactNames)
    ->Arg(1'000)
    ->Iterations(60)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(SignInAgainstExactNames)
    ->Arg(10'000)
    ->Iterations(20)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(SignInAgainstExactNames)
    ->Arg(100'000)
    ->Iterations(7)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Prints as usual, then the figures per size as one table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            rows_.push_back(run);
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\nusers      store ms  baseline ms  ratio  store us/user   (medians)\n");
        for (const Run& run : rows_) {
            const auto counter = [&run](const char* name) { return run.counters.at(name).value; };
            std::printf("%-9s %9.2f %12.2f %6.3f %14.2f\n", run.run_name.args.c_str(),
                        counter("store_ms"), counter("baseline_ms"), counter("ratio"),
                        counter("store_us_per_user"));
        }
    }

private:
    std::vector<Run> rows_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
