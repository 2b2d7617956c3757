#include "transport/transport.h"

#include "transport/runtime.h"

#include <arpa/inet.h>
#include <cstdio>
#include <cstring>

std::atomic<int32_t> g_bAbort{0};

uint32_t g_hTransport;
uint32_t g_nTransportContext;
kti_inaddr g_addrTarget;
kti_call g_callReply;
kti_inaddr g_addrPeer;

namespace {

constexpr uint32_t FLAG_NO_LOOKUP = 0x80; // the runtime resolves by itself
constexpr int32_t CONNECT_WAIT_LIMIT_MS = 120000;
constexpr uint32_t WAIT_TAG = 0x44332211;
constexpr uint32_t EVENTS_TO_CONFIRM = 0x3; // readable, or connect confirmed

} // namespace

int32_t TransportInit() {
    return g_kelto.kti_init(&g_nTransportContext);
}

int32_t TransportTerm() {
    return g_kelto.kti_term();
}

int32_t TransportOpen() {
    kti_info info{}; // the runtime's; never read here
    int32_t status = g_kelto.kti_open("TCP", 3, &info, &g_hTransport);
    if (status != 0)
        return status;
    status = g_kelto.kti_bind(g_hTransport, nullptr, nullptr);
    if (status != 0) {
        // Nobody else would close it: the caller closes only what opened
        // cleanly.
        g_kelto.kti_close(g_hTransport);
        return status;
    }
    g_kelto.kti_SetAbortCheck(g_hTransport, AbortCheckProc);
    uint32_t param = 0; // the runtime's; never read here
    g_kelto.kti_setparam(g_hTransport, 500, &param);
    return 0;
}

int32_t TransportResolve(const char* host, uint16_t port) {
    uint32_t flags = 0;
    int32_t status = g_kelto.kti_getflags(g_hTransport, &flags);
    if (status == 0 && (flags & FLAG_NO_LOOKUP) != 0) {
        status = 0;
    } else {
        const int32_t kind = IsDottedText(host) ? KTI_MAP_DOTTED : KTI_MAP_HOSTNAME;
        kti_buffer name{};
        name.length = uint32_t(std::strlen(host));
        name.data = const_cast<char*>(host);
        kti_buffer address{};
        address.length = sizeof(g_addrTarget);
        address.data = &g_addrTarget;
        status = g_kelto.kti_mapaddr(g_hTransport, kind, &name, &address, nullptr, nullptr);
    }
    // Over whatever the runtime wrote there; the address field stays as it is.
    g_addrTarget.family = 2;
    g_addrTarget.port = htons(port);
    return status;
}

int32_t TransportConnect() {
    kti_call request{};
    request.address.capacity = sizeof(g_addrTarget);
    request.address.length = sizeof(g_addrTarget);
    request.address.data = &g_addrTarget;

    g_callReply = kti_call{};
    g_callReply.address.capacity = sizeof(g_addrPeer);
    g_callReply.address.data = &g_addrPeer;
    g_kelto.kti_fill(&g_addrPeer, sizeof(g_addrPeer), 0);

    g_kelto.kti_setmode(g_hTransport, 1);
    int32_t status = g_kelto.kti_connect(g_hTransport, &request, &g_callReply);
    if (status != KTI_INPROGRESS)
        return status;

    // Built once: the runtime reports into the same record on every round.
    kti_waitrec record{};
    record.handle = g_hTransport;
    record.request = 1;
    record.tag = WAIT_TAG;
    int32_t ready = 0;
    do {
        status = g_kelto.kti_wait(CONNECT_WAIT_LIMIT_MS, &record, &ready);
        if (status != 0)
            return status;
    } while (ready == 0);

    if (record.status != 0)
        return record.status;
    if ((record.events & EVENTS_TO_CONFIRM) == 0)
        return 0;
    return g_kelto.kti_rcvconnect(g_hTransport, nullptr);
}

int32_t TransportRelease() {
    return uint16_t(g_kelto.kti_sndrel(g_hTransport));
}

int32_t TransportClose() {
    return g_kelto.kti_close(g_hTransport);
}

int32_t TransportErrorText(int32_t status, char* buffer, int32_t size) {
    if (status < KTI_ERROR_BASE)
        return status; // no text; the buffer stays exactly as it was
    kti_errrec record{};
    record.status = status;
    g_kelto.kti_errinfo(g_hTransport, &record);
    return g_kelto.kti_errtext(g_hTransport, &record, uint16_t(size), buffer);
}

int IsDottedText(const char* text) {
    for (const char* p = text; *p != '\0'; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (!((c >= '0' && c <= '9') || c == '.'))
            return 0;
    }
    return 1;
}

uint32_t* GetTargetAddress(uint32_t* address) {
    *address = g_addrTarget.address;
    return address;
}

void FormatAddress(uint32_t address, std::string& text) {
    if (address == 0) {
        text = "*";
        return;
    }
    char buffer[16];
    std::snprintf(buffer, sizeof(buffer), "%u.%u.%u.%u", address & 0xFFu, (address >> 8) & 0xFFu,
                  (address >> 16) & 0xFFu, (address >> 24) & 0xFFu);
    text = buffer;
}

int32_t AbortCheckProc(int32_t) {
    return g_bAbort.load();
}
