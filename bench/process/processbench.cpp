// Whole-process benchmark: each store operation as a fresh process, set against
// the least a program could do in its place, in the same run, taking turns at going
// first. Prints medians and their ratios.
//   processbench [signin] [list] [start] [register]   (default: all four)
// "start" needs an X server ($DISPLAY): it times the game from exec to the mapping
// of its first window, and a bare Qt window the same way, with peak memory.
// PROCESSBENCH_GAME names another build of the game to time in its place, so that
// two versions can be set against the same baselines.
#include <X11/Xlib.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using Command = std::vector<std::string>;

struct Sample {
    double seconds = 0;
    double peakMiB = 0;
    double cpuSeconds = 0;  // user and system time: what other load cannot inflate
};

struct Usage {
    double peakMiB = 0;
    double cpuSeconds = 0;
};

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "processbench: %s\n", what.c_str());
    std::exit(1);
}

// Starts `command` in `directory` with its output discarded; returns the child.
pid_t spawn(const Command& command, const fs::path& directory) {
    const pid_t child = fork();
    if (child < 0)
        fail("fork failed");
    if (child == 0) {
        if (chdir(directory.c_str()) != 0)
            _exit(126);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        std::vector<char*> argv;
        for (const std::string& word : command)
            argv.push_back(const_cast<char*>(word.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return child;
}

// Waits for `child`; fails unless it exited with one of the `allowed` statuses.
Usage reap(pid_t child, const Command& command, bool killed = false) {
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child)
        fail("wait4 failed");
    const bool fine = killed ? true : (WIFEXITED(status) && WEXITSTATUS(status) == 0);
    if (!fine)
        fail(command[0] + " failed with status " + std::to_string(status));
    const auto seconds = [](const timeval& t) {
        return double(t.tv_sec) + double(t.tv_usec) / 1e6;
    };
    return {double(usage.ru_maxrss) / 1024.0, seconds(usage.ru_utime) + seconds(usage.ru_stime)};
}

Sample runToEnd(const Command& command, const fs::path& directory) {
    const auto start = Clock::now();
    const pid_t child = spawn(command, directory);
    const Usage usage = reap(child, command);
    return {std::chrono::duration<double>(Clock::now() - start).count(), usage.peakMiB,
            usage.cpuSeconds};
}

// From exec to the first top-level window the child maps, then the child is ended.
Sample runToFirstWindow(Display* display, const Command& command, const fs::path& directory) {
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, True);
    const auto start = Clock::now();
    const pid_t child = spawn(command, directory);
    double seconds = -1;
    while (seconds < 0) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && event.xmap.event == root) {
                seconds = std::chrono::duration<double>(Clock::now() - start).count();
                break;
            }
        }
        if (seconds >= 0)
            break;
        pollfd watch{ConnectionNumber(display), POLLIN, 0};
        if (poll(&watch, 1, 20'000) <= 0) {
            kill(child, SIGKILL);
            reap(child, command, true);
            fail(command[0] + " showed no window within 20 s");
        }
    }
    kill(child, SIGTERM);
    const Usage usage = reap(child, command, true);
    XSelectInput(display, root, NoEventMask);
    XSync(display, True);
    return {seconds, usage.peakMiB, usage.cpuSeconds};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Runs `subject` and `baseline` `pairs` times each, alternating which goes first,
// after one warm-up of each, and prints the medians and their ratio.
void compare(const std::string& label, int pairs, const std::function<Sample()>& subject,
             const std::function<Sample()>& baseline) {
    subject();
    baseline();
    std::vector<double> subjectTimes, baselineTimes, subjectPeaks, baselinePeaks, subjectCpu,
        baselineCpu;
    for (int i = 0; i < pairs; ++i) {
        for (int turn = 0; turn < 2; ++turn) {
            const bool subjectNow = (turn == 0) == (i % 2 == 0);
            const Sample sample = subjectNow ? subject() : baseline();
            (subjectNow ? subjectTimes : baselineTimes).push_back(sample.seconds);
            (subjectNow ? subjectPeaks : baselinePeaks).push_back(sample.peakMiB);
            (subjectNow ? subjectCpu : baselineCpu).push_back(sample.cpuSeconds);
        }
    }
    const double time = median(subjectTimes), baseTime = median(baselineTimes);
    const double peak = median(subjectPeaks), basePeak = median(baselinePeaks);
    const double cpu = median(subjectCpu), baseCpu = median(baselineCpu);
    std::printf(
        "%-44s %8.4f s %8.4f s x%.2f | cpu %8.4f s %8.4f s x%.2f | peak %6.1f MiB "
        "%6.1f MiB x%.2f\n",
        label.c_str(), time, baseTime, time / baseTime, cpu, baseCpu, cpu / baseCpu, peak, basePeak,
        peak / basePeak);
    std::fflush(stdout);
}

