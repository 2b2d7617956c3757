// The plain types, constants and string of the framework, shared by the parts
// that need no window system (threads, tick counter, message-box hook) and the
// Qt-based rest.
#pragma once

#include <cstdint>
#include <string>

typedef int32_t BOOL;
typedef uint32_t UINT;
typedef uint32_t DWORD;
typedef uint64_t WPARAM;
typedef int64_t LPARAM;
typedef int64_t LRESULT;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef uintptr_t DWORD_PTR;

// Some C headers define these as macros of their own, with the same values.
#ifndef FALSE
constexpr BOOL FALSE = 0;
#endif
#ifndef TRUE
constexpr BOOL TRUE = 1;
#endif

// The framework's string: 8-bit text, released by scope.
typedef std::string CString;

// Opaque handles. An icon belongs to the resource registry and is never
// destroyed by its users; a device context lives as long as its CDC.
struct AfxIconResource;
typedef AfxIconResource* HICON;
typedef HICON HCURSOR;
struct AfxDeviceContext;
typedef AfxDeviceContext* HDC;

// The two 16-bit halves of a command's WPARAM: control id, notification code.
constexpr UINT LOWORD(uint64_t value) {
    return UINT(value & 0xFFFF);
}
constexpr UINT HIWORD(uint64_t value) {
    return UINT((value >> 16) & 0xFFFF);
}
constexpr WPARAM MAKEWPARAM(UINT low, UINT high) {
    return WPARAM((low & 0xFFFF) | ((high & 0xFFFF) << 16));
}

// Window messages.
enum : UINT {
    WM_PAINT = 0x000F,
    WM_CLOSE = 0x0010,
    WM_ICONERASEBKGND = 0x0027,
    WM_QUERYDRAGICON = 0x0037,
    WM_COMMAND = 0x0111,
    WM_SYSCOMMAND = 0x0112,
    WM_USER = 0x0400,
};

// System commands (WM_SYSCOMMAND); the low four bits are the system's own.
enum : UINT {
    SC_MINIMIZE = 0xF020,
    SC_CLOSE = 0xF060,
    SC_RESTORE = 0xF120,
};

// Notification codes of WM_COMMAND.
enum : UINT {
    BN_CLICKED = 0,
    CBN_KILLFOCUS = 4,
    CBN_EDITUPDATE = 6,
    CBN_SELENDOK = 9,
};

// Menu item flags.
enum : UINT {
    MF_STRING = 0x0000,
    MF_SEPARATOR = 0x0800,
};

// System metrics.
enum : int {
    SM_CXICON = 11,
    SM_CYICON = 12,
};

// Message-box styles and results.
enum : UINT {
    MB_OK = 0x00000000,
    MB_ICONSTOP = 0x00000010,
    MB_ICONERROR = MB_ICONSTOP,
    MB_ICONINFORMATION = 0x00000040,
    MB_ICONMASK = 0x000000F0,
};

enum : int {
    IDOK = 1,
    IDCANCEL = 2,
    IDC_STATIC = -1,
    CB_ERR = -1,
};

// The standard Help command.
enum : UINT {
    ID_HELP = 0xE146,
};
