// The services the user can pick, each with its well-known port, and the text
// form of a port.
#pragma once

#include "framework/afx_types.h"

#include <cstdint>

struct ServiceEntry {
    const char* text;
    uint32_t port; // 0: "Other", the port is typed by hand
};

extern const ServiceEntry kServices[20];

// The port's decimal digits; 0 gives "*".
CString FormatPort(uint32_t port);
