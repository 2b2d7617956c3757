// The runtime's failure statuses. Every one is KTI_ERROR_BASE or more, so the
// caller asks kti_errtext for its text.
#pragma once

#include "kelto/kelto.h"

#include <cstdint>

// A failure of a system call: the base plus the errno value.
inline int32_t SystemStatus(int error) {
    return KTI_ERROR_BASE + error;
}

// Name lookup failures that have no errno value of their own.
enum : int32_t {
    KTI_LOOKUP_BASE = 0x2000,
    KTI_HOST_NOT_FOUND = KTI_LOOKUP_BASE + 1,
    KTI_LOOKUP_TRY_AGAIN = KTI_LOOKUP_BASE + 2,
    KTI_LOOKUP_FAILED = KTI_LOOKUP_BASE + 3,
    KTI_BAD_DOTTED = KTI_LOOKUP_BASE + 4,
};

// The fixed user-facing text of a status; null when the status has none.
const char* StatusText(int32_t status);
