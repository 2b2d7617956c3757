// Every operation the library hands out through kelto_ordinal. None of them is
// exported by name: the build hides every symbol but kelto_ordinal.
#pragma once

#include "kelto/kelto.h"

extern "C" {

int32_t KeltoRuntimeStartup(void);
int32_t KeltoRuntimeShutdown(void);
int32_t KeltoRuntimeThreadAttach(void);
int32_t KeltoRuntimeThreadDetach(void);

int32_t kti_init(uint32_t* context);
int32_t kti_term(void);
int32_t kti_open(const char* protocol, int32_t flags, kti_info* info, uint32_t* handle);
int32_t kti_bind(uint32_t handle, kti_call* request, kti_call* reply);
int32_t kti_SetAbortCheck(uint32_t handle, kti_abortcheck check);
int32_t kti_setparam(uint32_t handle, int32_t param, uint32_t* value);
int32_t kti_getflags(uint32_t handle, uint32_t* flags);
int32_t kti_mapaddr(uint32_t handle, int32_t kind, kti_buffer* name, kti_buffer* address,
                    void* reserved1, void* reserved2);
int32_t kti_fill(void* area, int32_t length, int32_t value);
int32_t kti_setmode(uint32_t handle, int32_t mode);
int32_t kti_connect(uint32_t handle, kti_call* request, kti_call* reply);
int32_t kti_wait(int32_t limit_ms, kti_waitrec* record, int32_t* ready);
int32_t kti_rcvconnect(uint32_t handle, kti_call* reply);
int32_t kti_sndrel(uint32_t handle);
int32_t kti_close(uint32_t handle);
int32_t kti_errinfo(uint32_t handle, kti_errrec* record);
int32_t kti_errtext(uint32_t handle, kti_errrec* record, uint16_t size, char* buffer);

} // extern "C"
