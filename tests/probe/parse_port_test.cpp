#include "probe/parse_port.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* text;
    uint16_t code;
    uint32_t value; // what value holds afterwards; it starts at 777
};

const Case kCases[] = {
    {"80", 0, 80},
    {"0080", 0, 80},
    {"", 0, 0},
    {"0", 0, 0},
    {"65535", 0, 65535},
    {"4294967295", 0, 4294967295u},
    {"4294967296", 1, 777},
    {"4294967300", 1, 777},
    {"42949672950", 1, 777},
    {"12a", 2, 777},
    {"99999999999a", 1, 777}, // the overflow comes before the letter
    {"a99999999999", 2, 777},
    {" 80", 2, 777},
    {"+80", 2, 777},
    {"-80", 2, 777},
    {"80 ", 2, 777},
    {"8\xb0", 2, 777}, // a byte above 127
};

TEST(ParsePort, Cases) {
    for (const Case& c : kCases) {
        uint32_t value = 777;
        EXPECT_EQ(ParsePort(c.text, value), c.code) << '"' << c.text << '"';
        EXPECT_EQ(value, c.value) << '"' << c.text << '"';
    }
}

} // namespace
