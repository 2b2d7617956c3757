// IsDottedText and the runtime's parsing of dotted addresses (kind 4100):
// any bytes straight into the runtime, and every text that IsDottedText
// takes for dotted through TransportResolve, as the probe run resolves it.
// Host names never go further: the runtime bound here ends the process at
// a lookup of any other kind.
#include "fuzz/fuzz_check.h"
#include "fuzz/in_process_runtime.h"
#include "transport/runtime.h"
#include "transport/transport.h"

#include <arpa/inet.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

uint32_t s_handle = 0;

// The runtime with the name in a buffer of exactly its length, no NUL after
// it; the address word on success, which nothing else in the record gets.
int32_t MapDotted(const std::string& text, uint32_t& address) {
    auto name = std::make_unique<char[]>(text.size());
    std::memcpy(name.get(), text.data(), text.size());
    kti_buffer nameBuffer{0, uint32_t(text.size()), name.get()};
    kti_inaddr record;
    std::memset(&record, 0xAB, sizeof record);
    kti_buffer addressBuffer{0, sizeof record, &record};
    const int32_t status = g_kelto.kti_mapaddr(s_handle, KTI_MAP_DOTTED, &nameBuffer,
                                               &addressBuffer, nullptr, nullptr);
    const auto* bytes = reinterpret_cast<const uint8_t*>(&record);
    for (size_t i = 0; i < sizeof record; ++i) {
        if (i < 4 || i >= 8 || status != 0)
            FUZZ_CHECK(bytes[i] == 0xAB);
    }
    address = record.address;
    return status;
}

// Four decimal parts of at most 255 without leading zeros: the one shape
// whose meaning is plain; -1 for any other text.
int64_t PlainQuad(const std::string& text) {
    uint32_t address = 0;
    size_t at = 0;
    for (int part = 0; part < 4; ++part) {
        size_t end = at;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9')
            ++end;
        const size_t digits = end - at;
        if (digits == 0 || digits > 3 || (digits > 1 && text[at] == '0'))
            return -1;
        const int value = std::stoi(text.substr(at, digits));
        if (value > 255)
            return -1;
        address |= uint32_t(value) << (8 * part); // lowest byte first in memory
        if (part < 3 && (end >= text.size() || text[end] != '.'))
            return -1;
        at = end + (part < 3 ? 1 : 0);
    }
    return at == text.size() ? int64_t(address) : -1;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    s_handle = StartInProcessRuntime();
    g_hTransport = s_handle;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const bool dotted = text.find_first_not_of("0123456789.") == std::string::npos;

    uint32_t address = 0;
    const int32_t status = MapDotted(text, address);
    if (!dotted)
        FUZZ_CHECK(status != 0);
    const int64_t plain = PlainQuad(text);
    if (plain >= 0)
        FUZZ_CHECK(status == 0 && address == uint32_t(plain));

    // What the address reads as, read again, is the same address.
    if (status == 0 && address != 0) {
        std::string again;
        FormatAddress(address, again);
        uint32_t reread = 0;
        FUZZ_CHECK(IsDottedText(again.c_str()) == 1);
        FUZZ_CHECK(MapDotted(again, reread) == 0 && reread == address);
    }

    // The C string the probe run hands over ends at the first NUL.
    const std::string host = text.substr(0, text.find('\0'));
    const int isDotted = IsDottedText(host.c_str());
    FUZZ_CHECK(isDotted == (host.find_first_not_of("0123456789.") == std::string::npos));
    if (!isDotted)
        return 0;
    const uint16_t port = size >= 2 ? uint16_t(data[0] << 8 | data[size - 1]) : 80;
    std::memset(&g_addrTarget, 0xCD, sizeof g_addrTarget);
    const uint32_t earlier = g_addrTarget.address;
    const int32_t resolved = TransportResolve(host.c_str(), port);
    FUZZ_CHECK(g_addrTarget.family == 2 && g_addrTarget.port == htons(port));
    uint32_t direct = 0;
    FUZZ_CHECK((resolved == 0) == (MapDotted(host, direct) == 0));
    FUZZ_CHECK(g_addrTarget.address == (resolved == 0 ? direct : earlier));
    return 0;
}
