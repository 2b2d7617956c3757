#include "tests/support/test_copy.h"

#include "kelto/kelto.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

extern char** environ;

namespace fs = std::filesystem;

int RunTestCopyBeside(const std::string& name, const std::string& library,
                      const std::string& filter, const std::vector<std::string>& variables) {
    const fs::path dir =
        fs::temp_directory_path() / ("kc-" + name + "-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directory(dir);
    const fs::path copy = dir / name;
    fs::copy_file("/proc/self/exe", copy);
    fs::permissions(copy, fs::perms::owner_all);
    if (!library.empty())
        fs::copy_file(library, dir / KELTO_LIBRARY_NAME);

    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (std::strncmp(*entry, "LD_LIBRARY_PATH=", 16) != 0)
            entries.push_back(*entry);
    }
    entries.insert(entries.end(), variables.begin(), variables.end());
    std::vector<char*> environment;
    for (std::string& entry : entries)
        environment.push_back(entry.data());
    environment.push_back(nullptr);

    std::string program = copy.string();
    std::string filterArgument = "--gtest_filter=" + filter;
    char* argv[] = {program.data(), filterArgument.data(), nullptr};
    pid_t pid = 0;
    int status = -1;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environment.data()) != 0 ||
        waitpid(pid, &status, 0) != pid)
        status = -1;
    fs::remove_all(dir);
    if (status == -1)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
