#include "tests/kelto/kelto_testing.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>

std::atomic<int32_t> g_nTestAbort{0};

int32_t TestAbortCheck(int32_t) {
    return g_nTestAbort.load();
}

std::string BinFile(const char* name) {
    const char* dir = std::getenv("KC_BIN_DIR");
    return std::string(dir != nullptr ? dir : ".") + "/" + name;
}

kti_inaddr LoopbackAddress(uint16_t port) {
    kti_inaddr address{};
    address.family = AF_INET;
    address.port = htons(port);
    address.address = htonl(INADDR_LOOPBACK);
    return address;
}

int ListenOnLoopback(int backlog, uint16_t& port) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(fd, backlog) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (fd >= 0)
            close(fd);
        return -1;
    }
    port = ntohs(address.sin_port);
    return fd;
}

uint16_t UnusedLoopbackPort() {
    uint16_t port = 0;
    int fd = ListenOnLoopback(1, port);
    if (fd >= 0)
        close(fd);
    return port;
}

std::vector<int> FillAcceptQueue(uint16_t port) {
    std::vector<int> sockets;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    for (int i = 0; i < 16; ++i) {
        int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        sockets.push_back(fd);
        if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
            continue;
        pollfd entry{fd, POLLOUT, 0};
        if (poll(&entry, 1, 200) == 0)
            break; // the queue is full: this one stays pending
    }
    return sockets;
}

int OpenFdCount() {
    int count = 0;
    DIR* dir = opendir("/proc/self/fd");
    while (dirent* entry = readdir(dir)) {
        if (entry->d_name[0] != '.')
            ++count;
    }
    closedir(dir);
    return count - 1; // the directory's own descriptor
}

uint32_t OpenEndpoint() {
    kti_info info{};
    uint32_t handle = 0;
    if (g_kelto.kti_open("TCP", 3, &info, &handle) != 0)
        return 0;
    if (g_kelto.kti_bind(handle, nullptr, nullptr) != 0 ||
        g_kelto.kti_SetAbortCheck(handle, TestAbortCheck) != 0) {
        g_kelto.kti_close(handle);
        return 0;
    }
    return handle;
}

int32_t ConnectEndpoint(uint32_t handle, const kti_inaddr& to) {
    kti_inaddr target = to;
    kti_inaddr peer{};
    kti_call request{};
    request.address = {sizeof target, sizeof target, &target};
    kti_call reply{};
    reply.address = {sizeof peer, 0, &peer};
    int32_t status = g_kelto.kti_connect(handle, &request, &reply);
    if (status != KTI_INPROGRESS)
        return status;
    kti_waitrec record{};
    record.handle = handle;
    record.request = 1;
    int32_t ready = 0;
    do {
        status = g_kelto.kti_wait(120000, &record, &ready);
    } while (status == 0 && ready == 0);
    if (status != 0)
        return status;
    if (record.status != 0)
        return record.status;
    if ((record.events & 3) == 0)
        return 0;
    return g_kelto.kti_rcvconnect(handle, nullptr);
}

std::string ErrorText(int32_t status) {
    kti_errrec record{};
    record.status = status;
    g_kelto.kti_errinfo(0, &record);
    char text[200] = {};
    g_kelto.kti_errtext(0, &record, sizeof text, text);
    return text;
}

int32_t MapName(uint32_t handle, int32_t kind, const std::string& name, kti_inaddr& address) {
    auto text = std::make_unique<char[]>(name.size());
    std::memcpy(text.get(), name.data(), name.size());
    kti_buffer nameBuffer{0xDEADBEEF, static_cast<uint32_t>(name.size()), text.get()};
    kti_buffer addressBuffer{0xDEADBEEF, sizeof address, &address};
    return g_kelto.kti_mapaddr(handle, kind, &nameBuffer, &addressBuffer, nullptr, nullptr);
}
