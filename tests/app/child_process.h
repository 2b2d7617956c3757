// A program started by a test, with its standard output read through a pipe.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class ChildProcess {
public:
    // Starts program with these arguments in directory dir. env holds
    // "NAME=value" to set and "NAME" to remove; the rest is inherited.
    ChildProcess(const std::string& program, const std::vector<std::string>& args,
                 const std::string& dir, const std::vector<std::string>& env);
    ~ChildProcess(); // kills a child that still runs
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return m_pid > 0; }
    // Reads the rest of the output and waits for the end; false when the
    // child had not ended after timeoutMs (it is killed then).
    bool Finish(int timeoutMs);
    void Signal(int signal);

    const std::string& Output() const { return m_output; }
    int Status() const { return m_status; } // as waitpid gives it

private:
    pid_t m_pid = -1;
    int m_fd = -1;
    int m_status = -1;
    std::string m_output;
};

// Waits until the file exists; false after timeoutMs.
bool WaitForFile(const std::string& path, int timeoutMs);
