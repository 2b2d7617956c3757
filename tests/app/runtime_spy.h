// A spy in front of the bound runtime library: every operation of g_kelto is
// counted on its way to the library, so that tests can tell what ran, what is
// still running, and whether anything reached the runtime after its shutdown.
#pragma once

#include "transport/runtime.h"

#include <functional>
#include <string>

enum class RuntimeOp {
    Startup,
    Shutdown,
    ThreadAttach,
    ThreadDetach,
    Init,
    Term,
    Open,
    Bind,
    SetAbortCheck,
    SetParam,
    GetFlags,
    MapAddr,
    Fill,
    SetMode,
    Connect,
    Wait,
    RcvConnect,
    SndRel,
    Close,
    ErrInfo,
    ErrText,
    Count
};

// Binds the library at path into g_kelto and puts the spy in front of each
// operation; clears the counts. False when the library cannot be bound.
bool InstallRuntimeSpy(const std::string& path);

// Calls of op that have begun.
int SpyCalls(RuntimeOp op);
// Calls of op that have begun and not yet returned.
int SpyInFlight(RuntimeOp op);
// Calls of any operation that began after the first RuntimeShutdown.
int SpyCallsAfterShutdown();

// Runs on the thread that calls the runtime's shutdown, before the library
// sees it. Empty: nothing.
void SetSpyShutdownHook(std::function<void()> hook);
