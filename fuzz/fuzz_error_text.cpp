// The runtime's error texts through TransportErrorText, with any status and
// any buffer size, the buffer exactly that large: no status below 0x1000
// touches it, and every other text ends with its NUL inside it.
#include "fuzz/fuzz_check.h"
#include "fuzz/in_process_runtime.h"
#include "transport/runtime.h"
#include "transport/transport.h"

#include <cstring>
#include <memory>

namespace {

constexpr char kUntouched = '\x5A';

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_hTransport = StartInProcessRuntime();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 6)
        return 0;
    int32_t status = 0;
    std::memcpy(&status, data, sizeof status);
    const uint16_t length = uint16_t(data[4] | data[5] << 8);
    // The rest chooses the handle the record is asked for: the open one or
    // any other.
    if (size >= 10)
        std::memcpy(&g_hTransport, data + 6, sizeof g_hTransport);

    auto buffer = std::make_unique<char[]>(length);
    std::memset(buffer.get(), kUntouched, length);
    const int32_t result = TransportErrorText(status, buffer.get(), length);

    bool untouched = true;
    for (size_t i = 0; i < length; ++i)
        untouched = untouched && buffer[i] == kUntouched;
    if (status < KTI_ERROR_BASE) {
        FUZZ_CHECK(result == status);
        FUZZ_CHECK(untouched);
    } else if (length == 0) {
        FUZZ_CHECK(result != 0);
    } else {
        FUZZ_CHECK(result == 0);
        FUZZ_CHECK(std::memchr(buffer.get(), '\0', length) != nullptr);
        FUZZ_CHECK(length == 1 || buffer[0] != '\0');
    }

    // A record asked for with no buffer at all is refused, not written.
    kti_errrec record{};
    record.status = status;
    g_kelto.kti_errinfo(g_hTransport, &record);
    FUZZ_CHECK(g_kelto.kti_errtext(g_hTransport, &record, 0, nullptr) != 0);
    return 0;
}
