// The transport layer: the steps of a probe over the Kelto runtime. Free
// functions over process-wide state, called from the worker thread only.
#pragma once

#include "kelto/kelto.h"

#include <atomic>
#include <cstdint>
#include <string>

// Set while blocking transport operations must end early. Written by run
// control, read only by AbortCheckProc.
extern std::atomic<int32_t> g_bAbort;

extern uint32_t g_hTransport;
extern uint32_t g_nTransportContext;
extern kti_inaddr g_addrTarget;
extern kti_call g_callReply;
extern kti_inaddr g_addrPeer;

int32_t TransportInit();
int32_t TransportTerm();
int32_t TransportOpen();
int32_t TransportResolve(const char* host, uint16_t port);
int32_t TransportConnect();
int32_t TransportRelease();
int32_t TransportClose();
int32_t TransportErrorText(int32_t status, char* buffer, int32_t size);

int IsDottedText(const char* text);
uint32_t* GetTargetAddress(uint32_t* address);
void FormatAddress(uint32_t address, std::string& text);
int32_t AbortCheckProc(int32_t unused);
