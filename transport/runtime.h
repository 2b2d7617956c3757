// The program's binding to the Kelto runtime library: loading it, finding each
// operation by its ordinal, and the four runtime-level operations.
#pragma once

#include "kelto/kelto.h"

#include <cstdint>
#include <string>

// Every operation of the runtime, bound by ordinal. RuntimeStartup fills it;
// tests may install operations of their own.
struct KeltoApi {
    kti_runtime_startup_fn RuntimeStartup;
    kti_runtime_shutdown_fn RuntimeShutdown;
    kti_runtime_thread_attach_fn RuntimeThreadAttach;
    kti_runtime_thread_detach_fn RuntimeThreadDetach;
    kti_init_fn kti_init;
    kti_term_fn kti_term;
    kti_open_fn kti_open;
    kti_bind_fn kti_bind;
    kti_setabortcheck_fn kti_SetAbortCheck;
    kti_setparam_fn kti_setparam;
    kti_getflags_fn kti_getflags;
    kti_mapaddr_fn kti_mapaddr;
    kti_fill_fn kti_fill;
    kti_setmode_fn kti_setmode;
    kti_connect_fn kti_connect;
    kti_wait_fn kti_wait;
    kti_rcvconnect_fn kti_rcvconnect;
    kti_sndrel_fn kti_sndrel;
    kti_close_fn kti_close;
    kti_errinfo_fn kti_errinfo;
    kti_errtext_fn kti_errtext;
};

extern KeltoApi g_kelto;

// Loads the library (the executable's own directory first, then the standard
// library path), binds every ordinal and calls the runtime's start-up. Only
// the low 16 bits count; non-zero when the library or an ordinal is missing or
// the runtime refuses.
uint16_t RuntimeStartup();
void RuntimeShutdown();
uint16_t RuntimeThreadAttach();
void RuntimeThreadDetach();

// Binds g_kelto from the library at this path; false when it cannot be loaded
// or lacks an ordinal (g_kelto is then left empty). RuntimeStartup uses it.
bool BindRuntimeLibrary(const std::string& path);
