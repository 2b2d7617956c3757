// The port parser of Connect.
#pragma once

#include <cstdint>

// Reads a decimal number that fits in 32 bits: 0 and the number in value (an
// empty text gives 0 and 0); 1 when the number exceeds 4294967295; 2 at a
// character that is not a decimal digit. After 1 or 2 value is unchanged.
// Whichever fault comes first from the left decides the code.
uint16_t ParsePort(const char* text, uint32_t& value);
