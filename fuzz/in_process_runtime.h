// The runtime library's own code compiled into a fuzz target, bound into
// g_kelto without loading anything, so that the fuzzer sees its branches.
#pragma once

#include <cstdint>

// Binds every operation and opens one endpoint for the operations that need
// a handle; its handle. Name lookups are refused: any kti_mapaddr for a host
// name ends the process, so that no input ever reaches the system resolver.
uint32_t StartInProcessRuntime();
