// The worker thread's entry.
#pragma once

#include "framework/afx_types.h"

// The stack the worker is started with.
constexpr unsigned PROBE_THREAD_STACK = 31900;

// Runs one probe for the dialog (a CProbeDialog*): marks it busy, swaps
// Connect and Stop, attaches to the runtime, runs, and undoes it all; posts
// WM_SAVEANDCLOSE when a quit was asked for meanwhile. 0 after a run, 1 when
// the thread could not be attached to the runtime.
UINT ProbeThreadProc(void* dialog);