std::string gameProgram() {
    const char* other = std::getenv("PROCESSBENCH_GAME");
    return other && *other ? other : MINDLARK_PATH;
}

struct Programs {
    std::string game = gameProgram();
    std::string qkstore = QKSTORE_PATH;
    std::string exactReads = EXACTREADS_PATH;
    std::string signInOnce = SIGNINONCE_PATH;
    std::string registerOnce = REGISTERONCE_PATH;
    std::string makeStore = MAKESTORE_PATH;
    std::string bareWindow = BAREWINDOW_PATH;
};

fs::path makeStore(const Programs& programs, const fs::path& scratch, long users) {
    const fs::path directory = scratch / ("store-" + std::to_string(users));
    if (!fs::exists(directory)) {
        std::fprintf(stderr, "making a store of %ld users...\n", users);
        runToEnd({programs.makeStore, directory.string(), std::to_string(users)}, scratch);
    }
    return directory;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> suites(argv + 1, argv + argc);
    if (suites.empty())
        suites = {"signin", "list", "start", "register"};
    const auto wanted = [&](const char* name) {
        return std::find(suites.begin(), suites.end(), name) != suites.end();
    };
    const Programs programs;
    char pattern[] = "/tmp/mindlark-processbench-XXXXXX";
    if (!mkdtemp(pattern))
        fail("cannot make a scratch directory");
    const fs::path scratch = pattern;

    std::printf("%-44s %-27s | %-31s | %s\n", "case (medians: subject, baseline, ratio)", "wall",
                "cpu (user + system)", "peak memory");
    if (wanted("signin")) {
        for (const long users : {10'000L, 100'000L}) {
            const fs::path store = makeStore(programs, scratch, users);
            const std::string last = std::to_string(users - 1);
            compare(
                "sign-in, " + std::to_string(users) + " users vs exact reads",
                users > 10'000 ? 5 : 11,
                [&] {
                    return runToEnd(
                        {programs.signInOnce, store.string(), "user" + last, "pass word " + last},
                        store);
                },
                [&] {
                    return runToEnd(
                        {programs.exactReads, store.string(), "signin", std::to_string(users)},
                        store);
                });
        }
    }
    if (wanted("list")) {
        for (const long users : {10'000L, 100'000L}) {
            const fs::path store = makeStore(programs, scratch, users);
            compare(
                "qkstore list, " + std::to_string(users) + " users vs exact reads",
                users > 10'000 ? 3 : 9,
                [&] {
                    return runToEnd({programs.qkstore, "list", store.string()}, store);
                },
                [&] {
                    return runToEnd(
                        {programs.exactReads, store.string(), "list", std::to_string(users)},
                        store);
                });
        }
    }
    if (wanted("start")) {
        Display* display = XOpenDisplay(nullptr);
        if (!display) {
            std::fprintf(stderr, "processbench: start needs an X server; skipped\n");
        } else {
            const fs::path store = makeStore(programs, scratch, 10);
            compare(
                "start to first window vs Qt window, no text", 15,
                [&] { return runToFirstWindow(display, {programs.game}, store); },
                [&] { return runToFirstWindow(display, {programs.bareWindow}, store); });
            compare(
                "start to first window vs Qt window with text", 15,
                [&] { return runToFirstWindow(display, {programs.game}, store); },
                [&] {
                    return runToFirstWindow(display, {programs.bareWindow, "--form"}, store);
                });
            XCloseDisplay(display);
        }
    }
    if (wanted("register")) {
        const fs::path small = makeStore(programs, scratch, 10);
        for (const long users : {10'000L, 100'000L}) {
            const fs::path store = makeStore(programs, scratch, users);
            compare(
                "registration, " + std::to_string(users) + " vs 10 users", 7,
                [&] {
                    return runToEnd({programs.registerOnce, store.string()}, store);
                },
                [&] {
                    return runToEnd({programs.registerOnce, small.string()}, small);
                });
        }
    }
    fs::remove_all(scratch);
    return 0;
}
