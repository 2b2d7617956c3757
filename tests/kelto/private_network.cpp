#include "tests/kelto/private_network.h"

#include <fcntl.h>
#include <net/if.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace {

// Holds the parent's namespace identities; the child compares them with its
// own before it changes anything.
const char kParentVariable[] = "KC_PRIVATE_NETWORK_PARENT";

// A short timeout lets an abandoned lookup end on its own soon.
const char kResolverConfig[] = "nameserver 127.0.0.1\noptions timeout:2 attempts:1\n";

std::string Link(const char* path) {
    char target[PATH_MAX];
    ssize_t length = readlink(path, target, sizeof target);
    return length > 0 ? std::string(target, static_cast<size_t>(length)) : std::string();
}

std::string NamespaceIds() {
    return Link("/proc/self/ns/net") + Link("/proc/self/ns/mnt");
}

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "private network: %s: %s\n", what, std::strerror(errno));
    std::_Exit(99);
}

void BringLoopbackUp() {
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        Fail("socket");
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    if (ioctl(fd, SIOCGIFFLAGS, &request) != 0)
        Fail("SIOCGIFFLAGS");
    request.ifr_flags = static_cast<short>(request.ifr_flags | IFF_UP);
    if (ioctl(fd, SIOCSIFFLAGS, &request) != 0)
        Fail("SIOCSIFFLAGS");
    close(fd);
}

void ReplaceResolverConfig() {
    // Mounts made from here on must never propagate out of this namespace.
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        Fail("making mounts private");
    char path[] = "/tmp/kc-resolv-XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0)
        Fail("mkstemp");
    ssize_t length = static_cast<ssize_t>(sizeof kResolverConfig - 1);
    if (write(fd, kResolverConfig, sizeof kResolverConfig - 1) != length)
        Fail("writing the resolver configuration");
    close(fd);
    int mounted = mount(path, "/etc/resolv.conf", nullptr, MS_BIND, nullptr);
    unlink(path);
    if (mounted != 0)
        Fail("bind-mounting /etc/resolv.conf");
}

bool SetUpIfChild() {
    const char* parent = std::getenv(kParentVariable);
    if (parent == nullptr)
        return false;
    if (NamespaceIds() == parent) {
        std::fprintf(stderr, "private network: not in namespaces of its own\n");
        std::_Exit(98);
    }
    BringLoopbackUp();
    ReplaceResolverConfig();
    return true;
}

// Runs argv and waits; its exit status, or -1 when it could not start.
int Spawn(const std::vector<std::string>& arguments, char* const* environment, bool quiet) {
    std::vector<char*> argv;
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (quiet) {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    pid_t pid = 0;
    int started = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environment);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0)
        return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

bool NamespacesPermitted() {
    static const bool permitted =
        Spawn({"unshare", "--net", "--mount", "true"}, environ, true) == 0;
    return permitted;
}

} // namespace

bool InPrivateNetwork() {
    static const bool inside = SetUpIfChild();
    return inside;
}

int RerunInPrivateNetwork(const std::vector<std::string>& arguments) {
    if (!NamespacesPermitted())
        return -1;
    std::vector<std::string> command = {"unshare", "--net", "--mount", Link("/proc/self/exe")};
    command.insert(command.end(), arguments.begin(), arguments.end());
    std::string marker = std::string(kParentVariable) + "=" + NamespaceIds();
    std::vector<char*> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (std::strncmp(*entry, kParentVariable, sizeof kParentVariable - 1) != 0)
            environment.push_back(*entry);
    }
    environment.push_back(marker.data());
    environment.push_back(nullptr);
    return Spawn(command, environment.data(), false);
}
