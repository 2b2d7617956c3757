// TCP endpoints over the system's non-blocking sockets.
#include "kelto/endpoint_table.h"
#include "kelto/operations.h"
#include "kelto/status.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstring>

namespace {

// The longest a wait blocks before it asks the abort-check routine again.
constexpr int kWaitSliceMs = 20;

using Clock = std::chrono::steady_clock;

// Reads an IPv4 address from a descriptor that must hold at least family,
// port and address.
int32_t ReadAddress(const kti_buffer& buffer, sockaddr_in& address) {
    if (buffer.data == nullptr || buffer.length < offsetof(kti_inaddr, zero))
        return SystemStatus(EINVAL);
    kti_inaddr in{};
    std::memcpy(&in, buffer.data, offsetof(kti_inaddr, zero));
    if (in.family != AF_INET)
        return SystemStatus(EAFNOSUPPORT);
    address = sockaddr_in{};
    address.sin_family = AF_INET;
    address.sin_port = in.port;
    address.sin_addr.s_addr = in.address;
    return 0;
}

// Fills a reply's address when the caller gave room for one.
void WriteAddress(kti_call* reply, const sockaddr_in& address) {
    if (reply == nullptr || reply->address.data == nullptr ||
        reply->address.capacity < sizeof(kti_inaddr))
        return;
    kti_inaddr in{};
    in.family = AF_INET;
    in.port = address.sin_port;
    in.address = address.sin_addr.s_addr;
    std::memcpy(reply->address.data, &in, sizeof in);
    reply->address.length = sizeof in;
}

int PendingError(int fd) {
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        return errno;
    return error;
}

// Polls for the end of a connect in short slices, asking the abort check
// before each one. 0 with ready 0 when the limit passes first.
int32_t WaitForConnect(const Endpoint& endpoint, uint32_t handle, int32_t limitMs,
                       kti_waitrec& record, int32_t& ready) {
    const bool forever = limitMs < 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(limitMs);
    for (;;) {
        if (endpoint.closed)
            return SystemStatus(EBADF);
        if (endpoint.AbortRequested(handle))
            return SystemStatus(ECANCELED);
        int slice = kWaitSliceMs;
        if (!forever) {
            auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            slice = static_cast<int>(std::clamp<long long>(left.count(), 0, kWaitSliceMs));
        }
        pollfd entry{endpoint.fd, POLLOUT, 0};
        int count = poll(&entry, 1, slice);
        if (count < 0 && errno != EINTR)
            return SystemStatus(errno);
        if (count > 0) {
            int error = PendingError(endpoint.fd);
            record.status = error == 0 ? 0 : SystemStatus(error);
            record.events = error == 0 ? 2 : 0;
            ready = 1;
            return 0;
        }
        if (!forever && Clock::now() >= deadline)
            return 0;
    }
}

} // namespace

