// The system tick counter.
#pragma once

#include <cstdint>

// Milliseconds since the system started, 32 bits, wrapping. A duration is the
// difference of two readings in unsigned 32-bit arithmetic.
uint32_t GetTickCount();
