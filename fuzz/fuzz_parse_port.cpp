// ParsePort against a reading of its own rules in 64-bit arithmetic: the
// result code, the value, and the value left alone after a refusal.
#include "fuzz/fuzz_check.h"
#include "probe/parse_port.h"

#include <cstdint>
#include <string>

namespace {

// 0 and the number, 1 on overflow, 2 on a non-digit: whichever comes first.
uint16_t Expected(const std::string& text, uint32_t& value) {
    uint64_t running = 0;
    for (unsigned char c : text) {
        if (c < '0' || c > '9')
            return 2;
        running = running * 10 + (c - '0');
        if (running > 0xFFFFFFFFu)
            return 1;
    }
    value = uint32_t(running);
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The parser reads up to the first NUL, as the C string it is given ends.
    std::string text(reinterpret_cast<const char*>(data), size);
    text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));

    const uint32_t before = size >= 4 ? uint32_t(data[0]) << 24 | uint32_t(data[size - 1]) : 77;
    uint32_t value = before;
    uint32_t expected = before;
    const uint16_t code = ParsePort(text.c_str(), value);
    FUZZ_CHECK(code == Expected(text, expected));
    FUZZ_CHECK(value == expected);
    return 0;
}
