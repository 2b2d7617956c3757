// Worker threads.
#pragma once

#include "framework/afx_types.h"

#include <pthread.h>

typedef UINT (*AFX_THREADPROC)(void* param);

enum : int {
    THREAD_PRIORITY_NORMAL = 0,
};

// A running worker. The object belongs to whoever started the thread;
// destroying it waits for the thread to end unless Detach was called.
class CWinThread {
public:
    ~CWinThread();
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    // Waits up to timeoutMs (negative: for ever); true once the thread ended.
    bool Wait(int timeoutMs = -1);
    // Lets the thread run on by itself; the object no longer waits for it.
    void Detach();
    // The procedure's result, valid once Wait returned true.
    UINT GetExitCode() const { return m_nExitCode; }

private:
    friend CWinThread* AfxBeginThread(AFX_THREADPROC, void*, int, unsigned);
    CWinThread(AFX_THREADPROC proc, void* param) : m_pfnProc(proc), m_pParam(param) {}
    static void* Start(void* self);

    AFX_THREADPROC m_pfnProc;
    void* m_pParam;
    pthread_t m_thread{};
    bool m_bJoinable = false;
    UINT m_nExitCode = 0;
};

// Starts proc(param) at once on a thread with the given stack size in bytes
// (raised to the platform's minimum where that is larger). Null when the
// thread cannot be created.
CWinThread* AfxBeginThread(AFX_THREADPROC proc, void* param,
                           int priority = THREAD_PRIORITY_NORMAL, unsigned stackSize = 0);
