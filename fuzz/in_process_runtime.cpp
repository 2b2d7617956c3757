#include "fuzz/in_process_runtime.h"

#include "fuzz/fuzz_check.h"
#include "transport/runtime.h"

extern "C" void* kelto_ordinal(uint32_t ordinal);

namespace {

template <class Fn> void Bind(Fn& slot, uint32_t ordinal) {
    slot = reinterpret_cast<Fn>(kelto_ordinal(ordinal));
    FUZZ_CHECK(slot != nullptr);
}

kti_mapaddr_fn s_mapaddr = nullptr;

int32_t DottedOnly(uint32_t handle, int32_t kind, kti_buffer* name, kti_buffer* address,
                   void* reserved1, void* reserved2) {
    FUZZ_CHECK(kind == KTI_MAP_DOTTED);
    return s_mapaddr(handle, kind, name, address, reserved1, reserved2);
}

} // namespace

uint32_t StartInProcessRuntime() {
    KeltoApi& api = g_kelto;
    Bind(api.RuntimeStartup, KELTO_RUNTIME_STARTUP);
    Bind(api.RuntimeShutdown, KELTO_RUNTIME_SHUTDOWN);
    Bind(api.RuntimeThreadAttach, KELTO_RUNTIME_THREAD_ATTACH);
    Bind(api.RuntimeThreadDetach, KELTO_RUNTIME_THREAD_DETACH);
    Bind(api.kti_init, KELTO_KTI_INIT);
    Bind(api.kti_term, KELTO_KTI_TERM);
    Bind(api.kti_open, KELTO_KTI_OPEN);
    Bind(api.kti_bind, KELTO_KTI_BIND);
    Bind(api.kti_SetAbortCheck, KELTO_KTI_SETABORTCHECK);
    Bind(api.kti_setparam, KELTO_KTI_SETPARAM);
    Bind(api.kti_getflags, KELTO_KTI_GETFLAGS);
    Bind(api.kti_mapaddr, KELTO_KTI_MAPADDR);
    Bind(api.kti_fill, KELTO_KTI_FILL);
    Bind(api.kti_setmode, KELTO_KTI_SETMODE);
    Bind(api.kti_connect, KELTO_KTI_CONNECT);
    Bind(api.kti_wait, KELTO_KTI_WAIT);
    Bind(api.kti_rcvconnect, KELTO_KTI_RCVCONNECT);
    Bind(api.kti_sndrel, KELTO_KTI_SNDREL);
    Bind(api.kti_close, KELTO_KTI_CLOSE);
    Bind(api.kti_errinfo, KELTO_KTI_ERRINFO);
    Bind(api.kti_errtext, KELTO_KTI_ERRTEXT);
    s_mapaddr = api.kti_mapaddr;
    api.kti_mapaddr = DottedOnly;

    FUZZ_CHECK(api.RuntimeStartup() == 0);
    uint32_t context = 0;
    FUZZ_CHECK(api.kti_init(&context) == 0);
    kti_info info{};
    uint32_t handle = 0;
    FUZZ_CHECK(api.kti_open("TCP", 3, &info, &handle) == 0);
    return handle;
}
