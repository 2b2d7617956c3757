#include "tests/app/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

std::string NameOf(const std::string& entry) {
    return entry.substr(0, entry.find('='));
}

// The inherited environment with the changes applied.
std::vector<std::string> Environment(const std::vector<std::string>& changes) {
    std::vector<std::string> result;
    for (char** entry = environ; *entry; ++entry) {
        bool changed = false;
        for (const std::string& change : changes)
            changed = changed || NameOf(change) == NameOf(*entry);
        if (!changed)
            result.push_back(*entry);
    }
    for (const std::string& change : changes) {
        if (change.find('=') != std::string::npos)
            result.push_back(change);
    }
    return result;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& s : strings)
        pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::string& dir, const std::vector<std::string>& env) {
    std::vector<std::string> argStrings{program};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<std::string> envStrings = Environment(env);
    // Everything the child needs is ready before the fork: after it, only
    // calls that are safe in a copy of a threaded process.
    std::vector<char*> argv = Pointers(argStrings);
    std::vector<char*> envp = Pointers(envStrings);
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        return;
    m_pid = fork();
    if (m_pid == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        const int null = open("/dev/null", O_RDONLY);
        dup2(null, STDIN_FILENO);
        if (chdir(dir.c_str()) == 0)
            execve(program.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    close(pipeFds[1]);
    if (m_pid < 0) {
        close(pipeFds[0]);
        return;
    }
    m_fd = pipeFds[0];
}

ChildProcess::~ChildProcess() {
    if (m_pid > 0 && m_status == -1) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, &m_status, 0);
    }
    if (m_fd >= 0)
        close(m_fd);
}

bool ChildProcess::Finish(int timeoutMs) {
    if (m_pid <= 0)
        return false;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (m_fd >= 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            break;
        pollfd entry{m_fd, POLLIN, 0};
        if (poll(&entry, 1, int(left.count())) <= 0)
            continue;
        char buffer[4096];
        const ssize_t got = read(m_fd, buffer, sizeof buffer);
        if (got <= 0) {
            close(m_fd);
            m_fd = -1;
        } else {
            m_output.append(buffer, size_t(got));
        }
    }
    // The output has ended; the process ends with it or very soon after.
    while (Clock::now() < deadline) {
        if (waitpid(m_pid, &m_status, WNOHANG) == m_pid)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(m_pid, SIGKILL);
    waitpid(m_pid, &m_status, 0);
    return false;
}

void ChildProcess::Signal(int signal) {
    if (m_pid > 0 && m_status == -1)
        kill(m_pid, signal);
}

bool WaitForFile(const std::string& path, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    struct stat st;
    while (stat(path.c_str(), &st) != 0) {
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}