extern "C" {

int32_t kti_init(uint32_t* context) {
    if (context != nullptr)
        *context = 0;
    return 0;
}

// Closes every endpoint still open, such as a cancelled attempt's.
int32_t kti_term(void) {
    EndpointTable::Instance().RemoveAll();
    return 0;
}

int32_t kti_open(const char* protocol, int32_t, kti_info* info, uint32_t* handle) {
    if (protocol == nullptr || handle == nullptr)
        return SystemStatus(EINVAL);
    if (std::strcmp(protocol, "TCP") != 0)
        return SystemStatus(EPROTONOSUPPORT);
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return SystemStatus(errno);
    uint32_t opened = EndpointTable::Instance().Add(fd);
    if (opened == 0)
        return SystemStatus(ENOMEM);
    if (info != nullptr) {
        *info = kti_info{};
        info->words[0] = sizeof(kti_inaddr); // the size of an address
    }
    *handle = opened;
    return 0;
}

// Binds to the request's address, or to any local address without one. The
// port of an any-port bind is chosen only at connect time, so that many
// endpoints in a row do not each hold an ephemeral port of their own.
int32_t kti_bind(uint32_t handle, kti_call* request, kti_call* reply) {
    auto endpoint = EndpointTable::Instance().Find(handle);
    if (!endpoint)
        return SystemStatus(EBADF);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (request != nullptr && request->address.data != nullptr) {
        if (int32_t status = ReadAddress(request->address, local))
            return status;
    }
    if (local.sin_port == 0) {
        int on = 1;
        // Not every kernel has the option; the bind then takes a port at once.
        setsockopt(endpoint->fd, IPPROTO_IP, IP_BIND_ADDRESS_NO_PORT, &on, sizeof on);
    }
    if (bind(endpoint->fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0)
        return SystemStatus(errno);
    socklen_t length = sizeof local;
    if (getsockname(endpoint->fd, reinterpret_cast<sockaddr*>(&local), &length) == 0)
        WriteAddress(reply, local);
    return 0;
}

int32_t kti_SetAbortCheck(uint32_t handle, kti_abortcheck check) {
    auto endpoint = EndpointTable::Instance().Find(handle);
    if (!endpoint)
        return SystemStatus(EBADF);
    endpoint->abortCheck = check;
    return 0;
}

// No parameter changes anything here. The value word is not read: callers
// pass a word they never set.
int32_t kti_setparam(uint32_t handle, int32_t, uint32_t*) {
    return EndpointTable::Instance().Find(handle) ? 0 : SystemStatus(EBADF);
}

// Every endpoint is non-blocking already; the mode changes nothing.
int32_t kti_setmode(uint32_t handle, int32_t) {
    return EndpointTable::Instance().Find(handle) ? 0 : SystemStatus(EBADF);
}

// This runtime has no flags: in particular never bit 7, so callers always
// make their own lookup.
int32_t kti_getflags(uint32_t handle, uint32_t* flags) {
    if (flags == nullptr)
        return SystemStatus(EINVAL);
    *flags = 0;
    return EndpointTable::Instance().Find(handle) ? 0 : SystemStatus(EBADF);
}

int32_t kti_fill(void* area, int32_t length, int32_t value) {
    if (length < 0 || (area == nullptr && length > 0))
        return SystemStatus(EINVAL);
    if (length > 0)
        std::memset(area, value, static_cast<size_t>(length));
    return 0;
}

int32_t kti_connect(uint32_t handle, kti_call* request, kti_call* reply) {
    auto endpoint = EndpointTable::Instance().Find(handle);
    if (!endpoint)
        return SystemStatus(EBADF);
    if (request == nullptr)
        return SystemStatus(EINVAL);
    sockaddr_in peer{};
    if (int32_t status = ReadAddress(request->address, peer))
        return status;
    if (connect(endpoint->fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer) != 0) {
        // An interrupted connect goes on in the background, like a pending one.
        if (errno == EINPROGRESS || errno == EINTR)
            return KTI_INPROGRESS;
        return SystemStatus(errno);
    }
    WriteAddress(reply, peer);
    return 0;
}

int32_t kti_wait(int32_t limitMs, kti_waitrec* record, int32_t* ready) {
    if (record == nullptr || ready == nullptr)
        return SystemStatus(EINVAL);
    *ready = 0;
    if (record->request != 1)
        return SystemStatus(EINVAL);
    auto endpoint = EndpointTable::Instance().Find(record->handle);
    if (!endpoint)
        return SystemStatus(EBADF);
    return WaitForConnect(*endpoint, record->handle, limitMs, *record, *ready);
}

int32_t kti_rcvconnect(uint32_t handle, kti_call* reply) {
    auto endpoint = EndpointTable::Instance().Find(handle);
    if (!endpoint)
        return SystemStatus(EBADF);
    if (int error = PendingError(endpoint->fd))
        return SystemStatus(error);
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    if (getpeername(endpoint->fd, reinterpret_cast<sockaddr*>(&peer), &length) != 0)
        return SystemStatus(errno);
    WriteAddress(reply, peer);
    return 0;
}

int32_t kti_sndrel(uint32_t handle) {
    auto endpoint = EndpointTable::Instance().Find(handle);
    if (!endpoint)
        return SystemStatus(EBADF);
    if (shutdown(endpoint->fd, SHUT_WR) != 0)
        return SystemStatus(errno);
    return 0;
}

int32_t kti_close(uint32_t handle) {
    return EndpointTable::Instance().Remove(handle) ? 0 : SystemStatus(EBADF);
}

} // extern "C"
