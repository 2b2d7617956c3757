// The Kelto runtime library's one public header: its records, the ordinals of
// its operations and their signatures. The library is loaded at run time and
// never linked; a caller finds each operation with kelto_ordinal().
#pragma once

#include <cstdint>

extern "C" {

// A length-described byte area.
struct kti_buffer {
    uint32_t capacity;
    uint32_t length;
    void* data;
};

// A connection request or reply: the peer's address, options, user data and a
// sequence word.
struct kti_call {
    kti_buffer address;
    kti_buffer options;
    kti_buffer udata;
    uint32_t sequence;
};

// One endpoint to wait on, and what the wait found on it.
struct kti_waitrec {
    uint32_t handle;
    uint32_t request; // 1: a connect to complete
    uint32_t events;  // bit 0: readable, bit 1: connect confirmed
    int32_t status;   // non-zero: the operation failed with this status
    uint32_t tag;
    uint32_t reserved[6];
};
static_assert(sizeof(kti_waitrec) == 44);

// Error information; only `status` is meaningful to callers.
struct kti_errrec {
    uint32_t word0;
    int32_t status;
    uint32_t word2;
    uint32_t word3;
    uint32_t word4;
};
static_assert(sizeof(kti_errrec) == 20);

// The endpoint information area that kti_open fills; callers do not read it.
struct kti_info {
    uint32_t words[8];
};

// IPv4 socket address as the runtime reads and writes it.
struct kti_inaddr {
    uint16_t family; // 2
    uint16_t port;   // network byte order
    uint32_t address; // network byte order
    uint8_t zero[8];
};
static_assert(sizeof(kti_inaddr) == 16);

// Polled while an operation blocks; non-zero abandons the operation.
typedef int32_t (*kti_abortcheck)(int32_t);

enum : uint32_t {
    KELTO_RUNTIME_STARTUP = 11,
    KELTO_RUNTIME_SHUTDOWN = 13,
    KELTO_RUNTIME_THREAD_ATTACH = 16,
    KELTO_RUNTIME_THREAD_DETACH = 17,
    KELTO_KTI_BIND = 3303,
    KELTO_KTI_TERM = 3304,
    KELTO_KTI_CLOSE = 3305,
    KELTO_KTI_CONNECT = 3306,
    KELTO_KTI_ERRINFO = 3308,
    KELTO_KTI_ERRTEXT = 3310,
    KELTO_KTI_INIT = 3316,
    KELTO_KTI_OPEN = 3320,
    KELTO_KTI_SETMODE = 3321,
    KELTO_KTI_GETFLAGS = 3323,
    KELTO_KTI_WAIT = 3324,
    KELTO_KTI_RCVCONNECT = 3326,
    KELTO_KTI_MAPADDR = 3329,
    KELTO_KTI_SNDREL = 3332,
    KELTO_KTI_SETABORTCHECK = 3334,
    KELTO_KTI_FILL = 3422,
    KELTO_KTI_SETPARAM = 3425,
};

// Statuses with a meaning of their own; every status from KTI_ERROR_BASE up
// has a text from kti_errtext.
enum : int32_t {
    KTI_OK = 0,
    KTI_INPROGRESS = 13,
    KTI_ERROR_BASE = 0x1000,
};

// Name kinds of kti_mapaddr.
enum : int32_t {
    KTI_MAP_HOSTNAME = 4098, // first IPv4 address of a host name
    KTI_MAP_DOTTED = 4100,   // digits and dots
};

typedef int32_t (*kti_runtime_startup_fn)(void);
typedef int32_t (*kti_runtime_shutdown_fn)(void);
typedef int32_t (*kti_runtime_thread_attach_fn)(void);
typedef int32_t (*kti_runtime_thread_detach_fn)(void);
typedef int32_t (*kti_init_fn)(uint32_t* context);
typedef int32_t (*kti_term_fn)(void);
typedef int32_t (*kti_open_fn)(const char* protocol, int32_t flags, kti_info* info,
                               uint32_t* handle);
typedef int32_t (*kti_bind_fn)(uint32_t handle, kti_call* request, kti_call* reply);
typedef int32_t (*kti_setabortcheck_fn)(uint32_t handle, kti_abortcheck check);
typedef int32_t (*kti_setparam_fn)(uint32_t handle, int32_t param, uint32_t* value);
typedef int32_t (*kti_getflags_fn)(uint32_t handle, uint32_t* flags);
typedef int32_t (*kti_mapaddr_fn)(uint32_t handle, int32_t kind, kti_buffer* name,
                                  kti_buffer* address, void* reserved1, void* reserved2);
typedef int32_t (*kti_fill_fn)(void* area, int32_t length, int32_t value);
typedef int32_t (*kti_setmode_fn)(uint32_t handle, int32_t mode);
typedef int32_t (*kti_connect_fn)(uint32_t handle, kti_call* request, kti_call* reply);
typedef int32_t (*kti_wait_fn)(int32_t limit_ms, kti_waitrec* record, int32_t* ready);
typedef int32_t (*kti_rcvconnect_fn)(uint32_t handle, kti_call* reply);
typedef int32_t (*kti_sndrel_fn)(uint32_t handle);
typedef int32_t (*kti_close_fn)(uint32_t handle);
typedef int32_t (*kti_errinfo_fn)(uint32_t handle, kti_errrec* record);
typedef int32_t (*kti_errtext_fn)(uint32_t handle, kti_errrec* record, uint16_t size,
                                  char* buffer);

// The library's one exported symbol: the operation with this ordinal, or null.
typedef void* (*kelto_ordinal_fn)(uint32_t ordinal);
#define KELTO_ORDINAL_SYMBOL "kelto_ordinal"
#define KELTO_LIBRARY_NAME "libkelto.so"

} // extern "C"
