// Start-up time to the first shown dialog, and the memory taken by then, of
// tovra.exe beside bare Qt dialogs built the same way (bare_dialog): an
// empty one, one with a line of text, and one with the main dialog's
// controls built straight on Qt. All start as fresh processes on the
// offscreen platform with the same preloaded reporter (first_shown.cpp),
// which ends them once the dialog is painted. tovra.exe runs from a
// directory of its own holding its runtime library and a history file, as
// an installed copy would. Printed, not judged.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int kWarmUps = 2; // each program, not counted: the page cache fills
constexpr int kStarts = 20;
constexpr int kLimitMs = 10000;

struct Start {
    double ms = -1; // -1: it did not report
    long rssKb = 0;
    long hwmKb = 0;
};

long long NowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (long long)now.tv_sec * 1000000000LL + now.tv_nsec;
}

std::vector<std::string> Environment(const std::string& preload) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry; ++entry) {
        if (std::strncmp(*entry, "LD_PRELOAD=", 11) != 0 &&
            std::strncmp(*entry, "QT_QPA_PLATFORM=", 16) != 0)
            entries.push_back(*entry);
    }
    entries.push_back("LD_PRELOAD=" + preload);
    entries.push_back("QT_QPA_PLATFORM=offscreen");
    return entries;
}

// Starts the program in dir and waits for its report.
Start StartOnce(const std::vector<std::string>& command, const std::string& dir,
                std::vector<std::string> environment) {
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
    std::vector<char*> envp;
    for (std::string& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::vector<std::string> words = command;
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    const long long started = NowNs();
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    Start result;
    if (spawned != 0) {
        close(out[0]);
        return result;
    }
    std::string text;
    pollfd entry{out[0], POLLIN, 0};
    while (text.find('\n') == std::string::npos && poll(&entry, 1, kLimitMs) > 0) {
        char buffer[256];
        const ssize_t got = read(out[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        text.append(buffer, size_t(got));
    }
    close(out[0]);
    long long shown = 0;
    if (std::sscanf(text.c_str(), "shown %lld %ld %ld", &shown, &result.rssKb, &result.hwmKb) == 3)
        result.ms = double(shown - started) / 1e6;
    else
        kill(pid, SIGKILL); // it never showed a dialog, or is stuck
    waitpid(pid, nullptr, 0);
    return result;
}

double Percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const size_t rank = std::max<size_t>(size_t(fraction * double(values.size()) + 0.999999), 1);
    return values[rank - 1];
}

struct Summary {
    double p50 = 0;
    double min = 0;
    double max = 0;
    double rssKb = 0;
    double hwmKb = 0;
    int failed = 0;
};

Summary Summarise(const std::vector<Start>& starts) {
    std::vector<double> ms;
    std::vector<double> rss;
    std::vector<double> hwm;
    Summary s;
    for (const Start& start : starts) {
        if (start.ms < 0) {
            ++s.failed;
            continue;
        }
        ms.push_back(start.ms);
        rss.push_back(double(start.rssKb));
        hwm.push_back(double(start.hwmKb));
    }
    if (ms.empty())
        return s;
    s.p50 = Percentile(ms, 0.5);
    s.min = Percentile(ms, 0.0);
    s.max = Percentile(ms, 1.0);
    s.rssKb = Percentile(rss, 0.5);
    s.hwmKb = Percentile(hwm, 0.5);
    return s;
}

void Print(const char* what, const Summary& s) {
    std::printf("  %-19s p50 %6.1f ms (min %6.1f, max %6.1f)  VmRSS %6.0f kB  VmHWM %6.0f kB", what,
                s.p50, s.min, s.max, s.rssKb, s.hwmKb);
    if (s.failed)
        std::printf("  (%d starts showed nothing)", s.failed);
    std::printf("\n");
}

std::string BinDirectory() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return ".";
    return fs::path(std::string(path, size_t(length))).parent_path().string();
}

} // namespace

int main() {
    const std::string bin = BinDirectory();
    const std::string preload = bin + "/libkc_first_shown.so";
    const std::string bare = bin + "/bare_dialog";
    for (const std::string& need : {preload, bare, bin + "/tovra.exe", bin + "/libkelto.so"}) {
        if (!fs::exists(need)) {
            std::printf("missing %s\n", need.c_str());
            return 1;
        }
    }

    // An installed copy: the program, its runtime library and a history.
    char pattern[] = "/tmp/kc-startup-XXXXXX";
    if (!mkdtemp(pattern)) {
        std::printf("no temporary directory\n");
        return 1;
    }
    const std::string dir = pattern;
    fs::copy_file(bin + "/tovra.exe", dir + "/tovra.exe");
    fs::copy_file(bin + "/libkelto.so", dir + "/libkelto.so");
    std::ofstream(dir + "/tovra.dat", std::ios::binary)
        << "127.0.0.1\r\nb.example\r\na.example\r\n";
    // An installed copy was written long before it runs: pages of a file
    // still waiting to be written back can make its first starts slower.
    sync();

    // The programs take turns, so that each sees the machine alike.
    const std::vector<std::string> environment = Environment(preload);
    const struct {
        const char* what;
        std::vector<std::string> command;
    } programs[] = {
        {"bare Qt dialog", {bare}},
        {"bare, one text", {bare, "--text"}},
        {"bare, same controls", {bare, "--controls"}},
        {"tovra.exe", {dir + "/tovra.exe"}},
    };
    std::vector<std::vector<Start>> starts(std::size(programs));
    for (int i = 0; i < kWarmUps + kStarts; ++i) {
        for (size_t p = 0; p < std::size(programs); ++p) {
            const Start start = StartOnce(programs[p].command, dir, environment);
            if (i >= kWarmUps)
                starts[p].push_back(start);
        }
    }
    fs::remove_all(dir);

    std::printf("start-up to the first shown dialog, offscreen platform, %d starts each:\n",
                kStarts);
    std::vector<Summary> summaries;
    for (size_t p = 0; p < std::size(programs); ++p) {
        summaries.push_back(Summarise(starts[p]));
        Print(programs[p].what, summaries.back());
    }
    // Each yardstick beside the program: how much more it takes to start.
    const Summary& t = summaries.back();
    for (size_t p = 0; p + 1 < summaries.size(); ++p) {
        const Summary& y = summaries[p];
        if (y.p50 > 0 && t.p50 > 0)
            std::printf("  tovra.exe / %-19s %.2fx the start-up, %+6.0f kB resident%s\n",
                        programs[p].what, t.p50 / y.p50, t.rssKb - y.rssKb,
                        p == 0 ? " (aim: within 1.3x)" : "");
    }
    return 0;
}
