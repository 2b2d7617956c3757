// Runtime start-up and thread attachment. The TCP transport keeps no per-run
// or per-thread state outside its endpoint table, so there is nothing to set up
// here; the operations exist because callers bracket their work with them.
#include "kelto/operations.h"

extern "C" {

int32_t KeltoRuntimeStartup(void) {
    return 0;
}

int32_t KeltoRuntimeShutdown(void) {
    return 0;
}

int32_t KeltoRuntimeThreadAttach(void) {
    return 0;
}

int32_t KeltoRuntimeThreadDetach(void) {
    return 0;
}

} // extern "C"
