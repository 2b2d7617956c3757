// A stand-in runtime library for the binding's tests, steered by environment
// variables read at each call:
//   KC_FAKE_MISSING_ORDINAL  the ordinal kelto_ordinal does not know
//   KC_FAKE_STARTUP_STATUS   what the runtime start-up returns (default 0)
//   KC_FAKE_ATTACH_STATUS    what the thread attach returns (default 0)
#include "kelto/kelto.h"

#include <cstdlib>

namespace {

uint32_t Setting(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? static_cast<uint32_t>(std::strtoul(value, nullptr, 0)) : 0;
}

extern "C" int32_t FakeStartup(void) {
    return static_cast<int32_t>(Setting("KC_FAKE_STARTUP_STATUS"));
}

extern "C" int32_t FakeAttach(void) {
    return static_cast<int32_t>(Setting("KC_FAKE_ATTACH_STATUS"));
}

// Stands in for every other operation; the binding's tests never call them.
extern "C" int32_t FakeNothing(void) {
    return 0;
}

const uint32_t kOtherOrdinals[] = {
    KELTO_RUNTIME_SHUTDOWN,  KELTO_RUNTIME_THREAD_DETACH,
    KELTO_KTI_BIND,          KELTO_KTI_TERM,
    KELTO_KTI_CLOSE,         KELTO_KTI_CONNECT,
    KELTO_KTI_ERRINFO,       KELTO_KTI_ERRTEXT,
    KELTO_KTI_INIT,          KELTO_KTI_OPEN,
    KELTO_KTI_SETMODE,       KELTO_KTI_GETFLAGS,
    KELTO_KTI_WAIT,          KELTO_KTI_RCVCONNECT,
    KELTO_KTI_MAPADDR,       KELTO_KTI_SNDREL,
    KELTO_KTI_SETABORTCHECK, KELTO_KTI_FILL,
    KELTO_KTI_SETPARAM,
};

} // namespace

extern "C" __attribute__((visibility("default"))) void* kelto_ordinal(uint32_t ordinal) {
    if (ordinal == Setting("KC_FAKE_MISSING_ORDINAL"))
        return nullptr;
    if (ordinal == KELTO_RUNTIME_STARTUP)
        return reinterpret_cast<void*>(FakeStartup);
    if (ordinal == KELTO_RUNTIME_THREAD_ATTACH)
        return reinterpret_cast<void*>(FakeAttach);
    for (uint32_t other : kOtherOrdinals) {
        if (ordinal == other)
            return reinterpret_cast<void*>(FakeNothing);
    }
    return nullptr;
}
