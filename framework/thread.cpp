#include "framework/thread.h"

#include <cerrno>
#include <climits>
#include <ctime>
#include <unistd.h>

namespace {

// Sanitizers make every frame several times larger; a stack sized for the
// plain build would overflow under them.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr size_t kStackScale = 8;
#else
constexpr size_t kStackScale = 1;
#endif

size_t PlatformMinimumStack() {
    const long minimum = sysconf(_SC_THREAD_STACK_MIN);
    return minimum > 0 ? size_t(minimum) : size_t(PTHREAD_STACK_MIN);
}

} // namespace

void* CWinThread::Start(void* self) {
    auto* thread = static_cast<CWinThread*>(self);
    thread->m_nExitCode = thread->m_pfnProc(thread->m_pParam);
    return nullptr;
}

CWinThread::~CWinThread() {
    if (m_bJoinable)
        Wait();
}

bool CWinThread::Wait(int timeoutMs) {
    if (!m_bJoinable)
        return true;
    if (timeoutMs < 0) {
        pthread_join(m_thread, nullptr);
    } else {
        timespec deadline{};
        clock_gettime(CLOCK_REALTIME, &deadline);
        deadline.tv_sec += timeoutMs / 1000;
        deadline.tv_nsec += long(timeoutMs % 1000) * 1000000L;
        if (deadline.tv_nsec >= 1000000000L) {
            deadline.tv_sec += 1;
            deadline.tv_nsec -= 1000000000L;
        }
        if (pthread_timedjoin_np(m_thread, nullptr, &deadline) != 0)
            return false;
    }
    m_bJoinable = false;
    return true;
}

void CWinThread::Detach() {
    if (m_bJoinable)
        pthread_detach(m_thread);
    m_bJoinable = false;
}

CWinThread* AfxBeginThread(AFX_THREADPROC proc, void* param, int /*priority*/,
                           unsigned stackSize) {
    auto* thread = new CWinThread(proc, param);
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    size_t size = size_t(stackSize) * kStackScale;
    if (size < PlatformMinimumStack())
        size = PlatformMinimumStack();
    pthread_attr_setstacksize(&attr, size);
    int rc = pthread_create(&thread->m_thread, &attr, &CWinThread::Start, thread);
    if (rc == EINVAL) {
        // The C library also keeps its thread-local storage on this stack;
        // where that does not fit, fall back to its default size.
        pthread_attr_destroy(&attr);
        pthread_attr_init(&attr);
        rc = pthread_create(&thread->m_thread, &attr, &CWinThread::Start, thread);
    }
    pthread_attr_destroy(&attr);
    if (rc != 0) {
        delete thread;
        return nullptr;
    }
    thread->m_bJoinable = true;
    return thread;
}
