#include "framework/qt/main_thread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

bool AfxIsMainThread() {
    QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

std::shared_ptr<AfxCallScope> AfxCallScope::Create(bool open) {
    return std::shared_ptr<AfxCallScope>(new AfxCallScope(open));
}

void AfxCallScope::Open() {
    std::lock_guard lock(m_mutex);
    m_bOpen = true;
}

void AfxCallScope::Close() {
    {
        std::lock_guard lock(m_mutex);
        m_bOpen = false;
    }
    m_done.notify_all();
}

bool AfxCallScope::IsOpen() {
    std::lock_guard lock(m_mutex);
    return m_bOpen;
}

bool AfxCallScope::Call(std::function<void()> fn) {
    auto self = shared_from_this();
    auto request = std::make_shared<Request>();
    std::unique_lock lock(m_mutex);
    // The application object lives while any scope is open: the main thread
    // closes every scope before it destroys the application.
    if (!m_bOpen || !QCoreApplication::instance())
        return false;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [self, request, fn = std::move(fn)] {
            {
                std::lock_guard guard(self->m_mutex);
                if (!self->m_bOpen || request->abandoned)
                    return;
            }
            fn();
            {
                std::lock_guard guard(self->m_mutex);
                request->done = true;
            }
            self->m_done.notify_all();
        },
        Qt::QueuedConnection);
    m_done.wait(lock, [&] { return request->done || !m_bOpen; });
    // A scope may open again later (the service scope does); a request given
    // up now must not run then.
    request->abandoned = !request->done;
    return request->done;
}

bool AfxCallScope::Post(std::function<void()> fn) {
    auto self = shared_from_this();
    std::lock_guard lock(m_mutex);
    if (!m_bOpen || !QCoreApplication::instance())
        return false;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [self, fn = std::move(fn)] {
            if (self->IsOpen())
                fn();
        },
        Qt::QueuedConnection);
    return true;
}

namespace {

struct ServiceState {
    std::shared_ptr<AfxCallScope> scope = AfxCallScope::Create(false);
    int loops = 0; // main thread only
    bool ended = false;
};

// Never destroyed: a detached worker may still ask for it while the process
// ends.
ServiceState& Service() {
    static ServiceState* state = new ServiceState;
    return *state;
}

} // namespace

AfxCallScope& AfxServiceScope() {
    return *Service().scope;
}

void AfxEnterModalLoop() {
    ServiceState& state = Service();
    if (++state.loops == 1 && !state.ended)
        state.scope->Open();
}

void AfxLeaveModalLoop() {
    ServiceState& state = Service();
    if (--state.loops == 0)
        state.scope->Close();
}

void AfxEndMainThreadService() {
    ServiceState& state = Service();
    state.ended = true;
    state.scope->Close();
}
