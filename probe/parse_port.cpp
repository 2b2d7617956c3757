#include "probe/parse_port.h"

uint16_t ParsePort(const char* text, uint32_t& value) {
    uint32_t running = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (*p < '0' || *p > '9')
            return 2;
        if (running > 429496729u)
            return 1;
        const uint32_t digit = *p - '0';
        if (digit > 4294967295u - running * 10u)
            return 1;
        running = running * 10u + digit;
    }
    value = running;
    return 0;
}
