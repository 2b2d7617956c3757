// Name lookup: dotted addresses parsed here, host names through the system's
// resolver, which can hang for many seconds when a name server never answers.
#include "kelto/endpoint_table.h"
#include "kelto/operations.h"
#include "kelto/status.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <system_error>
#include <thread>

namespace {

// Longer names are no host name; they are refused before any lookup.
constexpr uint32_t kMaxNameLength = 1024;
constexpr auto kAbortSlice = std::chrono::milliseconds(20);

// Digits and dots only, then the C library's classic rules: one to four
// parts, octal with a leading 0, the last part filling the remaining bytes.
int32_t ParseDotted(const std::string& text, uint32_t& address) {
    if (text.find_first_not_of("0123456789.") != std::string::npos)
        return KTI_BAD_DOTTED;
    in_addr parsed{};
    if (inet_aton(text.c_str(), &parsed) == 0)
        return KTI_BAD_DOTTED;
    address = parsed.s_addr;
    return 0;
}

int32_t LookupStatus(int result, int error) {
    switch (result) {
    case 0:
        return 0;
    case EAI_NONAME:
    case EAI_NODATA:
    case EAI_ADDRFAMILY:
        return KTI_HOST_NOT_FOUND;
    case EAI_AGAIN:
        return KTI_LOOKUP_TRY_AGAIN;
    case EAI_MEMORY:
        return SystemStatus(ENOMEM);
    case EAI_SYSTEM:
        return error != 0 ? SystemStatus(error) : KTI_LOOKUP_FAILED;
    default:
        return KTI_LOOKUP_FAILED;
    }
}

// What the resolver thread hands back. Shared by both sides, so whichever
// finishes last frees it: a lookup abandoned by its caller can still answer.
struct Lookup {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    int32_t status = 0;
    uint32_t address = 0;
};

void Resolve(const std::shared_ptr<Lookup>& lookup, const std::string& name) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* answers = nullptr;
    int result = getaddrinfo(name.c_str(), nullptr, &hints, &answers);
    int32_t status = LookupStatus(result, errno);
    uint32_t address = 0;
    if (status == 0 && answers != nullptr && answers->ai_addr != nullptr)
        address = reinterpret_cast<const sockaddr_in*>(answers->ai_addr)->sin_addr.s_addr;
    else if (status == 0)
        status = KTI_HOST_NOT_FOUND;
    if (answers != nullptr)
        freeaddrinfo(answers);
    std::lock_guard lock(lookup->mutex);
    lookup->status = status;
    lookup->address = address;
    lookup->finished = true;
    lookup->done.notify_all();
}

// The first IPv4 address of a host name. The resolver runs on a thread of its
// own so that the caller can give up on it every slice when the abort check
// asks to.
int32_t LookUpHostName(const std::string& name, const Endpoint& endpoint, uint32_t handle,
                       uint32_t& address) {
    if (endpoint.AbortRequested(handle))
        return SystemStatus(ECANCELED);
    std::shared_ptr<Lookup> lookup;
    try {
        lookup = std::make_shared<Lookup>();
        std::thread(Resolve, lookup, name).detach();
    } catch (const std::bad_alloc&) {
        return SystemStatus(ENOMEM);
    } catch (const std::system_error&) {
        return SystemStatus(EAGAIN);
    }
    std::unique_lock lock(lookup->mutex);
    while (!lookup->done.wait_for(lock, kAbortSlice, [&] { return lookup->finished; })) {
        lock.unlock();
        bool abort = endpoint.AbortRequested(handle);
        lock.lock();
        if (abort && !lookup->finished)
            return SystemStatus(ECANCELED);
    }
    if (lookup->status == 0)
        address = lookup->address;
    return lookup->status;
}

bool ValidDescriptors(const kti_buffer* name, const kti_buffer* address) {
    // The caller fills in neither descriptor's capacity, so only length counts.
    return name != nullptr && (name->data != nullptr || name->length == 0) && address != nullptr &&
           address->data != nullptr && address->length >= offsetof(kti_inaddr, zero);
}

} // namespace

extern "C" {

// Writes the address, in network byte order, at offset 4 of the address
// descriptor's data; nothing else there is touched.
int32_t kti_mapaddr(uint32_t handle, int32_t kind, kti_buffer* name, kti_buffer* address, void*,
                    void*) {
    auto endpoint = EndpointTable::Instance().Find(handle);
    if (!endpoint)
        return SystemStatus(EBADF);
    if (!ValidDescriptors(name, address) || (kind != KTI_MAP_DOTTED && kind != KTI_MAP_HOSTNAME))
        return SystemStatus(EINVAL);
    if (name->length > kMaxNameLength)
        return SystemStatus(ENAMETOOLONG);
    std::string text;
    try {
        text.assign(static_cast<const char*>(name->data), name->length);
    } catch (const std::bad_alloc&) {
        return SystemStatus(ENOMEM);
    }
    uint32_t found = 0;
    int32_t status = 0;
    if (text.find('\0') != std::string::npos)
        status = kind == KTI_MAP_DOTTED ? KTI_BAD_DOTTED : KTI_HOST_NOT_FOUND;
    else if (kind == KTI_MAP_DOTTED)
        status = ParseDotted(text, found);
    else
        status = LookUpHostName(text, *endpoint, handle, found);
    if (status == 0)
        std::memcpy(static_cast<char*>(address->data) + offsetof(kti_inaddr, address), &found,
                    sizeof found);
    return status;
}

} // extern "C"
