// The plain types, constants and string of the framework, shared by the parts
// that need no window system (threads, tick counter, message-box hook) and the
// Qt-based rest.
#pragma once

#include <cstdint>
#include <string>

typedef int32_t BOOL;
typedef uint32_t UINT;
typedef uint64_t WPARAM;
typedef int64_t LPARAM;
typedef int64_t LRESULT;

// The framework's string: 8-bit text, released by scope.
typedef std::string CString;

enum : UINT {
    WM_USER = 0x0400,
};

// Message-box styles and results.
enum : UINT {
    MB_OK = 0x00000000,
    MB_ICONSTOP = 0x00000010,
    MB_ICONERROR = MB_ICONSTOP,
    MB_ICONINFORMATION = 0x00000040,
};

enum : int {
    IDOK = 1,
    IDCANCEL = 2,
};
