#include "transport/runtime.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <type_traits>

KeltoApi g_kelto;

namespace {

// RuntimeStartup's and RuntimeThreadAttach's status when there is no library.
constexpr uint16_t kNoRuntime = 0xFFFF;

// The library currently bound into g_kelto.
void* g_hLibrary = nullptr;

// Calls bind(ordinal, slot) for every operation of the API.
template <class Bind> bool ForEachOrdinal(KeltoApi& api, Bind bind) {
    return bind(KELTO_RUNTIME_STARTUP, api.RuntimeStartup) &&
           bind(KELTO_RUNTIME_SHUTDOWN, api.RuntimeShutdown) &&
           bind(KELTO_RUNTIME_THREAD_ATTACH, api.RuntimeThreadAttach) &&
           bind(KELTO_RUNTIME_THREAD_DETACH, api.RuntimeThreadDetach) &&
           bind(KELTO_KTI_INIT, api.kti_init) && bind(KELTO_KTI_TERM, api.kti_term) &&
           bind(KELTO_KTI_OPEN, api.kti_open) && bind(KELTO_KTI_BIND, api.kti_bind) &&
           bind(KELTO_KTI_SETABORTCHECK, api.kti_SetAbortCheck) &&
           bind(KELTO_KTI_SETPARAM, api.kti_setparam) &&
           bind(KELTO_KTI_GETFLAGS, api.kti_getflags) && bind(KELTO_KTI_MAPADDR, api.kti_mapaddr) &&
           bind(KELTO_KTI_FILL, api.kti_fill) && bind(KELTO_KTI_SETMODE, api.kti_setmode) &&
           bind(KELTO_KTI_CONNECT, api.kti_connect) && bind(KELTO_KTI_WAIT, api.kti_wait) &&
           bind(KELTO_KTI_RCVCONNECT, api.kti_rcvconnect) &&
           bind(KELTO_KTI_SNDREL, api.kti_sndrel) && bind(KELTO_KTI_CLOSE, api.kti_close) &&
           bind(KELTO_KTI_ERRINFO, api.kti_errinfo) && bind(KELTO_KTI_ERRTEXT, api.kti_errtext);
}

bool IsComplete(KeltoApi& api) {
    return ForEachOrdinal(api, [](uint32_t, auto slot) { return slot != nullptr; });
}

void ReleaseLibrary() {
    g_kelto = KeltoApi{};
    if (g_hLibrary != nullptr)
        dlclose(g_hLibrary);
    g_hLibrary = nullptr;
}

// The directory of the running executable, with a trailing slash; empty when
// it cannot be found.
std::string ExecutableDirectory() {
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return {};
    std::string text(path, static_cast<size_t>(length));
    size_t slash = text.rfind('/');
    return slash == std::string::npos ? std::string() : text.substr(0, slash + 1);
}

} // namespace

bool BindRuntimeLibrary(const std::string& path) {
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        ReleaseLibrary();
        return false;
    }
    auto find = reinterpret_cast<kelto_ordinal_fn>(dlsym(library, KELTO_ORDINAL_SYMBOL));
    KeltoApi api{};
    bool bound = find != nullptr && ForEachOrdinal(api, [find](uint32_t ordinal, auto& slot) {
                     slot =
                         reinterpret_cast<std::remove_reference_t<decltype(slot)>>(find(ordinal));
                     return slot != nullptr;
                 });
    // Release the earlier library first: when it is this one, dlopen counted
    // it twice.
    ReleaseLibrary();
    if (!bound) {
        dlclose(library);
        return false;
    }
    g_kelto = api;
    g_hLibrary = library;
    return true;
}

uint16_t RuntimeStartup() {
    if (!IsComplete(g_kelto)) {
        std::string beside = ExecutableDirectory();
        bool bound = !beside.empty() && BindRuntimeLibrary(beside + KELTO_LIBRARY_NAME);
        if (!bound && !BindRuntimeLibrary(KELTO_LIBRARY_NAME))
            return kNoRuntime;
    }
    return static_cast<uint16_t>(g_kelto.RuntimeStartup() & 0xFFFF);
}

void RuntimeShutdown() {
    if (g_kelto.RuntimeShutdown != nullptr)
        g_kelto.RuntimeShutdown();
}

uint16_t RuntimeThreadAttach() {
    if (g_kelto.RuntimeThreadAttach == nullptr)
        return kNoRuntime;
    return static_cast<uint16_t>(g_kelto.RuntimeThreadAttach() & 0xFFFF);
}

void RuntimeThreadDetach() {
    if (g_kelto.RuntimeThreadDetach != nullptr)
        g_kelto.RuntimeThreadDetach();
}
