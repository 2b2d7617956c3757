// Helpers for driving the runtime library through the binding, on loopback.
#pragma once

#include "transport/runtime.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

// A file of this build's bin directory (KC_BIN_DIR, else beside the test).
std::string BinFile(const char* name);

// The abort check given to every endpoint the helpers open.
extern std::atomic<int32_t> g_nTestAbort;
int32_t TestAbortCheck(int32_t);

kti_inaddr LoopbackAddress(uint16_t port);
// A listening socket on 127.0.0.1 with a port of its own; -1 on failure.
int ListenOnLoopback(int backlog, uint16_t& port);
// A port on 127.0.0.1 with no listener.
uint16_t UnusedLoopbackPort();
// Connects to the listener (which must not accept) until its accept queue is
// full and a connect stays pending; the connecting sockets, to close later.
std::vector<int> FillAcceptQueue(uint16_t port);
int OpenFdCount();

// Opens and binds a TCP endpoint with TestAbortCheck; 0 on failure.
uint32_t OpenEndpoint();
// Connects the way the transport layer does: connect, wait while pending,
// confirm. The first failing status, or 0.
int32_t ConnectEndpoint(uint32_t handle, const kti_inaddr& to);
// The runtime's text for a status, through a roomy buffer.
std::string ErrorText(int32_t status);
// kti_mapaddr with the name in a buffer of exactly its length (no NUL after
// it), as the transport layer describes it.
int32_t MapName(uint32_t handle, int32_t kind, const std::string& name, kti_inaddr& address);
