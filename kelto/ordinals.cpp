#include "kelto/operations.h"

namespace {

template <class Fn> void* Entry(Fn* fn) {
    return reinterpret_cast<void*>(fn);
}

} // namespace

extern "C" __attribute__((visibility("default"))) void* kelto_ordinal(uint32_t ordinal) {
    switch (ordinal) {
    case KELTO_RUNTIME_STARTUP:
        return Entry(KeltoRuntimeStartup);
    case KELTO_RUNTIME_SHUTDOWN:
        return Entry(KeltoRuntimeShutdown);
    case KELTO_RUNTIME_THREAD_ATTACH:
        return Entry(KeltoRuntimeThreadAttach);
    case KELTO_RUNTIME_THREAD_DETACH:
        return Entry(KeltoRuntimeThreadDetach);
    case KELTO_KTI_BIND:
        return Entry(kti_bind);
    case KELTO_KTI_TERM:
        return Entry(kti_term);
    case KELTO_KTI_CLOSE:
        return Entry(kti_close);
    case KELTO_KTI_CONNECT:
        return Entry(kti_connect);
    case KELTO_KTI_ERRINFO:
        return Entry(kti_errinfo);
    case KELTO_KTI_ERRTEXT:
        return Entry(kti_errtext);
    case KELTO_KTI_INIT:
        return Entry(kti_init);
    case KELTO_KTI_OPEN:
        return Entry(kti_open);
    case KELTO_KTI_SETMODE:
        return Entry(kti_setmode);
    case KELTO_KTI_GETFLAGS:
        return Entry(kti_getflags);
    case KELTO_KTI_WAIT:
        return Entry(kti_wait);
    case KELTO_KTI_RCVCONNECT:
        return Entry(kti_rcvconnect);
    case KELTO_KTI_MAPADDR:
        return Entry(kti_mapaddr);
    case KELTO_KTI_SNDREL:
        return Entry(kti_sndrel);
    case KELTO_KTI_SETABORTCHECK:
        return Entry(kti_SetAbortCheck);
    case KELTO_KTI_FILL:
        return Entry(kti_fill);
    case KELTO_KTI_SETPARAM:
        return Entry(kti_setparam);
    default:
        return nullptr;
    }
}
